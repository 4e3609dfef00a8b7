#include "foundation/file_replace.h"

#include <windows.h>

#include "win32/owners.h"

namespace zv {

std::string replacementTempName(const std::string& path) { return path + ".tmp"; }

namespace {

bool writeBytes(HANDLE file, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, p, chunk, &written, nullptr) || written == 0) return false;
    p += written;
    size -= written;
  }
  return true;
}

bool writeWhole(const std::string& path, const std::function<bool(HANDLE)>& write) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  if (!write(file.get())) return false;
  // The content must be on disk before the name points at it.
  return FlushFileBuffers(file.get()) != 0;
}

}  // namespace

bool replaceFileContent(const std::string& path, const void* data, size_t size) {
  return replaceFileWith(path, [&](HANDLE file) { return writeBytes(file, data, size); });
}

bool replaceFileWith(const std::string& path, const std::function<bool(HANDLE)>& write) {
  std::string temp = replacementTempName(path);
  bool written = false;
  try {
    written = writeWhole(temp, write);
  } catch (...) {
    // The temporary file must not outlive a writer that gave up half-way.
    DeleteFileA(temp.c_str());
    throw;
  }
  if (!written) {
    DeleteFileA(temp.c_str());
    return false;
  }
  // A read-only record is still the user's own: clear the flag so that the
  // move may replace it, and put it back if the move fails after all.
  DWORD attributes = GetFileAttributesA(path.c_str());
  bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                  (attributes & FILE_ATTRIBUTE_READONLY);
  if (readOnly) SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  // The move is one atomic rename: a process killed at any moment leaves the
  // old file or the new one. It refuses a target that another thread holds
  // open, even one that shares deletion (a reader of ours); only then is the
  // existing file replaced with ReplaceFile, which is not atomic everywhere
  // (under Wine a kill inside it can leave the file empty) but keeps the save.
  if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  const bool existingFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (existingFile &&
      ReplaceFileA(path.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  if (readOnly) SetFileAttributesA(path.c_str(), attributes);
  DeleteFileA(temp.c_str());
  return false;
}

}  // namespace zv
