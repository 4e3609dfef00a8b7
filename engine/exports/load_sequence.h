// The engine's load sequence: every unit's start-up in a fixed order, and the
// matching clean-ups in reverse at unload. It is the one place that knows
// every folder, so it also connects the few calls that run against the
// folders' direction (see the start functions in load_sequence.cpp).
#pragma once
#include <windows.h>

namespace zv {

// Called once from DllMain on process attach; returns false if a unit that
// the engine cannot live without failed (the DLL load then fails).
bool engineLoad(HMODULE self);

// Called once from DllMain on process detach, after a successful engineLoad.
// processExit is true when the whole process is ending (threads are gone).
void engineUnload(bool processExit);

}  // namespace zv
