// The rules of the tray icon, the tray buttons and minimizing, apart from
// any window: what each "minMode_" gives, which buttons show and in what
// order, and what a click on each runs.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace zv {

constexpr UINT kTrayIconId = 100;
constexpr UINT kMsgTrayIcon = 1025;
constexpr UINT kFirstTrayButton = 200, kLastTrayButton = 206;

// What "minMode_" + n asks for.
struct MinModeBehaviour {
  bool trayIcon = false;
  bool taskbarButton = true;
  bool minimizeToTray = false;  // hide into the tray instead of the usual minimize
};
MinModeBehaviour minModeBehaviour(int minMode);
// Defaults of the window state n (0 full, 1 mini).
int defaultMinMode(int state);
bool defaultTopmost(int state);

// "tbPlaylist", "tbFile", "tbSeek", "tbPlay".
struct TrayButtonSettings {
  bool playlist = true, file = true, seek = false, play = true;
};
TrayButtonSettings readTrayButtonSettings();
// The buttons shown, in the order they are added: 200 to 206, or from 206
// down to 200 on NT 5.1 and later, whose tray lists the newest icon first
// (so they read left to right as previous ... next).
std::vector<UINT> trayButtonsToAdd(const TrayButtonSettings& settings, bool newestFirst);
// Whether this system's tray puts the newest icon first (NT 5.1 or later).
bool trayAddsNewestFirst();

// A click on a tray icon or button: the command to run (source 2), or one
// of the two window actions of the main icon.
enum class TrayClick { none, command, restore };
struct TrayClickAction {
  TrayClick kind = TrayClick::none;
  const char* command = nullptr;
};
// `mouseMessage` is the callback's lParam (WM_LBUTTONUP, WM_RBUTTONUP, ...).
TrayClickAction trayClickAction(UINT id, UINT mouseMessage);

// The tip and balloon texts fit the shell's fields (63 and 255 bytes).
std::string trayTip(const std::string& title);

}  // namespace zv
