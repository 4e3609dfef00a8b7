// Finding the running player: its window of class "ZVWindow", and whether a
// copy is still starting (its mutex exists, its window not yet).
#pragma once
#include <windows.h>

namespace zv {

HWND findPlayerWindow();

// True while some copy of the player holds its instance mutex.
bool playerIsRunning();

// Waits up to `ms` for the player's window; returns early (null) when
// `stopOn` (a process handle, or null) is signalled first and no window came.
HWND waitForPlayerWindow(DWORD ms, HANDLE stopOn = nullptr);

}  // namespace zv
