// The real zorvak.exe driven through the hand-over messages: open operations
// of every OpenMode (4660-4662) and commands (4663), checked by what it
// played (the capture: which file, in which order, for how long), by what it
// leaves in playlist.dat and config.dat at shutdown, and "/unreg" against
// the real registry of the Wine prefix.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "startup/hand_over.h"
#include "testkit.h"
#include "win32/owners.h"

namespace {

using namespace ptest;

constexpr int kStartMs = 20000, kPlayMs = 20000;

// Frames of `mark` in the runs from `from` on, up to the first run of `next`.
size_t framesFrom(const std::vector<Run>& runs, size_t from, int mark, int next) {
  size_t frames = 0;
  for (size_t i = from; i < runs.size() && runs[i].mark != next; ++i)
    if (runs[i].mark == mark) frames += runs[i].frames;
  return frames;
}

// The index of the last run of `mark` that has begun (runs.size() when none).
size_t lastRunOf(const std::vector<Run>& runs, int mark) {
  for (size_t i = runs.size(); i-- > 0;)
    if (runs[i].mark == mark) return i;
  return runs.size();
}

// Frames of `mark` captured since its last run began.
size_t framesOfLastRun(int mark) {
  const std::vector<Run> runs = playedRuns();
  const size_t at = lastRunOf(runs, mark);
  return at == runs.size() ? 0 : framesFrom(runs, at, mark, -1);
}

// The first sample of the last loud frame (full volume gives 8000).
int lastLevel() {
  const std::vector<uint8_t> bytes = zvtest::readFile(zvtest::captureFile());
  for (size_t i = bytes.size() / 4; i-- > 0;) {
    int16_t f[2];
    std::memcpy(f, &bytes[i * 4], 4);
    if (f[0] >= 800) return f[0];
  }
  return 0;
}

// A whole open operation as the launcher sends it: 4660, 4661 per item, 4662.
bool handOver(HWND window, const std::vector<std::string>& items, OpenMode mode) {
  for (const zv::HandOverBlock& block : zv::handOverForItems(items, mode))
    if (!zv::sendHandOver(window, nullptr, block)) return false;
  return true;
}

class ProgramCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
    root_ = zvtest::rootDir();
    removeTree(root_ + "\\data");
    ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
    // The About window of a first start stays out of the way.
    const std::string userData = userDataDir(root_);
    SHCreateDirectoryExA(nullptr, userData.c_str(), nullptr);
    WritePrivateProfileStringA("Zorvak", "seenAbout", "1", (userData + "\\config.dat").c_str());
  }
  void closePlayer(Player& player, HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(player.waitExit(kStartMs), 0);
  }
  std::string root_;
};

TEST_F(ProgramCommands, everyOpenModeOfTheHandOver_playsAndKeepsWhatItSays) {
  const std::string media = zvtest::freshDir("modes");
  // A cross-fade mixes two files' frames into the marks between theirs:
  // the file that must not play (f[2]) has a mark outside every fade.
  const int marks[] = {1, 2, 8, 4, 5, 6};
  std::vector<std::string> f;
  for (int mark : marks) f.push_back(writeMarkedWav(media, "m" + std::to_string(mark) + ".wav", mark, 60));
  Player player(root_, {f[0]});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(zvtest::waitFor([] { return played(1); }, kPlayMs));

  // 0: a new playlist, whose first file plays at once.
  ASSERT_TRUE(handOver(window, {f[1]}, ZV_OPEN_NEW_PLAYLIST));
  ASSERT_TRUE(zvtest::waitFor([] { return played(2); }, kPlayMs));
  // 1: added; what plays goes on.
  ASSERT_TRUE(handOver(window, {f[2]}, ZV_OPEN_ADD));
  // 3: added and played.
  ASSERT_TRUE(handOver(window, {f[3]}, ZV_OPEN_ADD | ZV_OPEN_PLAY));
  ASSERT_TRUE(zvtest::waitFor([] { return played(4); }, kPlayMs));
  EXPECT_FALSE(played(8)) << "the file only added did not play";
  // 7: the file already there is found, not added again, and plays.
  ASSERT_TRUE(handOver(window, {f[2]}, ZV_OPEN_ADD | ZV_OPEN_PLAY | ZV_OPEN_FIND));
  ASSERT_TRUE(zvtest::waitFor([] { return played(8); }, kPlayMs));
  closePlayer(player, window);
  const std::string kept = fileText(userDataDir(root_) + "\\playlist.dat");
  EXPECT_EQ(kept.find(f[0]), std::string::npos) << "the new playlist replaced the first one";
  for (int i : {1, 2, 3}) EXPECT_NE(kept.find(f[i]), std::string::npos) << f[i];
  EXPECT_EQ(kept.find(f[2]), kept.rfind(f[2])) << "found, not added twice";

  // 8: replaces the stored playlist at the next start; 5 (find in a new
  // playlist) plays its item.
  Player again(root_, {"/stop"});
  ASSERT_TRUE(again.started());
  window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(handOver(window, {f[4], f[5]}, ZV_OPEN_REPLACE));
  ASSERT_TRUE(zvtest::waitFor([&] {
    return fileText(userDataDir(root_) + "\\playlist.dat").find(f[4]) != std::string::npos;
  }, kPlayMs)) << "the open operation saves the playlist";
  closePlayer(again, window);
  const std::string replaced = fileText(userDataDir(root_) + "\\playlist.dat");
  for (int i : {1, 2, 3}) EXPECT_EQ(replaced.find(f[i]), std::string::npos) << f[i] << " was replaced";
  EXPECT_LT(replaced.find(f[4]), replaced.find(f[5])) << "items in their order";
}

