// The main window's tool windows of its own folders: the file information
// window and the CD database window, each created on first use and kept for
// the player's lifetime.
#include "cddb_wnd.h"
#include "info_wnd.h"
#include "main_window.h"
#include "progress_wnd.h"
#include "zvid3.h"

namespace zv {

void TMainWnd::showInfoWindow(const std::string& path) {
  if (!infoWnd_) {
    auto window = std::make_unique<info::TInfoWnd>(dirs_.root, language());
    if (!window->create(hwnd())) return;
    infoWnd_ = std::move(window);
  }
  infoWnd_->showFile(path);
  ShowWindow(infoWnd_->hwnd(), SW_SHOW);
  SetForegroundWindow(infoWnd_->hwnd());
}

void TMainWnd::showCddbWindow() {
  if (!cddbWnd_) {
    auto window = std::make_unique<cddb::TCDDBWnd>(dirs_.root, language());
    if (!window->create(hwnd(), seq_ ? seq_->curFileName() : std::string())) return;
    cddbWnd_ = std::move(window);
  }
  ShowWindow(cddbWnd_->hwnd(), SW_SHOW);
  SetForegroundWindow(cddbWnd_->hwnd());
}

void TMainWnd::closeToolWindows() {
  // Their destructors save what is pending.
  infoWnd_.reset();
  cddbWnd_.reset();
}

void TMainWnd::runDeferredTagWrites() {
  info::setProgressHome(hwnd(), dirs_.root);
  id3v2DoBatch(info::tagProgress);
}

void MainCommands::toolWindow(C c) {
  const std::string name = c.name();
  if (name != "info" && name != "cddb") return;
  // The main window comes back first, then the tool window in front of it.
  if (IsIconic(wnd_.hwnd())) ShowWindow(wnd_.hwnd(), SW_RESTORE);
  if (name == "info") wnd_.showInfoWindow(wnd_.sequencer().curFileName());
  else wnd_.showCddbWindow();
}

}  // namespace zv
