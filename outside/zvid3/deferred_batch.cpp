#include "deferred_batch.h"

#include <mutex>
#include <vector>

#include "ansi_text.h"
#include "id3v2_taglib.h"

namespace zvid3 {
namespace {

struct PendingSave {
  std::wstring path;
  std::unique_ptr<TagData> tag;
};

std::mutex pendingLock;
std::vector<PendingSave> pending;

std::wstring fileName(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Stage 0 on construction, stage 2 however the save ends.
class ProgressScope {
 public:
  ProgressScope(const ProgressSink& sink, const std::string& title) : sink_(sink) { sink_.report(0, title, 0); }
  ~ProgressScope() { sink_.report(2, "", 100); }

 private:
  const ProgressSink& sink_;
};

}  // namespace

WriteStatus saveTagNow(const TagData& tag, const std::wstring& path, const ProgressSink& progress) {
  ProgressScope scope(progress, "Saving ID3v2 tag: " + toAnsi(fileName(path)));
  const std::string rendered = renderTag(tag);
  auto plan = [&](const FileLayout& layout, RewritePlan& job) {
    // A tag claiming more bytes than the file has: where the audio starts
    // is unknown, so nothing is rewritten.
    if (layout.id3v2Broken) return WriteStatus::badFile;
    if (rendered.empty() && layout.id3v2End == 0) return WriteStatus::nothingToDo;
    job.head = rendered;
    job.from = layout.id3v2End;
    job.to = layout.size;
    return WriteStatus::ok;
  };
  auto check = [&](const std::wstring& temp) { return tagReadsBack(temp, rendered.size()); };
  return rewriteFile(path, plan, check, progress);
}

void deferSave(const std::wstring& path, std::unique_ptr<TagData> tag) {
  std::lock_guard<std::mutex> hold(pendingLock);
  for (PendingSave& save : pending)
    if (_wcsicmp(save.path.c_str(), path.c_str()) == 0) {
      save.tag = std::move(tag);
      return;
    }
  pending.push_back({path, std::move(tag)});
}

int runDeferredSaves(const ProgressSink& progress) {
  std::vector<PendingSave> work;
  {
    std::lock_guard<std::mutex> hold(pendingLock);
    work.swap(pending);
  }
  std::vector<PendingSave> stillBusy;
  for (PendingSave& save : work)
    if (saveTagNow(*save.tag, save.path, progress) == WriteStatus::inUse) stillBusy.push_back(std::move(save));
  std::lock_guard<std::mutex> hold(pendingLock);
  // Saves queued meanwhile are newer than the ones that failed again.
  for (PendingSave& save : stillBusy) {
    bool newer = false;
    for (const PendingSave& queued : pending) newer = newer || _wcsicmp(queued.path.c_str(), save.path.c_str()) == 0;
    if (!newer) pending.push_back(std::move(save));
  }
  return static_cast<int>(pending.size());
}

}  // namespace zvid3
