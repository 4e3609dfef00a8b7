// Versions of the shell libraries and optional system entry points, probed
// once at load. The engine only keeps the table; the player calls through it.
#pragma once
#include <windows.h>

namespace zv {

struct OptionalEntryPoints {
  FARPROC alphaBlend, transparentBlt, gradientFill;      // msimg32 (or img32sw)
  FARPROC animateWindow, setLayeredWindowAttributes;     // user32
  FARPROC openProcessToken, lookupPrivilegeValueA, adjustTokenPrivileges;  // advapi32
  FARPROC ntPowerInformation, ntInitiatePowerAction;     // ntdll
};

const OptionalEntryPoints& optionalEntryPoints();

// True on the NT platform family (platform id 2).
bool isNtPlatform();

bool startSystemProbes();
void stopSystemProbes(bool processExit);

}  // namespace zv
