// <root>\zorvak.exe: the program that the shell verbs and the wake timer
// start. It hands its items to the running player or starts the player.
#include <windows.h>

#include "launch.h"
#include "startup/cmd_switches.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    return zv::runLauncher(zv::processArguments(), GetCommandLineA());
  } catch (...) {
    return zv::launchFailed;
  }
}
