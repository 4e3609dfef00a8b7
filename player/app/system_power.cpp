#include "system_power.h"

#include <windows.h>

#include "win32/owners.h"
#include "zv_config.h"

namespace zv {
namespace {

// Enables "SeShutdownPrivilege" in the process token; false when the
// token does not hold it.
bool enableShutdownPrivilege() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return false;
  UniqueKernelHandle token(raw);
  TOKEN_PRIVILEGES privileges{};
  if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return false;
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr)) return false;
  return GetLastError() != ERROR_NOT_ALL_ASSIGNED;
}

template <class Fn>
Fn ntdllExport(const char* name) {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(ntdll, name))) : nullptr;
}

}  // namespace

bool SystemPower::canEnableShutdownPrivilege() { return enableShutdownPrivilege(); }

bool SystemPower::isNt5OrLater() { return isWin2K() != 0; }

// The power capabilities (information class 4, 76 bytes): the ninth byte
// tells whether a hibernation file is there.
bool SystemPower::hibernationFilePresent() {
  using QueryFn = LONG(WINAPI*)(int, void*, ULONG, void*, ULONG);
  auto query = ntdllExport<QueryFn>("NtPowerInformation");
  unsigned char capabilities[76] = {};
  if (!query || query(4, nullptr, 0, capabilities, sizeof(capabilities)) != 0) return false;
  return capabilities[8] != 0;
}

void SystemPower::standby() {
  enableShutdownPrivilege();
  SetSystemPowerState(TRUE, FALSE);
}

void SystemPower::hibernate() {
  using ActionFn = LONG(WINAPI*)(int, int, ULONG, BOOLEAN);
  enableShutdownPrivilege();
  if (auto action = ntdllExport<ActionFn>("NtInitiatePowerAction")) action(3, 2, 3, TRUE);
}

void SystemPower::shutdown() {
  enableShutdownPrivilege();
  ExitWindowsEx(EWX_SHUTDOWN, 0);
}

}  // namespace zv
