// The tray's rules: what each "minMode_" gives, which tray buttons show and
// in what order, what each click runs; and the tray icons' calls to the
// shell, recorded.
#include <gtest/gtest.h>
#include <windows.h>

#include "commands/command_table.h"
#include "tray/taskbar_buttons.h"
#include "tray/tray_icons.h"
#include "tray/tray_rules.h"

using namespace zv;

namespace {

TEST(TrayRules, minModeTable) {
  struct Case {
    int minMode;
    bool tray, taskbar, intoTray;
  } cases[] = {{0, false, true, false}, {1, true, false, true}, {2, true, true, false}, {3, true, true, true}};
  for (const Case& c : cases) {
    const MinModeBehaviour b = minModeBehaviour(c.minMode);
    EXPECT_EQ(b.trayIcon, c.tray) << c.minMode;
    EXPECT_EQ(b.taskbarButton, c.taskbar) << c.minMode;
    EXPECT_EQ(b.minimizeToTray, c.intoTray) << c.minMode;
  }
  // A damaged value keeps a way back to the window both ways.
  EXPECT_TRUE(minModeBehaviour(17).trayIcon);
  EXPECT_TRUE(minModeBehaviour(17).taskbarButton);
  EXPECT_EQ(defaultMinMode(0), 2);
  EXPECT_EQ(defaultMinMode(1), 1);
  EXPECT_FALSE(defaultTopmost(0));
  EXPECT_TRUE(defaultTopmost(1));
}

TEST(TrayRules, buttonsFollowTheirSettingsAndTheSystemsOrder) {
  const std::vector<UINT> defaults = trayButtonsToAdd({}, false);
  EXPECT_EQ(defaults, (std::vector<UINT>{200, 201, 203, 205, 206}));
  EXPECT_EQ(trayButtonsToAdd({}, true), (std::vector<UINT>{206, 205, 203, 201, 200}));
  TrayButtonSettings all{true, true, true, true};
  EXPECT_EQ(trayButtonsToAdd(all, false), (std::vector<UINT>{200, 201, 202, 203, 204, 205, 206}));
  TrayButtonSettings seekOnly{false, false, true, false};
  EXPECT_EQ(trayButtonsToAdd(seekOnly, true), (std::vector<UINT>{204, 202}));
  EXPECT_TRUE(trayButtonsToAdd({false, false, false, false}, false).empty());
  // Wine reports Windows 6.1: the descending order.
  EXPECT_TRUE(trayAddsNewestFirst());
}

TEST(TrayRules, clicksOfBothButtonsOnEveryIcon) {
  struct Case {
    UINT id;
    const char* left;
    const char* right;
  } cases[] = {{200, "prevpl", "l1menu"},          {201, "prev", "l2menu"},        {202, "rewind:10", "rewind:10"},
               {203, "toggleplay", "fadetoggleplay"}, {204, "forward:10", "forward:10"}, {205, "next", "l2menu"},
               {206, "nextpl", "l1menu"}};
  for (const Case& c : cases) {
    const TrayClickAction l = trayClickAction(c.id, WM_LBUTTONUP), r = trayClickAction(c.id, WM_RBUTTONUP);
    ASSERT_EQ(l.kind, TrayClick::command) << c.id;
    ASSERT_EQ(r.kind, TrayClick::command) << c.id;
    EXPECT_STREQ(l.command, c.left) << c.id;
    EXPECT_STREQ(r.command, c.right) << c.id;
    EXPECT_TRUE(resolveCommand(l.command, 2) && resolveCommand(r.command, 2)) << c.id;
  }
  EXPECT_EQ(trayClickAction(100, WM_LBUTTONUP).kind, TrayClick::restore);
  EXPECT_STREQ(trayClickAction(100, WM_RBUTTONUP).command, "sysmenu");
  EXPECT_EQ(trayClickAction(100, WM_MOUSEMOVE).kind, TrayClick::none);
  EXPECT_EQ(trayClickAction(203, WM_LBUTTONDOWN).kind, TrayClick::none) << "only the button's release acts";
  EXPECT_EQ(trayClickAction(207, WM_LBUTTONUP).kind, TrayClick::none);
  EXPECT_EQ(trayClickAction(199, WM_RBUTTONUP).kind, TrayClick::none);
}

struct ShellRecorder {
  std::vector<std::string> calls;
  bool accept = true;
  TrayIcons::Api api() {
    return {[this](HWND, UINT id, UINT message, HICON, const std::string& tip) {
              calls.push_back("add " + std::to_string(id) + " " + std::to_string(message) + " " + tip);
              return accept;
            },
            [this](HWND, UINT id, HICON, const std::string& tip) {
              calls.push_back("edit " + std::to_string(id) + " " + tip);
              return true;
            },
            [this](HWND, UINT id) { calls.push_back("del " + std::to_string(id)); },
            [this](HWND, UINT id, const std::string& title, const std::string& text) {
              calls.push_back("balloon " + std::to_string(id) + " " + title + "|" + text);
              return true;
            }};
  }
};

TEST(TrayIcons, mainIconButtonsTipFramesAndBalloon) {
  ShellRecorder r;
  TrayIcons tray(r.api());
  tray.attach(reinterpret_cast<HWND>(0x10));
  EXPECT_FALSE(tray.balloon("Zorvak", "x")) << "no balloon without the icon";
  tray.setTip("Song");  // remembered, nothing to edit yet
  tray.showMain(true);
  tray.showMain(true);
  tray.setFrame(1);  // the frame it has
  tray.setFrame(3);
  tray.setTip(std::string(80, 'x'));
  tray.setButtons(trayButtonsToAdd({}, true));
  tray.setButtons({});
  EXPECT_TRUE(tray.balloon("Zorvak", "Song"));
  tray.removeAll();
  const std::vector<std::string> expected = {"add 100 1025 Song",
                                             "edit 100 Song",
                                             "edit 100 " + std::string(63, 'x'),
                                             "add 206 1025 ",
                                             "add 205 1025 ",
                                             "add 203 1025 ",
                                             "add 201 1025 ",
                                             "add 200 1025 ",
                                             "del 206",
                                             "del 205",
                                             "del 203",
                                             "del 201",
                                             "del 200",
                                             "balloon 100 Zorvak|Song",
                                             "del 100"};
  EXPECT_EQ(r.calls, expected);
}

TEST(TrayIcons, aRefusedIconIsNotTakenForShown) {
  ShellRecorder r;
  r.accept = false;
  TrayIcons tray(r.api());
  tray.attach(reinterpret_cast<HWND>(0x10));
  tray.showMain(true);
  EXPECT_FALSE(tray.mainShown());
  tray.setButtons({200, 206});
  EXPECT_TRUE(tray.buttons().empty());
  tray.removeAll();
  EXPECT_EQ(r.calls.back(), "add 206 1025 ") << "nothing removed that was never there";
}

TEST(Taskbar, thumbButtonsAndProgress) {
  EXPECT_STREQ(thumbButtonCommand(300), "prev");
  EXPECT_STREQ(thumbButtonCommand(301), "toggleplay");
  EXPECT_STREQ(thumbButtonCommand(302), "next");
  EXPECT_EQ(thumbButtonCommand(303), nullptr);
  EXPECT_EQ(taskbarProgress(false, true, 10, 100).state, TBPF_NOPROGRESS);
  EXPECT_EQ(taskbarProgress(true, true, 10, 0).state, TBPF_NOPROGRESS) << "a stream without a length";
  const TaskbarProgress p = taskbarProgress(true, true, 2500, 10000);
  EXPECT_EQ(p.state, TBPF_NORMAL);
  EXPECT_EQ(p.completed, 2500u);
  EXPECT_EQ(p.total, 10000u);
  EXPECT_EQ(taskbarProgress(true, false, 12000, 10000).completed, 10000u);
  EXPECT_EQ(taskbarProgress(true, false, 1, 10).state, TBPF_PAUSED);
}

// What this system offers: Wine's taskbar list may lack the thumbnail
// toolbar; either way attaching answers and nothing breaks.
TEST(Taskbar, attachAnswersWhatTheSystemOffers) {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (!window) GTEST_SKIP() << "no display";
  TaskbarButtons buttons;
  const bool attached = buttons.attach(window);
  EXPECT_EQ(attached, buttons.buttonsAdded());
  buttons.setPlaying(true);
  buttons.setProgress(taskbarProgress(true, true, 1000, 4000));
  std::printf("taskbar list: %s, thumbnail buttons: %s\n", buttons.available() ? "yes" : "no", attached ? "yes" : "no");
  DestroyWindow(window);
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace
