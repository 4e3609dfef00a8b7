#include "foundation/diagnostics.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>
#include <mutex>
#include <typeinfo>

#include "win32/owners.h"

namespace zv {
namespace {

std::mutex g_consoleLock;
HANDLE g_console = nullptr;

// The console is opened on the first line, so a player that writes nothing
// never shows one. A process whose output already goes somewhere (a console,
// or a file or pipe it was started with) writes there instead.
HANDLE consoleHandle() {
  if (g_console) return g_console;
  HANDLE h = GetStdHandle(STD_OUTPUT_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) {
    AllocConsole();
    h = GetStdHandle(STD_OUTPUT_HANDLE);
  }
  if (h == nullptr || h == INVALID_HANDLE_VALUE)
    h = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                    nullptr);
  g_console = (h == INVALID_HANDLE_VALUE) ? nullptr : h;
  return g_console;
}

// With ZVENGINE_LOG naming a file, every line is appended to it as well: a
// record that outlives the console, and what tests read.
void appendToLogFile(const char* text) {
  char path[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("ZVENGINE_LOG", path, sizeof(path));
  if (n == 0 || n >= sizeof(path)) return;
  std::lock_guard<std::mutex> hold(g_consoleLock);
  UniqueFile f(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return;
  DWORD written = 0;
  WriteFile(f.get(), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
  WriteFile(f.get(), "\r\n", 2, &written, nullptr);
}

}  // namespace

void debugWriteLine(const char* text) {
  if (!text) text = "";
  {
    std::lock_guard<std::mutex> hold(g_consoleLock);
    if (HANDLE h = consoleHandle()) {
      DWORD written = 0;
      WriteFile(h, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
      WriteFile(h, "\r\n", 2, &written, nullptr);
    }
  }
  OutputDebugStringA(text);
  OutputDebugStringA("\n");
  appendToLogFile(text);
}

void debugWriteLinef(const char* format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof(line), format, args);
  va_end(args);
  debugWriteLine(line);
}

void writeExceptionDiagnostic(const char* operation, const char* className, const char* message) {
  debugWriteLinef("%s: %s [%s]", operation ? operation : "", className ? className : "", message ? message : "");
}

void writeWindowException(const char* className, const char* what) {
  const char* type = "unknown";
  if (std::current_exception()) {
    try {
      throw;
    } catch (const std::exception& e) {
      type = typeid(e).name();
    } catch (...) {
    }
  }
  writeExceptionDiagnostic(className, type, what);
}

}  // namespace zv
