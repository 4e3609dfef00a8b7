#include "commands/command_trace.h"

#include <windows.h>

#include "win32/owners.h"

namespace zv {
namespace {

const std::string& tracePath() {
  static const std::string path = [] {
    char buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("ZORVAK_COMMAND_TRACE", buffer, sizeof(buffer));
    return n > 0 && n < sizeof(buffer) ? std::string(buffer, n) : std::string();
  }();
  return path;
}

}  // namespace

void traceCommand(const std::string& text, int32_t source) {
  const std::string& path = tracePath();
  if (path.empty()) return;
  UniqueFile f(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return;
  const std::string line = std::to_string(source) + " " + text + "\r\n";
  DWORD written = 0;
  WriteFile(f.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace zv
