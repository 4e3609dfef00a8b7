// The engine's load sequence: every unit's start-up in a fixed order, and the
// matching clean-ups in reverse at unload.
#pragma once
#include <windows.h>

namespace zv {

// Called once from DllMain on process attach; returns false if a unit that
// the engine cannot live without failed (the DLL load then fails).
bool engineLoad(HMODULE self);

// The engine's own module handle (for plug-in init blocks and resources).
HMODULE engineModule();

// Called once from DllMain on process detach, after a successful engineLoad.
// processExit is true when the whole process is ending (threads are gone).
void engineUnload(bool processExit);

}  // namespace zv
