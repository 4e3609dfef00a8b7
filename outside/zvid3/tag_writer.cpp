#include "tag_writer.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "foundation/file_io.h"
#include "win32/owners.h"

namespace zvid3 {
namespace {

constexpr int64_t kChunk = 1 << 20;

bool seekTo(HANDLE file, int64_t at) {
  LARGE_INTEGER pos;
  pos.QuadPart = at;
  return SetFilePointerEx(file, pos, nullptr, FILE_BEGIN) != 0;
}

// The temporary files this process is writing now: any other one named
// with this process's id was left by an earlier process that had the same id.
std::mutex g_inFlightLock;
std::set<std::wstring> g_inFlight;

std::wstring lowered(std::wstring name) {
  if (!name.empty()) CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
  return name;
}

bool inFlight(const std::wstring& name) {
  std::lock_guard<std::mutex> lock(g_inFlightLock);
  return g_inFlight.count(lowered(name)) != 0;
}

// The temporary file, removed unless it was moved over the original.
class TempFile {
 public:
  explicit TempFile(std::wstring name) : name_(std::move(name)) {
    std::lock_guard<std::mutex> lock(g_inFlightLock);
    g_inFlight.insert(lowered(name_));
  }
  ~TempFile() {
    handle.reset();
    if (!kept_) DeleteFileW(name_.c_str());
    std::lock_guard<std::mutex> lock(g_inFlightLock);
    g_inFlight.erase(lowered(name_));
  }
  const std::wstring& name() const { return name_; }
  void keep() { kept_ = true; }
  zv::UniqueFile handle;

 private:
  std::wstring name_;
  bool kept_ = false;
};

std::wstring tempNameFor(const std::wstring& path) {
  static std::atomic<unsigned> counter{0};
  return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + kTempSuffix;
}

bool processRunning(DWORD pid) {
  zv::UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
  return process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

// Removes the temporary files of `path` that saves in processes no longer
// running left behind ("<name>.<pid>-<n>.zvid3tmp"): a save killed half-way
// cannot remove its own, and nothing else would.
void removeStaleTemps(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
  const std::wstring prefix = path.substr(folder.size()) + L".";
  WIN32_FIND_DATAW found;
  zv::UniqueFind find(FindFirstFileW((path + L".*" + kTempSuffix).c_str(), &found));
  if (!find) return;
  do {
    std::wstring name = found.cFileName;
    if (name.size() <= prefix.size() || _wcsnicmp(name.c_str(), prefix.c_str(), prefix.size()) != 0) continue;
    size_t end = prefix.size();
    DWORD pid = 0;
    while (end < name.size() && name[end] >= L'0' && name[end] <= L'9' && pid < 0x10000000)
      pid = pid * 10 + DWORD(name[end++] - L'0');
    if (end == prefix.size() || end >= name.size() || name[end] != L'-') continue;
    const std::wstring stale = folder + name;
    if (pid == GetCurrentProcessId() ? !inFlight(stale) : !processRunning(pid)) DeleteFileW(stale.c_str());
  } while (FindNextFileW(find.get(), &found));
}

WriteStatus openFailure() {
  DWORD error = GetLastError();
  return (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) ? WriteStatus::inUse
                                                                             : WriteStatus::ioError;
}

// Copies original[from, to) to the temp file's current position.
bool copyRange(HANDLE from, HANDLE to, int64_t begin, int64_t end, const ProgressSink& progress) {
  std::vector<char> buffer(static_cast<size_t>(kChunk));
  if (!seekTo(from, begin)) return false;
  int lastPercent = -1;
  for (int64_t at = begin; at < end;) {
    int64_t n = end - at < kChunk ? end - at : kChunk;
    if (!zv::readExact(from, buffer.data(), n) || !zv::writeAll(to, buffer.data(), n)) return false;
    at += n;
    int percent = static_cast<int>((at - begin) * 100 / (end - begin));
    if (percent != lastPercent) progress.report(1, "", percent);
    lastPercent = percent;
  }
  return true;
}

// Reads `size` bytes at `at` of `file` and compares them with `expected`.
bool sameBytes(HANDLE file, int64_t at, const std::string& expected) {
  if (expected.empty()) return true;
  std::string got(expected.size(), '\0');
  return seekTo(file, at) && zv::readExact(file, got.data(), got.size()) && got == expected;
}

// Compares original[begin, end) with the temp file from `at` on.
bool sameRange(HANDLE original, HANDLE temp, int64_t begin, int64_t end, int64_t at) {
  std::vector<char> a(static_cast<size_t>(kChunk)), b(static_cast<size_t>(kChunk));
  for (int64_t done = 0; begin + done < end;) {
    int64_t n = end - begin - done < kChunk ? end - begin - done : kChunk;
    if (!seekTo(original, begin + done) || !zv::readExact(original, a.data(), n)) return false;
    if (!seekTo(temp, at + done) || !zv::readExact(temp, b.data(), n)) return false;
    if (std::memcmp(a.data(), b.data(), static_cast<size_t>(n)) != 0) return false;
    done += n;
  }
  return true;
}

}  // namespace

WriteStatus rewriteFile(const std::wstring& path, const Planner& plan, const Checker& check,
                        const ProgressSink& progress) {
  if (taglessByName(path)) return WriteStatus::tagless;
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (attributes & FILE_ATTRIBUTE_READONLY))
    return WriteStatus::ioError;

  // No sharing: a player reading the file makes this fail (the write is
  // then deferred), and nobody can change the file while it is copied.
  zv::UniqueFile original(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!original) return openFailure();
  FileLayout layout;
  if (!readLayout(original.get(), layout)) return WriteStatus::ioError;
  if (layout.tagless) return WriteStatus::tagless;
  RewritePlan job;
  WriteStatus planned = plan(layout, job);
  if (planned != WriteStatus::ok) return planned;
  if (job.from < 0 || job.to < job.from || job.to > layout.size) return WriteStatus::badFile;

  removeStaleTemps(path);
  TempFile temp(tempNameFor(path));
  temp.handle.reset(CreateFileW(temp.name().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!temp.handle) return WriteStatus::ioError;
  HANDLE out = temp.handle.get();
  if (!zv::writeAll(out, job.head.data(), job.head.size()) ||
      !copyRange(original.get(), out, job.from, job.to, progress) ||
      !zv::writeAll(out, job.tail.data(), job.tail.size()) || !FlushFileBuffers(out))
    return WriteStatus::ioError;

  // Read everything back: a short write or a full disk shows here.
  int64_t bodyAt = static_cast<int64_t>(job.head.size());
  LARGE_INTEGER written;
  if (!GetFileSizeEx(out, &written) ||
      written.QuadPart != bodyAt + (job.to - job.from) + static_cast<int64_t>(job.tail.size()) ||
      !sameBytes(out, 0, job.head) || !sameRange(original.get(), out, job.from, job.to, bodyAt) ||
      !sameBytes(out, bodyAt + job.to - job.from, job.tail))
    return WriteStatus::badFile;

  FILETIME created, accessed, modified;
  if (GetFileTime(original.get(), &created, &accessed, &modified)) SetFileTime(out, &created, nullptr, nullptr);
  temp.handle.reset();
  if (check && !check(temp.name())) return WriteStatus::badFile;
  const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  if (kept) SetFileAttributesW(temp.name().c_str(), kept);

  original.reset();
  if (!MoveFileExW(temp.name().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return openFailure();
  temp.keep();
  return WriteStatus::ok;
}

}  // namespace zvid3
