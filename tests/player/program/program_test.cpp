// The real zorvak.exe, started as users start it and driven from outside
// through its window messages: what it plays (read from the capture), what a
// second copy does, what it leaves on disk at shutdown, and how a missing
// skin ends it. Each start of the program is costly under Wine, so one test
// walks through several steps.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>

#include "program_fixture.h"
#include "startup/cmd_switches.h"
#include "startup/hand_over.h"
#include "startup/single_instance.h"
#include "testkit.h"

namespace {

using namespace ptest;

constexpr int kStartMs = 20000, kPlayMs = 20000;

bool copyFile(const std::string& from, const std::string& to) { return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0; }

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
    root_ = zvtest::rootDir();
    removeTree(root_ + "\\data");
    ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
  }
  std::string root_;
};

TEST_F(Program, playsItsCommandLineRefusesASecondCopyTakesHandOversAndCommandsAndSavesAtClose) {
  const std::string media = zvtest::freshDir("media");
  // Long enough that a slow second start does not see b end and wrap round.
  const std::string a = writeMarkedWav(media, "a.wav", 1, 24);
  const std::string b = writeMarkedWav(media, "b.wav", 2, 24);
  const std::string c = writeMarkedWav(media, "c.wav", 3, 24);
  const size_t fileFrames = 24 * kFramesPerSecond;

  Player player(root_, {a, b});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(zvtest::waitFor([] { return played(1); }, kPlayMs)) << "the first file on the command line plays";

  // "next" cuts the first file short.
  ASSERT_TRUE(sendCommand(window, "next"));
  ASSERT_TRUE(zvtest::waitFor([] { return played(2); }, kPlayMs));
  bool nextPlayed = false;
  EXPECT_LT(framesBefore(playedRuns(), 1, 2, &nextPlayed), fileFrames * 3 / 4);

  // A second copy ends with 255 and hands nothing over: the running copy goes
  // on with what it plays.
  {
    Player second(root_, {"/enqueue", "/start", c});
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.waitExit(kStartMs), zv::kSecondCopyExitCode);
  }
  EXPECT_EQ(FindWindowA("ZVWindow", nullptr), window) << "still the one window";
  EXPECT_FALSE(played(3)) << "the second copy's item was not handed over";

  // Items reach the running copy through the hand-over messages, as the
  // launcher sends them: add and start playing.
  const zv::CmdSwitches switches({"/enqueue", "/start", c});
  for (const zv::HandOverBlock& block : zv::handOverForItems(switches.items(), switches.openMode()))
    ASSERT_TRUE(zv::sendHandOver(window, nullptr, block));
  ASSERT_TRUE(zvtest::waitFor([] { return played(3); }, kPlayMs)) << "the running copy plays the handed-over file";
  EXPECT_LT(framesBefore(playedRuns(), 2, 3), fileFrames * 3 / 4) << "the added file started at once";

  // "hideall" hides the window and shows it again.
  ASSERT_TRUE(sendCommand(window, "hideall"));
  EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(window); }, 5000));
  ASSERT_TRUE(sendCommand(window, "hideall"));
  EXPECT_TRUE(zvtest::waitFor([&] { return IsWindowVisible(window) != FALSE; }, 5000));

  // "rollup" shows the mini state, which the next start shows again.
  RECT full{}, rolled{};
  GetWindowRect(window, &full);
  ASSERT_TRUE(sendCommand(window, "rollup"));
  EXPECT_TRUE(zvtest::waitFor([&] { return GetWindowRect(window, &rolled) && rolled.bottom - rolled.top < full.bottom - full.top; }, 5000));

  // Settings commands are stored at once.
  ASSERT_TRUE(sendCommand(window, "loop1:on"));
  ASSERT_TRUE(sendCommand(window, "group_sorted"));

  ASSERT_TRUE(sendCommand(window, "stop"));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);

  // The playlist and the line played are kept for the next start.
  const std::string userData = userDataDir(root_);
  const std::string saved = fileText(userData + "\\playlist.dat");
  ASSERT_FALSE(saved.empty()) << userData << "\\playlist.dat";
  for (const std::string& name : {a, b, c}) EXPECT_NE(saved.find(name), std::string::npos) << name;
  EXPECT_EQ(configValue(userData, "curFileN"), "3") << "the root line, a, b, then c";
  EXPECT_EQ(configValue(userData, "winstate"), "1");
  EXPECT_EQ(configValue(userData, "loop1"), "1");
  EXPECT_EQ(configValue(userData, "groupMode"), "3");
}

TEST_F(Program, withoutAnySkinItEndsWith255OnlyAfterDefaultWasTried) {
  // A root of its own: the program and the engine, no plug-ins, no skins;
  // the settings name a skin that does not exist.
  const std::string root = zvtest::freshDir("noskins");
  CreateDirectoryA((root + "\\bin").c_str(), nullptr);
  for (const char* file : {"zorvak.exe", "zvengine.dll", "zvdsp.dll", "zvid3.dll"})
    ASSERT_TRUE(copyFile(root_ + "\\bin\\" + file, root + "\\bin\\" + file)) << file;
  const std::string userData = userDataDir(root);
  SHCreateDirectoryExA(nullptr, userData.c_str(), nullptr);
  WritePrivateProfileStringA("Zorvak", "skin", "Nowhere", (userData + "\\config.dat").c_str());

  {
    Player player(root, {});
    ASSERT_TRUE(player.started());
    HWND box = waitBox(player.id(), "Zorvak", kStartMs);
    ASSERT_NE(box, nullptr) << "\"Skin load failed\" is shown";
    EXPECT_FALSE(IsWindowVisible(FindWindowA("ZVWindow", nullptr))) << "no main window is shown";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(player.waitExit(kStartMs), 255);
  }

  // With only "Default" there, the same settings start the player on it.
  const std::string skins = root + "\\skins\\default";
  SHCreateDirectoryExA(nullptr, (skins + "\\mini").c_str(), nullptr);
  for (const char* file : {"main.skn", "main.bmp", "mini\\main.skn", "mini\\main.bmp"})
    ASSERT_TRUE(copyFile(root_ + "\\skins\\default\\" + file, skins + "\\" + file)) << file;
  Player player(root, {});
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);

  // An open operation that finds nothing playable ends in a box; the sender
  // was released before it opened, so every send returns while it is up.
  const std::string emptyFolder = root + "\\empty";
  CreateDirectoryA(emptyFolder.c_str(), nullptr);
  for (const zv::HandOverBlock& block : zv::handOverForItems({emptyFolder}, 0))
    ASSERT_TRUE(zv::sendHandOver(window, nullptr, block));
  HWND box = waitBox(player.id(), "Zorvak", kStartMs);
  ASSERT_NE(box, nullptr) << "\"NoPlayableFiles\" is shown";
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { return !IsWindow(box); }, kStartMs));

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
  EXPECT_EQ(configValue(userData, "skin"), "Nowhere") << "a start-up fall-back does not change the setting";
}

}  // namespace
