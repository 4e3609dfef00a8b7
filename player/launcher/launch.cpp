#include "launch.h"

#include "player_window.h"
#include "startup/cmd_switches.h"
#include "startup/hand_over.h"
#include "win32/owners.h"

namespace zv {

namespace {

// Launchers started together (Explorer runs one per selected file) take
// turns: the first starts the player and keeps its turn until the player's
// window exists, so the others hand over instead of starting copies that
// would end with 255 and drop their items.
constexpr char kLauncherTurnMutex[] = "Zorvak_launcher_mutex";

class LauncherTurn {
 public:
  LauncherTurn() : mutex_(CreateMutexA(nullptr, FALSE, kLauncherTurnMutex)) {
    if (!mutex_) return;
    DWORD r = WaitForSingleObject(mutex_.get(), kPlayerStartWaitMs);
    held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;  // a launcher that died still passed its turn
  }
  ~LauncherTurn() {
    if (held_) ReleaseMutex(mutex_.get());
  }
  LauncherTurn(const LauncherTurn&) = delete;
  LauncherTurn& operator=(const LauncherTurn&) = delete;

 private:
  UniqueKernelHandle mutex_;
  bool held_ = false;
};

int handOver(HWND player, const CmdSwitches& switches) {
  if (switches.items().empty()) return launchDone;  // nothing to open: the player runs already
  std::vector<std::string> items;
  for (const std::string& item : switches.items()) items.push_back(itemForPlayer(item));
  for (const HandOverBlock& block : handOverForItems(items, switches.openMode()))
    if (!sendHandOver(player, nullptr, block)) return launchFailed;
  return launchDone;
}

std::string ownPath() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::string(path, n) : std::string();
}

int startPlayer(const std::string& commandLineArgs) {
  const std::string player = playerPathBeside(ownPath());
  std::string commandLine = "\"" + player + "\"";
  if (!commandLineArgs.empty()) commandLine += " " + commandLineArgs;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(player.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started))
    return launchFailed;
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle thread(started.hThread);
  // Keep the turn until the new player can take hand-overs (or has ended).
  waitForPlayerWindow(kPlayerStartWaitMs, process.get());
  return launchDone;
}

}  // namespace

std::string itemForPlayer(const std::string& item) {
  if (GetFileAttributesA(item.c_str()) == INVALID_FILE_ATTRIBUTES) return item;
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(item.c_str(), MAX_PATH, full, nullptr);
  return n > 0 && n < MAX_PATH ? std::string(full, n) : item;
}

std::string argumentsOf(const char* commandLine) {
  if (!commandLine) return {};
  const char* p = commandLine;
  // The program name ends at its closing quote, or unquoted at the first
  // blank, as the C runtime splits it.
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') ++p;
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

std::string playerPathBeside(const std::string& launcherPath) {
  size_t slash = launcherPath.find_last_of("\\/");
  std::string folder = slash == std::string::npos ? std::string(".") : launcherPath.substr(0, slash);
  return folder + "\\bin\\zorvak.exe";
}

int runLauncher(const std::vector<std::string>& args, const char* commandLine) {
  CmdSwitches switches(args);
  LauncherTurn turn;
  HWND player = findPlayerWindow();
  if (!player && playerIsRunning()) {
    player = waitForPlayerWindow(kPlayerStartWaitMs);
    if (!player) return launchNoWindow;  // a second copy would only end with 255
  }
  if (player) return handOver(player, switches);
  return startPlayer(argumentsOf(commandLine));
}

}  // namespace zv
