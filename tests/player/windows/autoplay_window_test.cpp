// The auto-play window driven as a user would: clicks and keys reach it as
// window messages while its own modal loop runs; what it answers is the open
// mode the main window then uses.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <vector>

#include "autoplay/autoplay_window.h"
#include "testkit.h"
#include "win32/owners.h"
#include "about_fixture.h"

using zv::AutoplayChoice;
using zv::TAutoplayWnd;

namespace {

TEST(AutoplayWindow, choicesAndStartPlaying_giveTheOpenModeOfYes) {
  WINDOWS_NEED_DISPLAY();
  struct Case {
    std::optional<AutoplayChoice> click;  // the choice clicked (none: the default)
    bool untickStart;                     // click "Start playing" (on by default)
    bool yes;
    std::optional<OpenMode> mode;
  } cases[] = {
      {std::nullopt, false, true, ZV_OPEN_NEW_PLAYLIST},
      {AutoplayChoice::replace, false, true, ZV_OPEN_REPLACE},
      {AutoplayChoice::add, false, true, ZV_OPEN_ADD | ZV_OPEN_PLAY},
      {AutoplayChoice::add, true, true, ZV_OPEN_ADD},
      // "Start playing" counts only with add: clicking it elsewhere changes nothing.
      {AutoplayChoice::replace, true, true, ZV_OPEN_REPLACE},
      {AutoplayChoice::add, false, false, std::nullopt},
  };
  wintest::Owner owner;
  for (const Case& c : cases) {
    TAutoplayWnd w;
    ASSERT_TRUE(w.create(zvtest::rootDir(), owner.hwnd()));
    if (c.click) wintest::postClick(w.hwnd(), w.choice(*c.click).rect());
    if (c.untickStart) wintest::postClick(w.hwnd(), w.startPlaying().rect());
    wintest::postClick(w.hwnd(), c.yes ? w.yes().rect() : w.no().rect());
    EXPECT_EQ(w.runModal(), c.mode);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd())) << "the owner takes input again";
    EXPECT_FALSE(IsWindowVisible(w.hwnd()));
  }
}

TEST(AutoplayWindow, choicesAreExclusive_andTheTickedOneStays) {
  WINDOWS_NEED_DISPLAY();
  TAutoplayWnd w;
  ASSERT_TRUE(w.create(zvtest::rootDir(), nullptr));
  auto ticked = [&] {
    std::vector<bool> t;
    for (AutoplayChoice c : {AutoplayChoice::newPlaylist, AutoplayChoice::replace, AutoplayChoice::add})
      t.push_back(w.choice(c).checked());
    return t;
  };
  EXPECT_EQ(ticked(), (std::vector<bool>{true, false, false}));
  EXPECT_FALSE(w.startPlaying().enabled());
  wintest::sendClick(w.hwnd(), w.choice(AutoplayChoice::add).rect());
  EXPECT_EQ(ticked(), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(w.startPlaying().enabled());
  wintest::sendClick(w.hwnd(), w.choice(AutoplayChoice::add).rect());
  EXPECT_EQ(ticked(), (std::vector<bool>{false, false, true})) << "clicking the ticked choice keeps it";
  wintest::sendClick(w.hwnd(), w.choice(AutoplayChoice::replace).rect());
  EXPECT_EQ(ticked(), (std::vector<bool>{false, true, false}));
  EXPECT_EQ(w.chosenMode(), OpenMode(ZV_OPEN_REPLACE));
}

TEST(AutoplayWindow, escapeAndClose_answerNo_enterAnswersYes_centredOnTheScreen) {
  WINDOWS_NEED_DISPLAY();
  struct Case {
    UINT message;
    WPARAM key;
    std::optional<OpenMode> mode;
  } cases[] = {
      {WM_KEYDOWN, VK_ESCAPE, std::nullopt},
      {WM_CLOSE, 0, std::nullopt},
      {WM_KEYDOWN, VK_RETURN, ZV_OPEN_NEW_PLAYLIST},
  };
  for (const Case& c : cases) {
    TAutoplayWnd w;
    ASSERT_TRUE(w.create(zvtest::rootDir(), nullptr));
    PostMessageA(w.hwnd(), c.message, c.key, 0);
    EXPECT_EQ(w.runModal(), c.mode);
    RECT r;
    GetWindowRect(w.hwnd(), &r);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  }
}

}  // namespace
