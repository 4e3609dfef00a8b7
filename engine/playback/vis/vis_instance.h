// The thread of a `vis` instance: draws the visualisation buffer into the
// player's window 30 times a second.
#pragma once
#include <windows.h>

namespace zv {

DWORD WINAPI visInstanceThread(void* startArgument);

}  // namespace zv
