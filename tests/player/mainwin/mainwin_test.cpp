// The real zorvak.exe's main window driven from outside as the system
// drives it: keys posted to it, hot keys, tray callbacks, system commands,
// power broadcasts; read back through the commands it ran (its command
// trace), its window states and styles, the notification area, its labels'
// texts, the sound it played and config.dat.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "program_fixture.h"
#include "testkit.h"

namespace {

using namespace ptest;

constexpr int kStartMs = 20000, kWaitMs = 10000;

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "the player needs a display";
    root_ = zvtest::rootDir();
    removeTree(root_ + "\\data");
    ASSERT_EQ(FindWindowA("ZVWindow", nullptr), nullptr) << "another player is running";
    trace_ = zvtest::freshDir("trace") + "\\commands.txt";
    SetEnvironmentVariableA("ZORVAK_COMMAND_TRACE", trace_.c_str());
    userData_ = userDataDir(root_);
    CreateDirectoryA((root_ + "\\data").c_str(), nullptr);
    SHCreateDirectoryExA(nullptr, userData_.c_str(), nullptr);
    setting("seenAbout", "1");
  }
  void TearDown() override { SetEnvironmentVariableA("ZORVAK_COMMAND_TRACE", nullptr); }

  void setting(const char* key, const char* value) {
    WritePrivateProfileStringA("Zorvak", key, value, (userData_ + "\\config.dat").c_str());
  }
  std::string configValue(const char* key) {
    char value[260] = {};
    GetPrivateProfileStringA("Zorvak", key, "", value, sizeof(value), (userData_ + "\\config.dat").c_str());
    return value;
  }

  // The trace's lines ("<source> <command>").
  std::vector<std::string> traced() {
    std::vector<std::string> lines;
    std::ifstream in(trace_);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
  // Waits until the trace has grown by `expected` and gives what came.
  std::vector<std::string> tracedAfter(size_t before, size_t expected, int ms = kWaitMs) {
    std::vector<std::string> lines;
    zvtest::waitFor([&] { return (lines = traced()).size() >= before + expected; }, ms);
    return std::vector<std::string>(lines.begin() + std::min(before, lines.size()), lines.end());
  }

  // A popup menu of the player, shown within `ms`.
  HWND waitMenu(DWORD pid, int ms) {
    HWND found = nullptr;
    zvtest::waitFor([&] {
      for (HWND w = FindWindowA("#32768", nullptr); w; w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return (found = w) != nullptr;
      }
      return false;
    }, ms);
    return found;
  }
  // Before a menu opens: the window in front and its thread past the focus
  // events of the last activation. One still pending when the menu is up
  // (a focus-out of an earlier dialog or hide, late from the X server)
  // would cancel the menu at once.
  bool settledInFront(HWND window) {
    return zvtest::waitFor([&] { return GetForegroundWindow() == window; }, kWaitMs) &&
           SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, nullptr) != 0;
  }
  // For a menu that did not come up: what was in front, the player's
  // visible windows, and what it ran since `before`.
  std::string whyNoMenu(DWORD pid, size_t before) {
    auto describe = [](HWND w) {
      char cls[64] = {}, title[128] = {};
      GetClassNameA(w, cls, sizeof(cls));
      GetWindowTextA(w, title, sizeof(title));
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      return std::string(cls) + " \"" + title + "\" (process " + std::to_string(owner) + ")";
    };
    HWND front = GetForegroundWindow();
    std::string why = "in front: " + (front ? describe(front) : std::string("nothing")) + "; the player's windows:";
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == pid && IsWindowVisible(w)) why += " [" + describe(w) + "]";
    }
    why += "; ran:";
    const auto lines = traced();
    for (size_t i = before; i < lines.size(); ++i) why += " [" + lines[i] + "]";
    return why;
  }
  // A dialog of `pid`, whatever its caption.
  HWND waitDialog(DWORD pid, int ms) {
    HWND found = nullptr;
    zvtest::waitFor([&] {
      for (HWND w = FindWindowA("#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w)) return (found = w) != nullptr;
      }
      return false;
    }, ms);
    return found;
  }

  std::string root_, trace_, userData_;
};

