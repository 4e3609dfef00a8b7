// Keeps Wine's desktop alive for a whole test run.
//
// The first process of a session that makes a window starts the desktop
// process, which inherits that process's output; a desktop started by a
// test program holds CTest's pipe of that test open until every window of
// the session is gone, so CTest waits for the test long after it ended.
// Run once before the tests with its output detached: it starts a holder
// (this program with "/hold") that makes the desktop and then lives until
// the Wine server ends, and returns once the desktop is up.
#include <windows.h>

#include <cstring>

#include "win32/owners.h"

namespace {

constexpr char kReady[] = "ZvDesktopKeeperReady";
constexpr char kRunning[] = "ZvDesktopKeeperRunning";

int hold() {
  zv::UniqueKernelHandle running(CreateMutexA(nullptr, FALSE, kRunning));
  if (!running || GetLastError() == ERROR_ALREADY_EXISTS) return 0;  // one holder a session
  GetDesktopWindow();  // starts the desktop process
  zv::UniqueWindow window(CreateWindowExA(0, "STATIC", "desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                          GetModuleHandleA(nullptr), nullptr));
  zv::UniqueKernelHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, kReady));
  if (ready) SetEvent(ready.get());
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "/hold") == 0) return hold();
  zv::UniqueKernelHandle ready(CreateEventA(nullptr, TRUE, FALSE, kReady));
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  char command[MAX_PATH + 16];
  wsprintfA(command, "\"%s\" /hold", exe);
  STARTUPINFOA start = {};
  start.cb = sizeof(start);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr, &start,
                      &process))
    return 1;
  // Either the holder made the desktop, or another holder already runs.
  zv::UniqueKernelHandle holder(process.hProcess);
  zv::UniqueKernelHandle holderThread(process.hThread);
  HANDLE waits[2] = {ready.get(), holder.get()};
  DWORD which = WaitForMultipleObjects(2, waits, FALSE, 30000);
  return which == WAIT_OBJECT_0 || which == WAIT_OBJECT_0 + 1 ? 0 : 1;
}