TEST_F(ProgramCommands, groupsRewindStop2AndShuffle_asPlayedAndStored) {
  const std::string media = zvtest::freshDir("cmds");
  const std::string d1 = media + "\\one", d2 = media + "\\two";
  CreateDirectoryA(d1.c_str(), nullptr);
  CreateDirectoryA(d2.c_str(), nullptr);
  constexpr int kSeconds = 32;
  const size_t fileFrames = kSeconds * kFramesPerSecond;
  // Marks chosen so that no cross-fade of this walk passes through a mark
  // that must not have played (a fade mixes into the marks between two).
  constexpr int A = 1, B = 5, C = 2, D = 6;
  writeMarkedWav(d1, "a.wav", A, kSeconds);
  writeMarkedWav(d1, "b.wav", B, kSeconds);
  writeMarkedWav(d2, "c.wav", C, kSeconds);
  writeMarkedWav(d2, "d.wav", D, kSeconds);

  Player player(root_, {d1, d2});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(zvtest::waitFor([] { return played(A); }, kPlayMs));

  // "nextpl" from the first group's first file: the second group's first file.
  ASSERT_TRUE(sendCommand(window, "nextpl"));
  ASSERT_TRUE(zvtest::waitFor([] { return played(C); }, kPlayMs));
  EXPECT_FALSE(played(B)) << "the rest of the first group was passed over";
  // "prevpl" from a group's first file: the last file of the group before.
  ASSERT_TRUE(sendCommand(window, "prevpl"));
  ASSERT_TRUE(zvtest::waitFor([] { return played(B); }, kPlayMs));

  // "rewind:10" at 4 s: back to the start, so b plays 4 s more than it lasts.
  ASSERT_TRUE(zvtest::waitFor([] { return framesOfLastRun(B) >= 4 * kFramesPerSecond; }, kPlayMs));
  ASSERT_TRUE(sendCommand(window, "rewind:10"));
  ASSERT_TRUE(zvtest::waitFor([] { return framesOfLastRun(C) > kFramesPerSecond; }, kPlayMs * 2));
  // b plays only this once: all its frames are this stint's.
  const size_t bFrames = framesFrom(playedRuns(), 0, B, -1);
  EXPECT_GT(bFrames, fileFrames + 3 * kFramesPerSecond) << "b played from its start again";
  EXPECT_LT(bFrames, fileFrames + 6 * kFramesPerSecond);

  // "stop2" at about 3 s of c, then "play": c from its start.
  ASSERT_TRUE(zvtest::waitFor([] { return framesOfLastRun(C) >= 3 * kFramesPerSecond; }, kPlayMs));
  const size_t cRun = lastRunOf(playedRuns(), C);
  ASSERT_TRUE(sendCommand(window, "stop2"));
  // Stopped: the capture stops growing with c.
  size_t last = 0;
  ASSERT_TRUE(zvtest::waitFor([&] {
    const size_t now = framesFrom(playedRuns(), cRun, C, D);
    const bool still = now == last;
    last = now;
    return still;
  }, kPlayMs));
  ASSERT_TRUE(sendCommand(window, "play"));
  ASSERT_TRUE(zvtest::waitFor([] { return played(D); }, kPlayMs * 2));
  const size_t cFrames = framesFrom(playedRuns(), cRun, C, D);
  EXPECT_GT(cFrames, fileFrames + 2 * kFramesPerSecond) << "stop2 went back to the start";

  // "voldown" lowers the master volume by 2048 (63487 of 65535: 7750 of
  // 8000); "volup" twice brings it to full and no further.
  ASSERT_TRUE(sendCommand(window, "voldown"));
  EXPECT_TRUE(zvtest::waitFor([] { return std::abs(lastLevel() - 7750) <= 2; }, kPlayMs)) << lastLevel();
  ASSERT_TRUE(sendCommand(window, "volup"));
  ASSERT_TRUE(sendCommand(window, "volup"));
  EXPECT_TRUE(zvtest::waitFor([] { return lastLevel() == 8000; }, kPlayMs)) << lastLevel();

  ASSERT_TRUE(sendCommand(window, "shuffle"));
  ASSERT_TRUE(sendCommand(window, "stop"));
  closePlayer(player, window);
  const std::string userData = userDataDir(root_);
  EXPECT_EQ(configValue(userData, "shuffle"), "1");
  const std::string kept = fileText(userData + "\\playlist.dat");
  for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav"}) EXPECT_NE(kept.find(name), std::string::npos) << name;
}

