// The main window's input: the key table on the keyboard and as hot keys,
// the media keys, the tray icon and buttons, the taskbar's thumbnail
// buttons, minimizing and restoring, the system menu, power events, and the
// applying of the settings. The rules live in input/ and tray/; this file
// only turns messages into them.
#include <windows.h>

#include <cstring>

#include "commands/command_table.h"
#include "input/key_table.h"
#include "main_window.h"
#include "menus/menu_definitions.h"
#include "menus/menu_model.h"
#include "menus/open_mode.h"
#include "menus/win_menu.h"
#include "tray/tray_rules.h"
#include "zv_config.h"
#include "zv_lang.h"
#include "zv_mixer.h"

namespace zv {
namespace {

std::string stateKey(int state, const char* part) { return "state" + std::to_string(state) + part; }

bool isNt5() {
  const DWORD v = GetVersion();
  return (v & 0x80000000u) == 0 && LOBYTE(LOWORD(v)) >= 5;
}

// The other windows of the player that minimizing hides: visible top-level
// windows of this thread, but not tooltips nor the volume indicator.
struct OtherWindows {
  HWND main;
  std::vector<HWND> found;
};

BOOL CALLBACK collectOtherWindow(HWND w, LPARAM p) {
  auto* walk = reinterpret_cast<OtherWindows*>(p);
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof(cls));
  if (w != walk->main && IsWindowVisible(w) && lstrcmpiA(cls, "tooltips_class32") != 0 &&
      lstrcmpA(cls, "ZV_VolumeIndicator") != 0)
    walk->found.push_back(w);
  return TRUE;
}

std::vector<HWND> otherWindows(HWND main) {
  OtherWindows walk{main, {}};
  EnumThreadWindows(GetCurrentThreadId(), collectOtherWindow, reinterpret_cast<LPARAM>(&walk));
  return walk.found;
}

}  // namespace

// ---- Keys ----

bool TMainWnd::onKeyDown(WPARAM vk) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const KeyDecision d = decideKey(static_cast<UINT>(vk), ctrl);
  switch (d.action) {
    case KeyAction::minimize:
      minimizeWindow(GetKeyState(VK_SHIFT) < 0);
      return true;
    case KeyAction::debugConsole:
      // The console shows the diagnostic lines of both the program and the
      // engine; "hidecon" closes it.
      if (!GetConsoleWindow() && AllocConsole()) SetConsoleTitleA("Zorvak");
      return true;
    case KeyAction::command:
      runInput(d.command, sourceKeyboard);
      return true;
    case KeyAction::none:
      break;
  }
  // Beyond the table: Space toggles playback, F1 opens the help.
  if (commands_ && (vk == VK_SPACE || vk == VK_F1)) {
    runCommand(*commands_, vk == VK_SPACE ? "toggleplay" : "help", sourceKeyboard);
    updatePlayButton();
    return true;
  }
  return false;
}

// A modal dialog disables the main window: hot keys wait until it is gone.
void TMainWnd::onHotKey(int id) {
  if (!commands_ || closing_ || !IsWindowEnabled(hwnd())) return;
  if (const char* command = commandForHotKey(id)) runInput(command, sourceKeyboard);
}

bool TMainWnd::onAppCommand(LPARAM lParam) {
  const char* command = commandForAppCommand(GET_APPCOMMAND_LPARAM(lParam));
  if (!command || !commands_ || !IsWindowEnabled(hwnd())) return false;
  runInput(command, sourceKeyboard);
  return true;
}

void TMainWnd::runInput(const char* command, int32_t source) {
  if (!commands_ || !command) return;
  runCommand(*commands_, command, source);
  updatePlayButton();
  if (std::strcmp(command, "volup") == 0 || std::strcmp(command, "voldown") == 0) showVolume();
}

void TMainWnd::showVolume() {
  if (volumeControl_ == -1) return;
  int32_t volume = 0, balance = 0;
  getVolume(volumeControl_, &volume, &balance);
  volumeIndicator_.show(volume, muteControl_ != -1 && getMute(muteControl_) != 0);
}

// ---- Tray and taskbar ----

// Shown when asked for (a hidden window is reached through it) or when the
// state's "minMode_" keeps one.
void TMainWnd::showTrayIcon(bool on) {
  const int state = stateNumber();
  const bool kept = minModeBehaviour(configInt(("minMode_" + std::to_string(state)).c_str(), defaultMinMode(state))).trayIcon;
  tray_.attach(hwnd());
  tray_.setTip(title_.title());
  tray_.showMain(on || kept);
}

