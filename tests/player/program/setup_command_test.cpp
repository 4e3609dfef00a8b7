// The real zorvak.exe opens the settings and the resources usage windows
// for the commands "setup" and "debug", one of each however often asked.
#include <gtest/gtest.h>
#include <windows.h>

#include "program_fixture.h"
#include "testkit.h"

namespace {

using namespace ptest;

struct Found {
  DWORD pid;
  const char* title;
  int count = 0;
  HWND window = nullptr;
};

BOOL CALLBACK countWindow(HWND window, LPARAM param) {
  auto* f = reinterpret_cast<Found*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char title[128] = {};
  GetWindowTextA(window, title, sizeof(title));
  if (pid == f->pid && lstrcmpA(title, f->title) == 0 && IsWindowVisible(window)) {
    ++f->count;
    f->window = window;
  }
  return TRUE;
}

int windowsTitled(DWORD pid, const char* title) {
  Found f{pid, title};
  EnumWindows(countWindow, reinterpret_cast<LPARAM>(&f));
  return f.count;
}

TEST(SetupCommand, setupAndDebugOpenTheirWindowsOnce) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
  ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
  Player player(zvtest::rootDir(), {});
  ASSERT_TRUE(player.started());
  HWND main = waitMainWindow(20000);
  ASSERT_NE(main, nullptr);
  for (const auto& [command, title] : {std::pair{"setup", "Settings"}, std::pair{"debug", "Resources usage"}}) {
    ASSERT_TRUE(sendCommand(main, command));
    EXPECT_TRUE(zvtest::waitFor([&, t = title] { return windowsTitled(player.id(), t) == 1; }, 10000)) << command;
    ASSERT_TRUE(sendCommand(main, command));
    ASSERT_TRUE(sendCommand(main, "next"));  // a command after it, so the second one was handled
    EXPECT_EQ(windowsTitled(player.id(), title), 1) << command << " twice: still one window";
  }
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_NE(player.waitExit(20000), -1);
}

}  // namespace