// Whether the notification area holds icon `id` of `window`: changing
// nothing of it succeeds only for an icon that is there.
bool inTray(HWND window, UINT id) {
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = window;
  nid.uID = id;
  nid.uFlags = 0;
  return Shell_NotifyIconA(NIM_MODIFY, &nid) != FALSE;
}

// Someone else may take the combination: it is free.
bool hotKeyFree(UINT modifiers, UINT vk) {
  if (!RegisterHotKey(nullptr, 0xBEEF, modifiers, vk)) return false;
  UnregisterHotKey(nullptr, 0xBEEF);
  return true;
}

std::string windowText(HWND w) {
  char text[512] = {};
  GetWindowTextA(w, text, sizeof(text));
  return text;
}

// The main window's labels by their control identifiers: l1, l2, pos,
// total, pltotal are 1000 to 1004.
HWND label(HWND window, int index) { return GetDlgItem(window, 1000 + index); }

// Two captions in a row that are one text turned on (the title can change
// while the first descriptions arrive).
bool captionScrolls(HWND window, std::string* seen) {
  std::string last = windowText(window);
  return zvtest::waitFor([&] {
    const std::string now = windowText(window);
    if (now == last) return false;
    const bool turned = now.size() == last.size() && (last + last).find(now) != std::string::npos;
    *seen = last + "' -> '" + now;
    last = now;
    return turned;
  }, 5000);
}


void key(HWND w, UINT vk) { PostMessageA(w, WM_KEYDOWN, vk, 1); }
void tray(HWND w, UINT id, UINT mouse) { PostMessageA(w, 1025, id, mouse); }

