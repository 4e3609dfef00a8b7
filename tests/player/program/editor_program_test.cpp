// Playlist editors in the real program: opened by commands ("edit:" + a
// folder, "editcpl"), written to the user folder's "editors" at exit and
// opened again, with caption and playlist, at the next start.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "program_fixture.h"
#include "testkit.h"

namespace {

using namespace ptest;

constexpr int kStartMs = 20000;

struct TitleSearch {
  DWORD pid;
  std::vector<std::string> titles;
};

BOOL CALLBACK collectTitle(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<TitleSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  char cls[64] = {}, title[256] = {};
  GetClassNameA(w, cls, sizeof(cls));
  GetWindowTextA(w, title, sizeof(title));
  if (owner == s->pid && IsWindowVisible(w) && lstrcmpA(cls, "ZVWindow") != 0 && title[0]) s->titles.emplace_back(title);
  return TRUE;
}

// The visible top-level windows of a process other than the main window.
std::vector<std::string> otherWindowTitles(DWORD pid) {
  TitleSearch search{pid, {}};
  EnumWindows(collectTitle, reinterpret_cast<LPARAM>(&search));
  return search.titles;
}

bool hasTitle(DWORD pid, const std::string& title) {
  for (const std::string& t : otherWindowTitles(pid))
    if (t == title) return true;
  return false;
}

TEST(ProgramEditors, editorsOpenByCommandAndComeBackAfterARestart) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
  const std::string root = zvtest::rootDir();
  removeTree(root + "\\data");
  ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
  const std::string media = zvtest::freshDir("edited");
  writeMarkedWav(media, "one.wav", 1, 1);
  writeMarkedWav(media, "two.wav", 2, 1);
  const std::string folderTitle = "edited";
  {
    Player player(root, {});
    HWND window = waitMainWindow(kStartMs);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(sendCommand(window, "edit:" + media));
    ASSERT_TRUE(sendCommand(window, "editcpl"));
    ASSERT_TRUE(zvtest::waitFor([&] { return otherWindowTitles(player.id()).size() >= 2; }, kStartMs));
    EXPECT_TRUE(hasTitle(player.id(), folderTitle)) << "the folder's editor is captioned with its name";
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(player.waitExit(kStartMs), 0);
  }
  const std::string editors = userDataDir(root) + "\\editors";
  const auto first = zvtest::readFile(editors + "\\00000000");
  const auto second = zvtest::readFile(editors + "\\00000001");
  ASSERT_GT(first.size(), 551u);
  ASSERT_EQ(second.size(), 551u) << "the editor of the main playlist has no playlist of its own";
  EXPECT_EQ(std::string(first.begin(), first.begin() + 8), "ZORV0002");
  EXPECT_EQ(first[29], 1);
  EXPECT_EQ(second[29], 0);
  const std::string owned(first.begin() + 551, first.end());
  EXPECT_NE(owned.find("one.wav"), std::string::npos);
  EXPECT_NE(owned.find("two.wav"), std::string::npos);

  Player again(root, {});
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(zvtest::waitFor([&] { return otherWindowTitles(again.id()).size() >= 2; }, kStartMs));
  EXPECT_TRUE(hasTitle(again.id(), folderTitle));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(again.waitExit(kStartMs), 0);
}

}  // namespace
