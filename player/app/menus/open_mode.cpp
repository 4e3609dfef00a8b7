#include "menus/open_mode.h"

namespace zv {

OpenMode openModeForModifiers(bool ctrl, bool shift) {
  if (ctrl) return ZV_OPEN_ADD | ZV_OPEN_PLAY;
  if (shift) return ZV_OPEN_ADD;
  return ZV_OPEN_NEW_PLAYLIST;
}

std::optional<OpenMode> openModeFromMenuCommand(const std::string& command) {
  if (command == "0") return ZV_OPEN_NEW_PLAYLIST;
  if (command == "8") return ZV_OPEN_REPLACE;
  if (command == "1") return ZV_OPEN_ADD;
  if (command == "3") return ZV_OPEN_ADD | ZV_OPEN_PLAY;
  return std::nullopt;
}

OpenMode openModeForAutoplay(AutoplayChoice choice, bool startPlaying) {
  switch (choice) {
    case AutoplayChoice::replace: return ZV_OPEN_REPLACE;
    case AutoplayChoice::add: return startPlaying ? OpenMode{ZV_OPEN_ADD | ZV_OPEN_PLAY} : OpenMode{ZV_OPEN_ADD};
    case AutoplayChoice::newPlaylist: break;
  }
  return ZV_OPEN_NEW_PLAYLIST;
}

}  // namespace zv
