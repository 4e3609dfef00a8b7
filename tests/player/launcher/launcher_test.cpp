// The launcher (<root>\zorvak.exe) as the shell starts it: a real process,
// a fake player window of the player's class in this test, the player's
// mutex held by this test, and a stand-in bin\zorvak.exe in a private root
// that records the arguments it was started with.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "launch.h"
#include "startup/hand_over.h"
#include "startup/single_instance.h"
#include "testkit.h"
#include "win32/owners.h"
#include "win32/window_base.h"

namespace {

// Takes hand-overs as the player's main window does and keeps them as
// "op:mode:text".
class FakePlayer : public zv::WindowBase {
 public:
  std::vector<std::string> received;
  bool open() { return create({zv::kMainWindowClass}, 0, "fake player", WS_POPUP, 0, 0, 10, 10); }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_COPYDATA) return passOn(message, wParam, lParam);
    if (auto h = zv::receiveHandOver(lParam))
      received.push_back(std::to_string(h->op) + ":" + std::to_string(h->argument) + ":" + h->text);
    return TRUE;
  }
};

// A private root: the launcher built beside the tests, and the stand-in as
// its bin\zorvak.exe.
struct TestRoot {
  std::string dir;
  explicit TestRoot(const std::string& name) : dir(zvtest::freshDir(name)) {
    CopyFileA((zvtest::rootDir() + "\\zorvak.exe").c_str(), launcher().c_str(), FALSE);
    CreateDirectoryA((dir + "\\bin").c_str(), nullptr);
    CopyFileA((zvtest::rootDir() + "\\bin\\zv_args_recorder.exe").c_str(), (dir + "\\bin\\zorvak.exe").c_str(), FALSE);
  }
  std::string launcher() const { return dir + "\\zorvak.exe"; }
  std::string recordedArgs() const { return dir + "\\bin\\args.txt"; }
  bool playerWasStarted() const { return GetFileAttributesA(recordedArgs().c_str()) != INVALID_FILE_ATTRIBUTES; }
};

zv::UniqueKernelHandle startLauncher(const TestRoot& root, const std::string& args) {
  std::string commandLine = "\"" + root.launcher() + "\" " + args;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(root.launcher().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      root.dir.c_str(), &startup, &started))
    return zv::UniqueKernelHandle();
  zv::UniqueKernelHandle thread(started.hThread);
  return zv::UniqueKernelHandle(started.hProcess);
}

// Answers this thread's messages (the launcher's sends among them) until the
// process ends; its exit code, or -1 when it did not end within `ms`.
int pumpUntilExit(HANDLE process, DWORD ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return -1;
    DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    if (r == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(process, &code);
      return static_cast<int>(code);
    }
    if (r != WAIT_OBJECT_0 + 1) return -1;
  }
}

std::string fileText(const std::string& path) {
  std::vector<uint8_t> bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

constexpr DWORD kLauncherDeadline = 30000;

class Launcher : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
    ASSERT_EQ(FindWindowA(zv::kMainWindowClass, nullptr), nullptr) << "a player window is already there";
  }
};

struct ModeCase {
  const char* switches;
  int mode;
};

TEST_F(Launcher, handsItsItemsToTheRunningPlayerInTheModeOfItsSwitches) {
  const ModeCase cases[] = {{"/enqueue /start /find", 7}, {"/Enqueue", 1}, {"", 0}};
  TestRoot root("handover");
  for (const ModeCase& c : cases) {
    FakePlayer player;
    ASSERT_TRUE(player.open());
    auto launcher = startLauncher(root, std::string(c.switches) + " \"C:\\Music\\a b.mp3\" http://radio/x.ogg");
    ASSERT_TRUE(launcher);
    EXPECT_EQ(pumpUntilExit(launcher.get(), kLauncherDeadline), zv::launchDone) << c.switches;
    const std::string m = std::to_string(c.mode);
    const std::vector<std::string> expected{"4660:" + m + ":", "4661:" + m + ":C:\\Music\\a b.mp3",
                                            "4661:" + m + ":http://radio/x.ogg", "4662:" + m + ":"};
    EXPECT_EQ(player.received, expected)
        << c.switches;
  }
  EXPECT_FALSE(root.playerWasStarted());
}

TEST_F(Launcher, aRelativeItemReachesThePlayerAsAFullPath) {
  TestRoot root("relative");
  ASSERT_TRUE(zvtest::writeFile(root.dir + "\\song.wav", "RIFF", 4));
  FakePlayer player;
  ASSERT_TRUE(player.open());
  auto launcher = startLauncher(root, "/enqueue song.wav");  // started in the root folder
  ASSERT_TRUE(launcher);
  EXPECT_EQ(pumpUntilExit(launcher.get(), kLauncherDeadline), zv::launchDone);
  ASSERT_EQ(player.received.size(), 3u);
  EXPECT_EQ(player.received[1], "4661:1:" + root.dir + "\\song.wav");
}

