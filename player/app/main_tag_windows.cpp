// The main window's tag windows: the file information
// window and the CD database window, each created on first use and kept for
// the player's lifetime.
#include "cddb_wnd.h"
#include "info_wnd.h"
#include "main_window.h"
#include "startup/tool_windows.h"
#include "progress_wnd.h"
#include "zvid3.h"

namespace zv {

void TMainWnd::showInfoWindow(const std::string& path, bool followCurrent) {
  if (!infoWnd_) {
    auto window = std::make_unique<info::TInfoWnd>(dirs_.root, language());
    if (!window->create(hwnd())) return;
    infoWnd_ = std::move(window);
  }
  infoWnd_->setFollowsCurrent(followCurrent);
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

// "info" and "cddb" through the registry of tool windows; the window pointer
// is the main window the command came to (there is one per program).
namespace {

TMainWnd* g_main = nullptr;

bool shown(HWND window) { return window && IsWindowVisible(window); }

[[maybe_unused]] const bool infoRegistered = registerToolWindow(
    "info", "open_info",
    [](TMainWnd& main) {
      g_main = &main;
      main.showInfoWindow(main.sequencer().curFileName(), true);
    },
    // Reopened at the next start only when it followed the current file (a
    // window showing an editor's line has nothing to come back to).
    [] {
      return g_main && g_main->infoWindow() && shown(g_main->infoWindow()->hwnd()) &&
             g_main->infoWindow()->followsCurrent();
    },
    [] { if (g_main) g_main->closeToolWindows(); });

[[maybe_unused]] const bool cddbRegistered = registerToolWindow(
    "cddb", "open_cddb",
    [](TMainWnd& main) {
      g_main = &main;
      main.showCddbWindow();
    },
    [] { return g_main && g_main->cddbWindow() && shown(g_main->cddbWindow()->hwnd()); },
    [] { if (g_main) g_main->closeToolWindows(); });

}  // namespace

}  // namespace zv
