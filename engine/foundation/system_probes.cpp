#include "foundation/system_probes.h"

#include <windows.h>

#include "win32/owners.h"
#include "zv_config.h"

namespace zv {
namespace {

int32_t g_shellVer, g_comctlVer, g_comdlgVer, g_shlwapiVer;
OSVERSIONINFOA g_os;
OptionalEntryPoints g_entries;

// Libraries held for the entry points above; released at unload.
UniqueModule g_held[6];
int g_heldCount;

// major*100 + minor of the file version's most significant 32 bits (4.72 -> 472).
int32_t libraryVersion(const char* file) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  if (size == 0) return 0;
  // Version blocks are a few KiB; a fixed buffer keeps this allocation-free
  // because the memory manager may not be up yet.
  static char block[16384];
  if (size > sizeof(block) || !GetFileVersionInfoA(file, 0, size, block)) return 0;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT len = 0;
  if (!VerQueryValueA(block, "\\", reinterpret_cast<void**>(&info), &len) || !info || len < sizeof(*info))
    return 0;
  return static_cast<int32_t>(HIWORD(info->dwFileVersionMS) * 100 + LOWORD(info->dwFileVersionMS));
}

HMODULE hold(const char* name) {
  HMODULE m = LoadLibraryA(name);
  if (m && g_heldCount < static_cast<int>(sizeof(g_held) / sizeof(g_held[0]))) g_held[g_heldCount++].reset(m);
  return m;
}

FARPROC entry(HMODULE m, const char* name) { return m ? GetProcAddress(m, name) : nullptr; }

}  // namespace

const OptionalEntryPoints& optionalEntryPoints() { return g_entries; }

bool isNtPlatform() { return g_os.dwPlatformId == VER_PLATFORM_WIN32_NT; }

bool startSystemProbes() {
  g_shellVer = libraryVersion("shell32.dll");
  g_comctlVer = libraryVersion("comctl32.dll");
  g_comdlgVer = libraryVersion("comdlg32.dll");
  g_shlwapiVer = libraryVersion("shlwapi.dll");

  g_os.dwOSVersionInfoSize = sizeof(g_os);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&g_os);
#pragma GCC diagnostic pop

  HMODULE msimg = hold("msimg32.dll");
  if (!msimg) msimg = hold("img32sw.dll");
  HMODULE user = hold("user32.dll");
  HMODULE advapi = hold("advapi32.dll");
  HMODULE ntdll = hold("ntdll.dll");
  hold("gdi32.dll");
  hold("shell32.dll");
  g_entries = {entry(msimg, "AlphaBlend"),        entry(msimg, "TransparentBlt"),
               entry(msimg, "GradientFill"),      entry(user, "AnimateWindow"),
               entry(user, "SetLayeredWindowAttributes"), entry(advapi, "OpenProcessToken"),
               entry(advapi, "LookupPrivilegeValueA"),    entry(advapi, "AdjustTokenPrivileges"),
               entry(ntdll, "NtPowerInformation"),         entry(ntdll, "NtInitiatePowerAction")};
  return true;
}

void stopSystemProbes(bool processExit) {
  g_entries = {};
  // At process exit the loader unloads everything itself; FreeLibrary from
  // DllMain then is pointless and not safe, so the handles are let go.
  while (g_heldCount > 0) {
    UniqueModule& held = g_held[--g_heldCount];
    if (processExit)
      held.release();
    else
      held.reset();
  }
}

}  // namespace zv

using zv::g_os;

ZVEXPORT int32_t ZVAPI shellVer(void) { return zv::g_shellVer; }
ZVEXPORT int32_t ZVAPI comctlVer(void) { return zv::g_comctlVer; }
ZVEXPORT int32_t ZVAPI comdlgVer(void) { return zv::g_comdlgVer; }
ZVEXPORT int32_t ZVAPI shlwapiVer(void) { return zv::g_shlwapiVer; }

ZVEXPORT ZvBool ZVAPI isWin98(void) {
  return (g_os.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && LOWORD(g_os.dwBuildNumber) > 1997) ? ZV_TRUE
                                                                                                : ZV_FALSE;
}

ZVEXPORT ZvBool ZVAPI isWin2K(void) {
  return (g_os.dwPlatformId == VER_PLATFORM_WIN32_NT && g_os.dwMajorVersion > 4) ? ZV_TRUE : ZV_FALSE;
}

ZVEXPORT ZvBool ZVAPI isWinXP(void) {
  bool newer = g_os.dwMajorVersion > 5 || (g_os.dwMajorVersion == 5 && g_os.dwMinorVersion > 0);
  return (g_os.dwPlatformId == VER_PLATFORM_WIN32_NT && newer) ? ZV_TRUE : ZV_FALSE;
}
