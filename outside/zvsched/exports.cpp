// The two exports: arguments checked here, the scheduler reached through
// scheduled_start. Nothing thrown crosses the boundary.
#include <windows.h>

#include <string>

#include "scheduled_start.h"
#include "start_moment.h"
#include "win32/owners.h"
#include "zvsched.h"

namespace {

// The program path in UTF-16, or empty for a path the scheduler could not
// start: missing, empty, too long, not in the code page, or holding a quote
// (the action's path is one file, never a command line).
std::wstring programPath(const char* program) {
  if (!program) return {};
  size_t length = strnlen(program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  if (std::string(program, length).find('"') != std::string::npos) return {};
  wchar_t wide[MAX_PATH];
  int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, program, static_cast<int>(length), wide, MAX_PATH - 1);
  if (n <= 0) return {};
  return std::wstring(wide, static_cast<size_t>(n));
}

}  // namespace

extern "C" BOOL WINAPI add(const char* date, const char* time, const char* program) {
  try {
    auto moment = zv::parseStartMoment(date, time);
    std::wstring path = programPath(program);
    if (!moment || path.empty()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    zv::ComApartment com;
    HRESULT hr = zv::registerScheduledStart(*moment, path);
    SetLastError(static_cast<DWORD>(hr));
    return SUCCEEDED(hr);
  } catch (...) {
    return FALSE;
  }
}

extern "C" BOOL WINAPI del(void) {
  try {
    zv::ComApartment com;
    HRESULT hr = zv::removeScheduledStart();
    SetLastError(static_cast<DWORD>(hr));
    return SUCCEEDED(hr);
  } catch (...) {
    return FALSE;
  }
}
