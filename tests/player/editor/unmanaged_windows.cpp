// The editor tests make a window per test; on a bare X display Wine waits
// about 2 s for a window manager at every creation and destruction. As the
// toolkit's tests do, the first start writes Wine's per-program setting
// "Managed" = "N" for this program and runs itself again.
#include <windows.h>

#include <string>

#include "win32/owners.h"

namespace {

struct UnmanagedWindowsUnderWine {
  UnmanagedWindowsUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return;
    char exe[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    std::string file(exe, n);
    file = file.substr(file.find_last_of('\\') + 1);
    const std::string key = "Software\\Wine\\AppDefaults\\" + file + "\\X11 Driver";
    char value[8] = {};
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Managed", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS &&
        (value[0] == 'N' || value[0] == 'n'))
      return;
    if (GetEnvironmentVariableA("ZV_EDITOR_RESTARTED", value, sizeof(value))) return;
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
      return;
    zv::UniqueRegKey owner(h);
    if (RegSetValueExA(h, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2) != ERROR_SUCCESS) return;
    SetEnvironmentVariableA("ZV_EDITOR_RESTARTED", "1");
    STARTUPINFOA si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    std::string commandLine = GetCommandLineA();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return;
    zv::UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.get(), &code);
    ExitProcess(code);
  }
} g_unmanagedWindows;

}  // namespace
