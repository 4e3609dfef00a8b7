// What the launcher does with its command line: hand the items to the
// running player, or start the player (bin\zorvak.exe below the launcher's
// own folder) with the same arguments.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace zv {

// How long a launcher waits for a player that is still starting, and for its
// turn while other launchers decide.
constexpr DWORD kPlayerStartWaitMs = 10000;

// The launcher's exit codes.
enum LaunchResult : int {
  launchDone = 0,          // handed over, or the player started
  launchFailed = 1,        // the player's window refused the items, or it could not be started
  launchNoWindow = 2,      // a player was starting but never showed its window
};

// Items as the running player needs them: a relative path that names an
// existing file or folder made absolute (the player's working folder is not
// the launcher's); anything else (URLs, CD paths) unchanged.
std::string itemForPlayer(const std::string& item);

// The command line after the program's own name, exactly as given.
std::string argumentsOf(const char* commandLine);

// The player below a launcher at `launcherPath`: "<its folder>\bin\zorvak.exe".
std::string playerPathBeside(const std::string& launcherPath);

int runLauncher(const std::vector<std::string>& args, const char* commandLine);

}  // namespace zv