void TMainWnd::onTrayIcon(UINT id, UINT mouse) {
  if (!IsWindowEnabled(hwnd())) {
    // A modal dialog is open: only bring it forward.
    if (mouse == WM_LBUTTONUP || mouse == WM_RBUTTONUP) SetForegroundWindow(GetLastActivePopup(hwnd()));
    return;
  }
  const TrayClickAction a = trayClickAction(id, mouse);
  if (a.kind == TrayClick::restore) {
    restoreWindow();
  } else if (a.kind == TrayClick::command) {
    runInput(a.command, sourceButton);
  }
}

void TMainWnd::onThumbButton(UINT id) {
  if (const char* command = thumbButtonCommand(id); command && commands_ && IsWindowEnabled(hwnd())) {
    runCommand(*commands_, command, sourceButton);
    updatePlayButton();
  }
}

// The tray icon and the taskbar button of the state shown. Without a
// taskbar button the window is a tool window; the style takes effect when
// the window is shown again.
void TMainWnd::applyMinMode() {
  const int state = stateNumber();
  const MinModeBehaviour b = minModeBehaviour(configInt(("minMode_" + std::to_string(state)).c_str(), defaultMinMode(state)));
  showTrayIcon(!IsWindowVisible(hwnd()));
  const LONG_PTR ex = GetWindowLongPtrA(hwnd(), GWL_EXSTYLE);
  const LONG_PTR wanted = b.taskbarButton ? (ex & ~WS_EX_TOOLWINDOW) | WS_EX_APPWINDOW : (ex | WS_EX_TOOLWINDOW) & ~WS_EX_APPWINDOW;
  if (wanted == ex) return;
  const bool visible = IsWindowVisible(hwnd());
  if (visible) ShowWindow(hwnd(), SW_HIDE);
  SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, wanted);
  if (visible) ShowWindow(hwnd(), SW_SHOWNA);
}

// ---- Window states ----

void TMainWnd::minimizeWindow(bool keepOthers) {
  if (minimized_) return;
  const int state = stateNumber();
  const int minMode = configInt(("minMode_" + std::to_string(state)).c_str(), defaultMinMode(state));
  const MinModeBehaviour b = minModeBehaviour(minMode);
  minimized_ = true;
  storeStatePosition();
  if (!keepOthers) {
    hiddenOthers_ = otherWindows(hwnd());
    for (HWND w : hiddenOthers_) ShowWindow(w, SW_HIDE);
  }
  // With no tray icon at all (minMode 0) there is no tray to put buttons in.
  if (b.trayIcon) tray_.setButtons(trayButtonsToAdd(readTrayButtonSettings(), trayAddsNewestFirst()));
  if (b.minimizeToTray) {
    showTrayIcon(true);
    ShowWindow(hwnd(), SW_HIDE);
  } else {
    ShowWindow(hwnd(), SW_MINIMIZE);
  }
}

void TMainWnd::restoreWindow() {
  if (!minimized_) {
    SetForegroundWindow(GetLastActivePopup(hwnd()));
    return;
  }
  minimized_ = false;
  tray_.setButtons({});
  if (IsIconic(hwnd()))
    ShowWindow(hwnd(), SW_RESTORE);
  else
    ShowWindow(hwnd(), SW_SHOW);
  for (HWND w : std::exchange(hiddenOthers_, {}))
    if (IsWindow(w)) ShowWindow(w, SW_SHOWNA);
  applyMinMode();
  SetForegroundWindow(hwnd());
}

bool TMainWnd::onSysCommand(WPARAM command) {
  switch (command & 0xFFF0) {
    case SC_MINIMIZE:
      minimizeWindow(GetKeyState(VK_SHIFT) < 0);
      return true;
    case SC_RESTORE:
      if (!minimized_) return false;
      restoreWindow();
      return true;
    case SC_KEYMENU:
    case SC_MOUSEMENU:
      // Alt+Space and the system menu open the player's own menu.
      if (commands_) runCommand(*commands_, "sysmenu", sourceProgram);
      return true;
    default:
      return false;
  }
}

void TMainWnd::storeStatePosition() {
  if (!hwnd() || IsIconic(hwnd()) || !IsWindowVisible(hwnd())) return;
  RECT r;
  GetWindowRect(hwnd(), &r);
  setConfigInt(stateKey(stateNumber(), "_left").c_str(), r.left);
  setConfigInt(stateKey(stateNumber(), "_top").c_str(), r.top);
}