TEST_F(MainWindow, keysHotKeysTrayStatesPowerAndLabels) {
  const std::string media = zvtest::freshDir("media");
  const std::string a = writeMarkedWav(media, "a.wav", 1, 12);
  const std::string b = writeMarkedWav(media, "b.wav", 2, 12);
  Player player(root_, {a, b});
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(zvtest::waitFor([] { return played(1); }, kStartMs));

  // The title scrolls: a later caption is the same text turned on, with
  // the gap of two en dashes.
  std::string seen;
  EXPECT_TRUE(captionScrolls(window, &seen)) << seen;
  EXPECT_NE((windowText(window) + windowText(window)).find("  \x96\x96  "), std::string::npos) << windowText(window);

  // Hot keys: "hotkeyMod" 0 takes Win with the table's keys, never Num/.
  EXPECT_FALSE(hotKeyFree(MOD_WIN, VK_NUMPAD5));
  EXPECT_FALSE(hotKeyFree(MOD_WIN, VK_HOME));
  EXPECT_TRUE(hotKeyFree(MOD_WIN, VK_DIVIDE));
  EXPECT_TRUE(hotKeyFree(0, VK_HOME)) << "no plain key is taken";
  EXPECT_FALSE(hotKeyFree(0, VK_MEDIA_PLAY_PAUSE)) << "the media keys are";

  // Every key of the table that opens no window, through WM_KEYDOWN.
  struct KeyCase {
    UINT vk;
    const char* command;
  } keys[] = {{VK_NUMPAD2, "voldown"},   {VK_NUMPAD8, "volup"},    {VK_DOWN, "voldown"},    {VK_UP, "volup"},
              {VK_NUMPAD6, "next"},      {VK_NUMPAD4, "prev"},     {VK_RIGHT, "next"},      {VK_LEFT, "prev"},
              {VK_NUMPAD9, "forward:10"}, {VK_NUMPAD7, "rewind:10"}, {VK_NEXT, "forward:10"}, {VK_END, "rewind:10"},
              {VK_NUMPAD3, "nextpl"},    {VK_NUMPAD1, "prevpl"},   {VK_PRIOR, "nextpl"},    {VK_HOME, "prevpl"},
              {'3', "info"},             {VK_DIVIDE, nullptr},     {'A', nullptr},          {VK_NUMPAD5, "toggleplay"},
              {VK_NUMPAD5, "toggleplay"}};
  size_t before = traced().size();
  std::vector<std::string> expected;
  for (const KeyCase& k : keys) {
    key(window, k.vk);
    if (k.command) expected.push_back(std::string("1 ") + k.command);
  }
  EXPECT_EQ(tracedAfter(before, expected.size()), expected);

  // The volume keys show the volume indicator with the new volume.
  auto indicatorText = [&] {
    HWND w = FindWindowA("ZV_VolumeIndicator", nullptr);
    return w && IsWindowVisible(w) ? windowText(w) : std::string();
  };
  std::string down, up;
  ASSERT_TRUE(zvtest::waitFor([&] { return indicatorText().empty(); }, kWaitMs)) << "it hides itself";
  // Key '3' ("info", no window yet) after each marks that the one before
  // it was handled, indicator included.
  before = traced().size();
  key(window, VK_DOWN);
  key(window, '3');
  ASSERT_EQ(tracedAfter(before, 2), (std::vector<std::string>{"1 voldown", "1 info"}));
  down = indicatorText();
  ASSERT_EQ(down.rfind("Volume ", 0), 0u) << down;
  PostMessageA(window, WM_HOTKEY, 21, 0);  // Up's hot key: volup
  key(window, '3');
  ASSERT_EQ(tracedAfter(before, 4), (std::vector<std::string>{"1 voldown", "1 info", "1 volup", "1 info"}));
  up = indicatorText();
  EXPECT_GT(std::atoi(up.c_str() + 7), std::atoi(down.c_str() + 7)) << down << " -> " << up;

  // H hides everything, Enter ("show") brings the window back.
  before = traced().size();
  key(window, 'H');
  EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(window); }, kWaitMs));
  PostMessageA(window, WM_HOTKEY, 13, 0);  // Enter's hot key
  EXPECT_TRUE(zvtest::waitFor([&] { return IsWindowVisible(window) != FALSE; }, kWaitMs));
  EXPECT_EQ(tracedAfter(before, 2), (std::vector<std::string>{"1 hideall", "1 show"}));

  // The keys that open a menu; Escape closes each.
  struct MenuKey {
    UINT vk;
    const char* command;
  } menuKeys[] = {{VK_DECIMAL, "l2menu"}, {VK_SUBTRACT, "l1menu"}, {VK_DELETE, "l2menu"}, {VK_ADD, "openmenu"},
                  {VK_MULTIPLY, "favmenu"}};
  for (const MenuKey& k : menuKeys) {
    ASSERT_TRUE(settledInFront(window)) << k.command << "; " << whyNoMenu(player.id(), traced().size());
    before = traced().size();
    key(window, k.vk);
    EXPECT_EQ(tracedAfter(before, 1), (std::vector<std::string>{std::string("1 ") + k.command}));
    HWND menu = waitMenu(player.id(), kWaitMs);
    ASSERT_NE(menu, nullptr) << k.command << "; " << whyNoMenu(player.id(), before);
    key(menu, VK_ESCAPE);
    EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(menu); }, kWaitMs)) << k.command;
  }
  EXPECT_FALSE(IsIconic(window));

  // Insert runs "openfile". A modal box ("na") holds back hot keys and
  // tray clicks; a key posted after them marks where they were handled.
  before = traced().size();
  key(window, VK_INSERT);
  ASSERT_EQ(tracedAfter(before, 1), (std::vector<std::string>{"1 openfile"}));
  ASSERT_TRUE(sendCommand(window, "na"));
  HWND dialog = waitDialog(player.id(), kWaitMs);
  ASSERT_NE(dialog, nullptr) << "the box";
  EXPECT_FALSE(IsWindowEnabled(window));
  PostMessageA(window, WM_HOTKEY, 4, 0);  // Num5: toggleplay
  tray(window, 203, WM_LBUTTONUP);
  key(window, VK_RIGHT);
  EXPECT_EQ(tracedAfter(before, 3), (std::vector<std::string>{"1 openfile", "0 na", "1 next"}));
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { return IsWindowEnabled(window) != FALSE; }, kWaitMs));
  before = traced().size();
  PostMessageA(window, WM_HOTKEY, 4, 0);
  PostMessageA(window, WM_HOTKEY, 27, 0);  // Num/: nothing
  PostMessageA(window, WM_HOTKEY, 4, 0);
  EXPECT_EQ(tracedAfter(before, 2), (std::vector<std::string>{"1 toggleplay", "1 toggleplay"}));

  // Media keys while the window has the focus.
  before = traced().size();
  PostMessageA(window, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window), MAKELPARAM(0, APPCOMMAND_MEDIA_NEXTTRACK));
  PostMessageA(window, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window), MAKELPARAM(0, APPCOMMAND_MEDIA_PREVIOUSTRACK));
  EXPECT_EQ(tracedAfter(before, 2), (std::vector<std::string>{"1 next", "1 prev"}));

  // Tray buttons with both mouse buttons (source 2); those that open a menu
  // are closed again.
  struct TrayCase {
    UINT id, mouse;
    const char* command;
    bool menu;
  } clicks[] = {{202, WM_LBUTTONUP, "rewind:10", false},  {204, WM_LBUTTONUP, "forward:10", false},
                {202, WM_RBUTTONUP, "rewind:10", false},  {204, WM_RBUTTONUP, "forward:10", false},
                {201, WM_LBUTTONUP, "prev", false},       {205, WM_LBUTTONUP, "next", false},
                {200, WM_LBUTTONUP, "prevpl", false},     {206, WM_LBUTTONUP, "nextpl", false},
                {203, WM_LBUTTONUP, "toggleplay", false}, {203, WM_RBUTTONUP, "fadetoggleplay", false},
                {200, WM_RBUTTONUP, "l1menu", true},      {201, WM_RBUTTONUP, "l2menu", true},
                {205, WM_RBUTTONUP, "l2menu", true},      {206, WM_RBUTTONUP, "l1menu", true},
                {100, WM_RBUTTONUP, "sysmenu", true},     {203, WM_MOUSEMOVE, nullptr, false}};
  const size_t trayStart = traced().size();
  for (const TrayCase& c : clicks) {
    if (c.menu) {
      ASSERT_TRUE(settledInFront(window)) << c.id << "; " << whyNoMenu(player.id(), trayStart);
    }
    before = traced().size();
    tray(window, c.id, c.mouse);
    if (!c.command) continue;
    EXPECT_EQ(tracedAfter(before, 1), (std::vector<std::string>{std::string("2 ") + c.command})) << c.id;
    if (c.menu) {
      HWND menu = waitMenu(player.id(), kWaitMs);
      ASSERT_NE(menu, nullptr) << c.id << "; " << whyNoMenu(player.id(), trayStart);
      key(menu, VK_ESCAPE);
      EXPECT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(menu); }, kWaitMs));
    }
  }
  // Right click on 203 toggled with fades, the left click without: playing again.
  ASSERT_TRUE(zvtest::waitFor([&] { return label(window, 2) && !windowText(label(window, 2)).empty(); }, kWaitMs));

  // The full window ("minMode_0" 2 by default): a tray icon and a taskbar
  // button; minimizing is the usual one, and brings the tray buttons.
  EXPECT_TRUE(inTray(window, 100));
  EXPECT_FALSE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << "Topmost_0 is off by default";
  key(window, VK_ESCAPE);
  ASSERT_TRUE(zvtest::waitFor([&] { return IsIconic(window) != FALSE; }, kWaitMs));
  for (UINT id : {200u, 201u, 203u, 205u, 206u}) EXPECT_TRUE(inTray(window, id)) << id;
  for (UINT id : {202u, 204u}) EXPECT_FALSE(inTray(window, id)) << id << ": tbSeek is off";
  tray(window, 100, WM_LBUTTONUP);
  ASSERT_TRUE(zvtest::waitFor([&] { return !IsIconic(window); }, kWaitMs));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(inTray(window, 200)) << "the buttons go with the restore";

  // The mini window ("minMode_1" 1): no taskbar button, on top, and
  // minimizing hides it into the tray.
  ASSERT_TRUE(sendCommand(window, "rollup"));
  // The style changes while the window is hidden for a moment.
  ASSERT_TRUE(zvtest::waitFor(
      [&] { return (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && IsWindowVisible(window); }, kWaitMs));
  EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) << "Topmost_1 is on by default";
  EXPECT_FALSE(configValue("state0_left").empty()) << "the full window's place is kept";
  PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(window); }, kWaitMs));
  EXPECT_FALSE(IsIconic(window)) << "into the tray, not the taskbar";
  EXPECT_TRUE(inTray(window, 100));
  for (UINT id : {200u, 201u, 203u, 205u, 206u}) EXPECT_TRUE(inTray(window, id)) << id;
  tray(window, 100, WM_LBUTTONUP);
  ASSERT_TRUE(zvtest::waitFor([&] { return IsWindowVisible(window) != FALSE; }, kWaitMs));
  EXPECT_FALSE(inTray(window, 203));
  ASSERT_TRUE(sendCommand(window, "rollup"));
  ASSERT_TRUE(zvtest::waitFor(
      [&] { return !(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) && IsWindowVisible(window); }, kWaitMs));
  EXPECT_FALSE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT back{};
  GetWindowRect(window, &back);
  EXPECT_EQ(std::to_string(back.left), configValue("state0_left")) << "back at the full window's place";
  EXPECT_EQ(std::to_string(back.top), configValue("state0_top"));

  // Alt+Space opens the player's own system menu.
  before = traced().size();
  PostMessageA(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_EQ(tracedAfter(before, 1), (std::vector<std::string>{"0 sysmenu"}));
  if (HWND menu = waitMenu(player.id(), kWaitMs)) {
    key(menu, VK_ESCAPE);
    zvtest::waitFor([&] { return !IsWindowVisible(menu); }, kWaitMs);
  }

  // Time labels: playing, the position counts; the total has its time.
  HWND pos = label(window, 2), total = label(window, 3);
  ASSERT_NE(pos, nullptr);
  ASSERT_NE(total, nullptr);
  EXPECT_TRUE(zvtest::waitFor([&] { return windowText(total) == "0:12"; }, kWaitMs)) << windowText(total);

  // Power: suspend stops, the automatic resume plays again.
  before = traced().size();
  SendMessageA(window, WM_POWERBROADCAST, 4, 0);
  EXPECT_EQ(tracedAfter(before, 1), (std::vector<std::string>{"0 stop"}));
  // Stopped: the position text blinks (blank in the second half of 2 s).
  bool sawBlank = false, sawText = false;
  zvtest::waitFor([&] {
    const std::string t = windowText(pos);
    (t.empty() ? sawBlank : sawText) = true;
    return sawBlank && sawText;
  }, 5000);
  EXPECT_TRUE(sawBlank);
  EXPECT_TRUE(sawText);
  const size_t capturedBefore = zvtest::readFile(zvtest::captureFile()).size();
  SendMessageA(window, WM_POWERBROADCAST, 0x12, 0);
  EXPECT_EQ(tracedAfter(before, 2), (std::vector<std::string>{"0 stop", "0 play"}));
  EXPECT_TRUE(zvtest::waitFor([&] { return zvtest::readFile(zvtest::captureFile()).size() > capturedBefore + 44100 * 4; },
                              kWaitMs))
      << "playing again";
  // A resume with nothing suspended does nothing.
  before = traced().size();
  SendMessageA(window, WM_POWERBROADCAST, 7, 0);
  PostMessageA(window, WM_KEYDOWN, '3', 0);
  EXPECT_EQ(tracedAfter(before, 1), (std::vector<std::string>{"1 info"}));

  // A click on "pos" shows the remaining time.
  RECT r{};
  GetWindowRect(pos, &r);
  PostMessageA(pos, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  PostMessageA(pos, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(zvtest::waitFor([&] { return windowText(pos).rfind("-", 0) == 0; }, kWaitMs)) << windowText(pos);
  EXPECT_TRUE(zvtest::waitFor([&] { return configValue("remTime") == "1"; }, kWaitMs));

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
  EXPECT_FALSE(configValue("state1_left").empty()) << "the mini window's place is kept";
  EXPECT_TRUE(hotKeyFree(MOD_WIN, VK_NUMPAD5)) << "hot keys given back at the end";
}

TEST_F(MainWindow, otherMinModesADamagedHotkeyModAndNoScrolling) {
  setting("minMode_0", "3");
  setting("minMode_1", "0");
  setting("hotkeyMod", "9");
  setting("scrollTitle", "0");
  setting("l2Group", "1");
  const std::string media = zvtest::freshDir("media");
  writeMarkedWav(media, "a.wav", 1, 12);
  Player player(root_, {media});  // a folder: a group and its file
  ASSERT_TRUE(player.started());
  HWND window = waitMainWindow(kStartMs);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(zvtest::waitFor([] { return played(1); }, kStartMs));

  // A damaged "hotkeyMod" takes no key of the table, with or without a modifier.
  for (UINT vk : {UINT(VK_LEFT), UINT(VK_HOME), UINT(VK_INSERT), UINT('H'), UINT(VK_NUMPAD5)}) {
    EXPECT_TRUE(hotKeyFree(0, vk)) << vk;
    EXPECT_TRUE(hotKeyFree(MOD_WIN, vk)) << vk;
  }
  // No scrolling: no caption over several ticks is turned or has the gap.
  std::string seen;
  EXPECT_FALSE(captionScrolls(window, &seen)) << seen;
  EXPECT_EQ(windowText(window).find("\x96"), std::string::npos) << windowText(window);

  // "l2Group": the file line holds the group too, joined by the em dash.
  HWND file = label(window, 1);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(zvtest::waitFor([&] { return windowText(file).find("\x97") != std::string::npos; }, kWaitMs))
      << windowText(file);

  // A right click on the file line opens the in-place description editor
  // over it (control 2000).
  PostMessageA(file, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
  PostMessageA(file, WM_RBUTTONUP, 0, MAKELPARAM(3, 3));
  HWND edit = nullptr;
  ASSERT_TRUE(zvtest::waitFor([&] { return (edit = GetDlgItem(window, 2000)) && IsWindowVisible(edit); }, kWaitMs));
  RECT editRect{}, fileRect{};
  GetWindowRect(edit, &editRect);
  GetWindowRect(file, &fileRect);
  EXPECT_EQ(editRect.left, fileRect.left);
  EXPECT_EQ(editRect.top, fileRect.top);

  // minMode 3: tray icon and taskbar button; minimizing hides into the tray.
  EXPECT_TRUE(inTray(window, 100));
  EXPECT_FALSE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { return !IsWindowVisible(window); }, kWaitMs));
  EXPECT_TRUE(inTray(window, 206));
  tray(window, 100, WM_LBUTTONUP);
  ASSERT_TRUE(zvtest::waitFor([&] { return IsWindowVisible(window) != FALSE; }, kWaitMs));

  // The mini window with minMode 0: no tray icon at all; the usual minimize.
  ASSERT_TRUE(sendCommand(window, "rollup"));
  ASSERT_TRUE(zvtest::waitFor([&] { return !inTray(window, 100); }, kWaitMs));
  PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { return IsIconic(window) != FALSE; }, kWaitMs));
  EXPECT_FALSE(inTray(window, 100));
  EXPECT_FALSE(inTray(window, 203)) << "no tray, no tray buttons";
  PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(zvtest::waitFor([&] { return !IsIconic(window); }, kWaitMs));

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(player.waitExit(kStartMs), 0);
}

}  // namespace
