// The thread of a `winampvis` instance: hosts one outside visualisation
// library at a time, feeding it the visualisation buffer on its own clock.
#pragma once
#include <windows.h>

namespace zv {

DWORD WINAPI winampVisInstanceThread(void* startArgument);

}  // namespace zv