void TMainWnd::moveToStatePosition() {
  const int32_t left = configInt(stateKey(stateNumber(), "_left").c_str(), INT32_MIN);
  const int32_t top = configInt(stateKey(stateNumber(), "_top").c_str(), INT32_MIN);
  if (left != INT32_MIN && top != INT32_MIN)
    SetWindowPos(hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const bool topmost = configBool(("Topmost_" + std::to_string(stateNumber())).c_str(),
                                  defaultTopmost(stateNumber()) ? ZV_TRUE : ZV_FALSE) != 0;
  SetWindowPos(hwnd(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- Power ----

void TMainWnd::onPowerBroadcast(WPARAM event) {
  if (!seq_ || !commands_) return;
  // "Playing now" is the user's play state: a stopped stream may still be
  // open (its fade, its record) without anything playing.
  const bool playing = seq_->playIntent();
  switch (power_.onEvent(static_cast<unsigned>(event), playing, playing)) {
    case PowerAction::stop:
      runCommand(*commands_, "stop", sourceProgram);
      break;
    case PowerAction::play:
      runCommand(*commands_, "play", sourceProgram);
      break;
    case PowerAction::none:
      break;
  }
  updatePlayButton();
}

// ---- Drops ----

void TMainWnd::registerDropTarget() {
  // OLE drag and drop needs OLE on this thread; a failure leaves the window
  // without drops, as a system without OLE would.
  if (FAILED(OleInitialize(nullptr))) return;
  DropHandlers h;
  h.accepting = [this] { return !closing_ && seq_ && IsWindowEnabled(hwnd()); };
  h.askMode = [this](POINT at) -> std::optional<OpenMode> {
    std::vector<MenuItem> items = buildMenu(openModeMenuDefinition(), [](const std::string&) -> std::optional<std::string> { return std::nullopt; },
                                            [](const std::string&) { return std::string(); });
    PopupMenu popup = buildPopupMenu(items, [this](const std::string& t) { return text(t.c_str()); });
    OwnerDrawnMenu styled(popup.menu.get(), menuLook());
    SetForegroundWindow(hwnd());
    const unsigned id = static_cast<unsigned>(
        TrackPopupMenu(popup.menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr));
    PostMessageA(hwnd(), WM_NULL, 0, 0);
    return openModeFromMenuCommand(popup.commandOf(id));
  };
  h.openFiles = [this](const std::vector<std::string>& files, OpenMode mode) {
    seq_->beginOpen(mode);
    for (const std::string& f : files) seq_->addItem(f, mode);
    seq_->endOpen(mode);
    updatePlayButton();
  };
  // No playlist editor is open in this window's process yet: no line can
  // belong to a live one.
  h.editorLine = [](const DragRecord&) { return false; };
  h.listItem = [this](const DragRecord& r, OpenMode mode) { return dropListItem(r, mode); };
  drop_ = std::make_unique<DropTarget>(std::move(h));
  if (FAILED(RegisterDragDrop(hwnd(), drop_.get()))) drop_.reset();
}

// An entry of the group (list 1) or file (list 2) menu names a line of the
// current playlist; one of the favourites (3) or recent (4) menus an item
// by its "open:" command. Each is checked against the playlist it names.
bool TMainWnd::dropListItem(const DragRecord& r, OpenMode mode) {
  if (!seq_ || !current_) return false;
  const std::string command = r.command;
  if (r.list == 3 || r.list == 4) {
    Playlist pl = r.list == 3 ? favorites_ : recent_;
    if (!pl || command.rfind("open:", 0) != 0 || r.line < 0 || r.line >= plGetCount(pl)) return false;
    const std::string item = command.substr(5);
    if (lstrcmpiA(plGetName(pl, r.line), item.c_str()) != 0) return false;
    seq_->beginOpen(mode);
    seq_->addItem(item, mode);
    seq_->endOpen(mode);
  } else if (r.list == 1 || r.list == 2) {
    if (r.line < 0 || r.line >= plGetCount(current_)) return false;
    seq_->selectLine(r.line, false);
  } else {
    return false;
  }
  updatePlayButton();
  return true;
}

// ---- Settings ----

void TMainWnd::applySettings() {
  display_ = readDisplaySettings(isNt5());
  hotKeys_.apply(hwnd(), display_.hotkeyMod);
  if (minimized_) {
    const int state = stateNumber();
    if (minModeBehaviour(configInt(("minMode_" + std::to_string(state)).c_str(), defaultMinMode(state))).trayIcon)
      tray_.setButtons(trayButtonsToAdd(readTrayButtonSettings(), trayAddsNewestFirst()));
  }
  applyMinMode();
  title_.setTitle(title_.title(), display_.scrollTitle);
  SetWindowTextA(hwnd(), title_.caption().c_str());
  if (!display_.trayAnim) tray_.setFrame(1);
  char language[260];
  configString("Lang", language, "en");
  if (language != lang_.language()) {
    lang_.writeBack();
    lang_.setLanguage(dirs_.root + "\\lang", language, "messages.dat");
    setEngineLang((dirs_.root + "\\lang").c_str(), language, "engine.dat");
  }
  applyTooltips();
  updateLines();
}

}  // namespace zv
