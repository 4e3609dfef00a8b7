// The engine's own module handle: the instance of its hidden windows and the
// module handed to plug-ins in their init block.
#pragma once
#include <windows.h>

namespace zv {

// Set once by the load sequence, before any unit starts.
void setEngineModule(HMODULE self);

HMODULE engineModule();

}  // namespace zv