TEST_F(ProgramCommands, firstStartShowsTheAboutWindowOnce) {
  const std::string userData = userDataDir(root_);
  WritePrivateProfileStringA("Zorvak", "seenAbout", nullptr, (userData + "\\config.dat").c_str());
  for (bool first : {true, false}) {
    Player player(root_, {"/stop"});
    ASSERT_TRUE(player.started());
    HWND window = waitMainWindow(kStartMs);
    ASSERT_NE(window, nullptr);
    // The window answers sent messages while the start steps still run (any
    // cross-thread call inside them lets one in), so the first start waits
    // for the About window itself; the second waits until the window is
    // shown and idle, and then finds none.
    auto aboutShown = [&] {
      HWND about = FindWindowA(nullptr, "About Zorvak");
      DWORD owner = 0;
      if (about) GetWindowThreadProcessId(about, &owner);
      return about && IsWindowVisible(about) && owner == player.id();
    };
    if (first) {
      EXPECT_TRUE(zvtest::waitFor(aboutShown, kStartMs)) << "first start";
    } else {
      ASSERT_TRUE(zvtest::waitFor([&] { return IsWindowVisible(window) != FALSE; }, kStartMs));
      DWORD_PTR answer = 0;
      ASSERT_TRUE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kStartMs, &answer));
      EXPECT_FALSE(aboutShown()) << "second start";
    }
    closePlayer(player, window);
    EXPECT_EQ(configValue(userData, "seenAbout"), "1");
  }
}

// Keys of the classes root and the local machine, as the settings write them.
void setString(HKEY root, const std::string& path, const char* name, const std::string& value) {
  zv::UniqueRegKey key;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
            ERROR_SUCCESS)
      << path;
  RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
}

std::optional<std::string> getString(HKEY root, const std::string& path, const char* name) {
  char value[512] = {};
  DWORD size = sizeof(value);
  if (RegGetValueA(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(value);
}

bool keyExists(HKEY root, const std::string& path) {
  zv::UniqueRegKey key;
  return RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

TEST_F(ProgramCommands, unregThroughTheProgram_removesOurKeysAndRestoresOrgdef) {
  const std::string ours = "\"Z:\\zorvak\\zorvak.exe\" /enqueue /start /find \"%1\"";
  setString(HKEY_CLASSES_ROOT, "Zorvak file\\shell\\open\\command", nullptr, ours);
  setString(HKEY_CLASSES_ROOT, "Directory\\shell\\zvplay\\command", nullptr, ours);
  setString(HKEY_CLASSES_ROOT, ".zvunrega", nullptr, "Zorvak file");
  setString(HKEY_CLASSES_ROOT, ".zvunrega", "orgdef", "zvunrega_before");
  setString(HKEY_CLASSES_ROOT, ".zvunrega\\OpenWithList\\zorvak.exe", nullptr, "");
  setString(HKEY_CLASSES_ROOT, ".zvunregb", nullptr, "Other player file");
  setString(HKEY_CLASSES_ROOT, ".zvunregb", "orgdef", "zvunregb_before");
  setString(HKEY_CLASSES_ROOT, "AudioCD\\shell\\play\\command", nullptr, ours);
  setString(HKEY_CLASSES_ROOT, "AudioCD\\shell\\play\\command", "orgdef", "cdplayer.exe %1");
  setString(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zorvak.exe", nullptr,
            "Z:\\zorvak\\zorvak.exe");

  Player unreg(root_, {"/unreg"});
  ASSERT_TRUE(unreg.started());
  EXPECT_EQ(unreg.waitExit(kStartMs), 0);
  EXPECT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "no player started";

  EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "Zorvak file"));
  EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, "Directory\\shell\\zvplay"));
  EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, ".zvunrega\\OpenWithList\\zorvak.exe"));
  EXPECT_EQ(getString(HKEY_CLASSES_ROOT, ".zvunrega", nullptr), "zvunrega_before");
  EXPECT_EQ(getString(HKEY_CLASSES_ROOT, ".zvunregb", nullptr), "Other player file") << "not ours: kept";
  EXPECT_EQ(getString(HKEY_CLASSES_ROOT, "AudioCD\\shell\\play\\command", nullptr), "cdplayer.exe %1");
  EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zorvak.exe"));

  // Written in capitals it is no uninstall switch: the player starts.
  Player upper(root_, {"/UNREG", "/stop"});
  ASSERT_TRUE(upper.started());
  HWND window = waitMainWindow(kStartMs);
  EXPECT_NE(window, nullptr);
  if (window) closePlayer(upper, window);

  for (const char* key : {".zvunrega", ".zvunregb", "AudioCD"}) RegDeleteTreeA(HKEY_CLASSES_ROOT, key);
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ".zvunrega");
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ".zvunregb");
}

}  // namespace
