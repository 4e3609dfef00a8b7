// Writing a tagged file without ever putting its audio at risk: the new file
// is built beside the original, read back and compared, checked by the
// caller, and only then moved over the original.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "file_layout.h"
#include "zvid3.h"

namespace zvid3 {

enum class WriteStatus { ok, nothingToDo, inUse, ioError, badFile, tagless };

// The new file: head, then original[from, to), then tail.
struct RewritePlan {
  std::string head;
  int64_t from = 0;
  int64_t to = 0;
  std::string tail;
};

// Decides the new file from the original's layout; any status other than ok
// ends the write with it, before anything is written.
using Planner = std::function<WriteStatus(const FileLayout& layout, RewritePlan& plan)>;
// Checks the finished temporary file (opened by name, e.g. through TagLib).
using Checker = std::function<bool(const std::wstring& tempPath)>;

// Reports copy progress to an optional callback as stage 1 percentages.
struct ProgressSink {
  ZvId3Progress callback = nullptr;
  void report(int stage, const std::string& text, int value) const {
    if (callback) callback(stage, text.c_str(), value);
  }
};

// Rewrites `path`. inUse: another program has the file open; ioError: it
// is missing, read-only or cannot be written; badFile: the copy did not
// verify. Whatever the outcome, no temporary file is left behind.
WriteStatus rewriteFile(const std::wstring& path, const Planner& plan, const Checker& check,
                        const ProgressSink& progress);

// The temporary files use this suffix (tests look for leftovers).
inline constexpr wchar_t kTempSuffix[] = L".zvid3tmp";

}  // namespace zvid3
