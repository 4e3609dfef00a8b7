// The real zorvak.exe opens its file information and CD database windows
// on the "info" and "cddb" commands, shows the current file in the first,
// and ends cleanly with them open.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "program_fixture.h"
#include "testkit.h"

namespace {

using namespace ptest;

struct Search {
  DWORD pid;
  HWND except;
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK matchWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  char text[260] = {};
  GetWindowTextA(w, text, sizeof(text));
  if (owner == s->pid && w != s->except && IsWindowVisible(w) && *s->caption == text) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// A visible top-level window of process `pid`, other than `except`, whose
// caption is `caption`.
HWND findWindowOf(DWORD pid, HWND except, const std::string& caption) {
  Search search{pid, except, &caption, nullptr};
  EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

TEST(ProgramToolWindows, infoShowsTheCurrentFileAndCddbOpensTheDatabase) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
  const std::string root = zvtest::rootDir();
  removeTree(root + "\\data");
  ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
  const std::string media = zvtest::freshDir("tool_windows");
  const std::string song = writeMarkedWav(media, "quiet song.wav", 1, 2);

  Player player(root, {song});
  ASSERT_TRUE(player.started());
  HWND main = waitMainWindow(20000);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(sendCommand(main, "stop"));
  ASSERT_TRUE(sendCommand(main, "info"));
  HWND info = nullptr;
  EXPECT_TRUE(zvtest::waitFor([&] { return (info = findWindowOf(player.id(), main, "quiet song")) != nullptr; }, 10000))
      << "the file information window shows the current file's description";
  ASSERT_TRUE(sendCommand(main, "cddb"));
  EXPECT_TRUE(zvtest::waitFor([&] { return findWindowOf(player.id(), main, "CD database") != nullptr; }, 10000));
  // Closing hides it; "info" brings the same window back.
  if (info) {
    PostMessageA(info, WM_CLOSE, 0, 0);
    EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(info); }, 5000));
    ASSERT_TRUE(sendCommand(main, "info"));
    EXPECT_TRUE(zvtest::waitFor([&] { return IsWindowVisible(info) != FALSE; }, 5000));
  }
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(20000), 0);
}
