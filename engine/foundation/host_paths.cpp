#include "foundation/host_paths.h"

#include <windows.h>

#include "foundation/text_util.h"

namespace zv {

std::string baseDirectoryOf(std::string_view exePath) {
  std::string dir = directoryPart(exePath);
  if (!dir.empty() && !(dir.size() >= 2 && dir[dir.size() - 2] == '\\')) dir.pop_back();
  // The system's lower case, so that letters of the active code page fold
  // the same way everywhere (CharLowerBuff knows double-byte characters).
  if (!dir.empty()) CharLowerBuffA(dir.data(), static_cast<DWORD>(dir.size()));
  if (dir.size() >= 4 && dir.compare(dir.size() - 4, 4, "\\bin") == 0) dir.resize(dir.size() - 4);
  return dir;
}

std::string hostExecutablePath() {
  char path[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  return std::string(path, n);
}

}  // namespace zv
