// "/unreg": removes the shell registrations the settings wrote. The roots are
// passed in, so that tests run it under a private key of the real registry;
// the program passes the classes root and the local machine.
#pragma once
#include <windows.h>

#include <functional>

namespace zv {

struct ShellRoots {
  HKEY classes = HKEY_CLASSES_ROOT;   // file types, verbs, extensions
  HKEY machine = HKEY_LOCAL_MACHINE;  // "Software\...\App Paths\zorvak.exe"
};

// Deletes the file types and verbs, gives the audio CD verb its saved
// default back only while the verb is still ours, deletes App Paths, cleans
// every extension key (a default of ours becomes the kept "orgdef", or goes
// when none was kept; "orgdef" and keys left empty go), then calls
// `notifyShell` once (SHChangeNotify in the program).
void removeShellRegistrations(const ShellRoots& roots, const std::function<void()>& notifyShell);

}  // namespace zv
