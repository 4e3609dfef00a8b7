// The real zorvak.exe: the file information window opened for the current
// file follows it as the player moves on; once a playlist editor shows a
// line of its own in it (F3), the window keeps that line, and it is not
// reopened at the next start.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "program_fixture.h"
#include "testkit.h"

namespace {

using namespace ptest;

constexpr int kWaitMs = 20000;

struct Search {
  DWORD pid;
  HWND main;
  std::string caption;      // a visible window of that caption, when not empty
  bool wantList = false;    // else a visible window holding a list view
  HWND found = nullptr;
};

BOOL CALLBACK matchWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<Search*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != s->pid || w == s->main || !IsWindowVisible(w)) return TRUE;
  char text[260] = {};
  GetWindowTextA(w, text, sizeof(text));
  const bool hit = s->wantList ? FindWindowExA(w, nullptr, "SysListView32", nullptr) != nullptr : s->caption == text;
  if (!hit) return TRUE;
  s->found = w;
  return FALSE;
}

HWND windowCaptioned(DWORD pid, HWND main, const std::string& caption) {
  Search s{pid, main, caption};
  EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// The playlist editor's list view (the only list view among the windows).
HWND editorList(DWORD pid, HWND main) {
  Search s{pid, main, "", true};
  EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&s));
  return s.found ? FindWindowExA(s.found, nullptr, "SysListView32", nullptr) : nullptr;
}

std::string captionOf(HWND w) {
  char text[260] = {};
  GetWindowTextA(w, text, sizeof(text));
  return text;
}

void pressKey(HWND w, UINT vk) {
  PostMessageA(w, WM_KEYDOWN, vk, 1);
  PostMessageA(w, WM_KEYUP, vk, 0xC0000001);
}

}  // namespace

TEST(ProgramInfoFollows, theInfoWindowFollowsTheCurrentFileUntilAnEditorShowsALineInIt) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
  const std::string root = zvtest::rootDir();
  removeTree(root + "\\data");
  ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
  const std::string media = zvtest::freshDir("info_follows");
  const std::string one = writeMarkedWav(media, "first song.wav", 1, 4);
  const std::string two = writeMarkedWav(media, "second song.wav", 2, 2);
  const std::string three = writeMarkedWav(media, "third song.wav", 3, 2);
  {
    Player player(root, {one, two, three});
    ASSERT_TRUE(player.started());
    HWND main = waitMainWindow(kWaitMs);
    ASSERT_NE(main, nullptr);
    // The list plays; the window opened on the first song shows the second
    // once playback reaches it by itself.
    ASSERT_TRUE(sendCommand(main, "info"));
    HWND info = nullptr;
    ASSERT_TRUE(zvtest::waitFor([&] { return (info = windowCaptioned(player.id(), main, "first song")) != nullptr; },
                                kWaitMs));
    EXPECT_TRUE(zvtest::waitFor([&] { return captionOf(info) == "second song"; }, kWaitMs)) << captionOf(info);
    // Skipping by command, stopped, likewise.
    ASSERT_TRUE(sendCommand(main, "stop"));
    ASSERT_TRUE(sendCommand(main, "next"));
    EXPECT_TRUE(zvtest::waitFor([&] { return captionOf(info) == "third song"; }, kWaitMs)) << captionOf(info);
    ASSERT_TRUE(sendCommand(main, "prev"));
    EXPECT_TRUE(zvtest::waitFor([&] { return captionOf(info) == "second song"; }, kWaitMs)) << captionOf(info);

    // An editor of the main playlist shows its last line in the window (End, F3) ...
    ASSERT_TRUE(sendCommand(main, "editcpl"));
    HWND list = nullptr;
    ASSERT_TRUE(zvtest::waitFor([&] { return (list = editorList(player.id(), main)) != nullptr; }, kWaitMs));
    pressKey(list, VK_END);
    pressKey(list, VK_F3);
    EXPECT_TRUE(zvtest::waitFor([&] { return captionOf(info) == "third song"; }, kWaitMs)) << captionOf(info);
    // ... and the window keeps it while the player moves on.
    ASSERT_TRUE(sendCommand(main, "prev"));
    // The window takes a new current file from its message queue: a close
    // posted after "prev" is handled after that, so once the window is
    // hidden its caption tells what it did.
    PostMessageA(info, WM_CLOSE, 0, 0);
    EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(info); }, kWaitMs));
    EXPECT_EQ(captionOf(info), "third song");
    // Shown again for the editor's line, it is open when the player ends.
    pressKey(list, VK_F3);
    EXPECT_TRUE(zvtest::waitFor([&] { return IsWindowVisible(info) != FALSE; }, kWaitMs));
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(player.waitExit(kWaitMs), 0);
  }
  // A window that showed an editor's line is not reopened at the next start.
  const std::string reopen = configValue(userDataDir(root), "open_info");
  EXPECT_FALSE(reopen.empty()) << "the window flags are stored";
  EXPECT_NE(reopen, "1");
}
