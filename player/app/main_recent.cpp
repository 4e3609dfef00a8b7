// The recent list: what the open dialogs enter, kept in "recent.dat".
#include "main_window.h"
#include "openfile/open_file_rules.h"
#include "startup/stored_playlists.h"

namespace zv {

namespace {
// Enough for a menu that still fits on the screen.
constexpr int kRecentLimit = 20;
}  // namespace

void TMainWnd::enterRecent(const std::string& location) {
  if (!recent_) return;
  openfile::enterRecent(recent_, location, kRecentLimit);
  if (recentLoad_.saveAllowed()) saveStoredPlaylist(recent_, dirs_.userData + "\\recent.dat");
}

}  // namespace zv
