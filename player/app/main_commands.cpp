#include "main_commands.h"

#include <windows.h>
#include <shellapi.h>

#include "commands/command_table.h"
#include "main_window.h"
#include "menus/doc_lookup.h"
#include "startup/tool_windows.h"
#include "tray/tray_rules.h"
#include "zv_config.h"

namespace zv {

void MainCommands::show(C) {
  if (wnd_.minimized()) {
    wnd_.restoreWindow();
    return;
  }
  ShowWindow(wnd_.hwnd(), IsIconic(wnd_.hwnd()) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(wnd_.hwnd());
}

// Hidden, the player is reached through its tray icon.
void MainCommands::hideAll(C) {
  if (IsWindowVisible(wnd_.hwnd())) {
    ShowWindow(wnd_.hwnd(), SW_HIDE);
    wnd_.showTrayIcon(true);
  } else {
    wnd_.showTrayIcon(false);
    ShowWindow(wnd_.hwnd(), SW_SHOW);
    SetForegroundWindow(wnd_.hwnd());
  }
}

void MainCommands::rollUp(C) { wnd_.switchState(); }

// Through the system command, as the skin's button and the system menu go.
void MainCommands::minimize(C) { PostMessageA(wnd_.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0); }

// Posted, so that a command arriving inside a hand-over or a button press
// finishes before the window goes.
void MainCommands::close(C) { PostMessageA(wnd_.hwnd(), WM_CLOSE, 0, 0); }

void MainCommands::onTop(C) {
  const std::string key = std::string("Topmost_") + (wnd_.mini() ? "1" : "0");
  const bool on = !configBool(key.c_str(), defaultTopmost(wnd_.mini() ? 1 : 0) ? ZV_TRUE : ZV_FALSE);
  setConfigBool(key.c_str(), on ? ZV_TRUE : ZV_FALSE);
  SetWindowPos(wnd_.hwnd(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainCommands::listMenu(C c) { wnd_.showMenu(c.name()); }
void MainCommands::popupMenu(C c) { wnd_.showMenu(c.name()); }

void MainCommands::openItem(C c) {
  if (c.argument.empty()) return;
  const OpenMode mode = openModeOf(c);
  Sequencer& seq = wnd_.sequencer();
  seq.beginOpen(mode);
  seq.addItem(c.argument, mode);
  seq.endOpen(mode);
}

void MainCommands::skin(C c) {
  if (!c.argument.empty()) wnd_.changeSkin(c.argument);
}

void MainCommands::help(C) {
  // The help file lies with the other documents of the language; without a
  // viewer for it, its pages are there as plain HTML.
  for (const std::string& path : helpCandidates(wnd_.dirs().root, wnd_.language()))
    if (reinterpret_cast<INT_PTR>(ShellExecuteA(wnd_.hwnd(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32)
      return;
  MessageBoxA(wnd_.hwnd(),
              wnd_.text("NoHHCtrl###Your Zorvak installation kit doesn't include the help. You can download it from "
                        "Zorvak web site.").c_str(),
              "Zorvak", MB_ICONINFORMATION);
}

void MainCommands::document(C c) {
  static const struct {
    const char* command;
    const char* file;
  } kDocs[] = {{"readme", "readme.html"}, {"history", "history.html"}, {"website", "website.url"}, {"mailto", "mailto.url"}};
  for (const auto& d : kDocs) {
    if (c.name() != std::string(d.command)) continue;
    if (auto path = findDocument(wnd_.dirs().root, wnd_.language(), d.file)) {
      ShellExecuteA(wnd_.hwnd(), "open", path->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    } else {
      MessageBoxA(wnd_.hwnd(), missingDocumentMessage(d.file).c_str(), "Zorvak", MB_ICONWARNING);
    }
  }
}

void MainCommands::toolWindow(C c) {
  const ToolWindow* window = toolWindows().find(c.name());
  if (!window) return;
  if (IsIconic(wnd_.hwnd())) ShowWindow(wnd_.hwnd(), SW_RESTORE);
  window->open(wnd_);
}
// The display menu's settings and its plug-ins ("_vis:", "_cfg:").
void MainCommands::display(C c) { wnd_.applyDisplayCommand(std::string(c.name()) + c.argument); }
void MainCommands::vis(C c) { wnd_.startVisPlugin(c.argument); }

void MainCommands::notAvailable(C) {
  MessageBoxA(wnd_.hwnd(), "This feature is not yet implemented", "Zorvak", MB_ICONINFORMATION);
}

// ---- Playlist editors ----

editor::EditorSet& MainCommands::editors() {
  if (!editors_) {
    editorHost_ = std::make_unique<MainEditorHost>(wnd_);
    editors_ = std::make_unique<editor::EditorSet>(*editorHost_);
  }
  return *editors_;
}

void MainCommands::newPlaylistEditor(C) { editors().openLocation(""); }

void MainCommands::editPlaylist(C) {
  const std::string filter = wnd_.text("Playlists###Playlists") + " (*.m3u, *.m3u8, *.pls, *.aap, *.z3u)|*.m3u;*.m3u8;*.pls;*.aap;*.z3u";
  if (auto file = editor::systemEditorDialogs().openPlaylist(wnd_.hwnd(), filter)) editors().openLocation(*file);
}

void MainCommands::editCurrentPlaylist(C) { editors().openMain(); }

void MainCommands::editDirectory(C) {
  char folder[MAX_PATH] = {};
  configString("lastEditDir", folder, "");
  if (selectFolder(wnd_.hwnd(), wnd_.text("EditDir###Edit directory").c_str(), folder) && folder[0]) {
    setConfigString("lastEditDir", folder);
    editors().openLocation(folder);
  }
}

void MainCommands::editItem(C c) {
  if (!c.argument.empty()) editors().openLocation(c.argument);
}

}  // namespace zv

