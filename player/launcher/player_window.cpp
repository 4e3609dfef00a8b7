#include "player_window.h"

#include "startup/hand_over.h"
#include "startup/single_instance.h"
#include "win32/owners.h"

namespace zv {

HWND findPlayerWindow() { return FindWindowA(kMainWindowClass, nullptr); }

bool playerIsRunning() {
  UniqueKernelHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, kInstanceMutexName));
  return static_cast<bool>(mutex);
}

HWND waitForPlayerWindow(DWORD ms, HANDLE stopOn) {
  // No message tells another process that a window of some class appeared,
  // so look a few times a second; the wait on `stopOn` doubles as the pause.
  constexpr DWORD kLookEvery = 50;
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    if (HWND window = findPlayerWindow()) return window;
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return nullptr;
    DWORD pause = static_cast<DWORD>(deadline - now < kLookEvery ? deadline - now : kLookEvery);
    if (stopOn) {
      if (WaitForSingleObject(stopOn, pause) == WAIT_OBJECT_0) return findPlayerWindow();
    } else {
      Sleep(pause);
    }
  }
}

}  // namespace zv