TEST_F(Launcher, waitsForAPlayerStillStartingAndDeliversWhenItsWindowAppears) {
  TestRoot root("late");
  zv::UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, zv::kInstanceMutexName));
  ASSERT_TRUE(mutex);
  auto launcher = startLauncher(root, "/enqueue C:\\late.mp3");
  ASSERT_TRUE(launcher);
  // Still there after a while: it neither gave up nor started a copy.
  ASSERT_EQ(WaitForSingleObject(launcher.get(), 1500), static_cast<DWORD>(WAIT_TIMEOUT));
  FakePlayer player;
  ASSERT_TRUE(player.open());
  EXPECT_EQ(pumpUntilExit(launcher.get(), kLauncherDeadline), zv::launchDone);
  EXPECT_EQ(player.received, (std::vector<std::string>{"4660:1:", "4661:1:C:\\late.mp3", "4662:1:"}));
  EXPECT_FALSE(root.playerWasStarted());
}

TEST_F(Launcher, givesUpAfterItsBoundedWaitWhenTheStartingPlayerNeverShowsAWindow) {
  TestRoot root("never");
  zv::UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, zv::kInstanceMutexName));
  ASSERT_TRUE(mutex);
  auto launcher = startLauncher(root, "C:\\never.mp3");
  ASSERT_TRUE(launcher);
  EXPECT_EQ(pumpUntilExit(launcher.get(), zv::kPlayerStartWaitMs + kLauncherDeadline), zv::launchNoWindow);
  EXPECT_FALSE(root.playerWasStarted());
}

TEST_F(Launcher, withoutAPlayerStartsBinZorvakWithTheSameArguments) {
  TestRoot root("start");
  auto launcher = startLauncher(root, "/enqueue /start \"C:\\a b\\c.mp3\" x.mp3");
  ASSERT_TRUE(launcher);
  EXPECT_EQ(pumpUntilExit(launcher.get(), kLauncherDeadline), zv::launchDone);
  ASSERT_TRUE(zvtest::waitFor([&] { return root.playerWasStarted(); }, 10000));
  EXPECT_EQ(fileText(root.recordedArgs()), "/enqueue\n/start\nC:\\a b\\c.mp3\nx.mp3\n");
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

TEST_F(Launcher, launchersStartedTogetherStartOnePlayerAndHandItTheRest) {
  TestRoot root("together");
  ASSERT_TRUE(zvtest::writeFile(root.dir + "\\bin\\act-as-player", "", 0));
  const std::vector<std::string> items{"C:\\one.mp3", "C:\\two.mp3", "C:\\three.mp3", "C:\\four.mp3"};
  std::vector<zv::UniqueKernelHandle> launchers;
  for (const std::string& item : items) {
    launchers.push_back(startLauncher(root, "/enqueue " + item));
    ASSERT_TRUE(launchers.back());
  }
  for (auto& launcher : launchers) EXPECT_EQ(pumpUntilExit(launcher.get(), kLauncherDeadline), zv::launchDone);

  HWND player = FindWindowA(zv::kMainWindowClass, nullptr);
  ASSERT_NE(player, nullptr) << "the stand-in player is not running";
  DWORD playerId = 0;
  GetWindowThreadProcessId(player, &playerId);
  zv::UniqueKernelHandle playerProcess(OpenProcess(SYNCHRONIZE, FALSE, playerId));
  PostMessageA(player, WM_CLOSE, 0, 0);  // before any check, so no failure leaves it running
  ASSERT_TRUE(playerProcess);
  EXPECT_EQ(WaitForSingleObject(playerProcess.get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));

  // One launcher started the player with its item; the others handed theirs over.
  std::vector<std::string> arrived = linesOf(fileText(root.recordedArgs()));
  ASSERT_EQ(arrived.size(), 2u);
  EXPECT_EQ(arrived[0], "/enqueue");
  arrived.erase(arrived.begin());
  for (const std::string& line : linesOf(fileText(root.dir + "\\bin\\received.txt"))) arrived.push_back(line);
  std::sort(arrived.begin(), arrived.end());
  std::vector<std::string> expected = items;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(arrived, expected);
  EXPECT_EQ(fileText(root.dir + "\\bin\\second-copies.txt"), "") << "a launcher started a second copy";
}

struct ArgsCase {
  const char* commandLine;
  const char* arguments;
};

TEST(LauncherCommandLine, theArgumentsAreWhatFollowsTheProgramName) {
  const ArgsCase cases[] = {
      {"\"C:\\Program Files\\Zorvak\\zorvak.exe\" /enqueue \"C:\\a b.mp3\"", "/enqueue \"C:\\a b.mp3\""},
      {"zorvak.exe  /play", "/play"},
      {"zorvak.exe", ""},
      {"\"C:\\z\\zorvak.exe\"", ""},
      {"\"C:\\z\\zorvak.exe\"\t\"x\"", "\"x\""},
      {"", ""},
  };
  for (const ArgsCase& c : cases) EXPECT_EQ(zv::argumentsOf(c.commandLine), c.arguments) << c.commandLine;
  EXPECT_EQ(zv::argumentsOf(nullptr), "");
}

TEST(LauncherCommandLine, thePlayerLiesInBinBelowTheLauncher) {
  EXPECT_EQ(zv::playerPathBeside("C:\\Program Files\\Zorvak\\zorvak.exe"), "C:\\Program Files\\Zorvak\\bin\\zorvak.exe");
  EXPECT_EQ(zv::playerPathBeside("Z:/r/zorvak.exe"), "Z:/r\\bin\\zorvak.exe");
}

}  // namespace
