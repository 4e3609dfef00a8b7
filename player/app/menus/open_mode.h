// How a drop or an auto-play request picks its OpenMode when no menu asks:
// Ctrl held gives add and play (3), Shift add (1), neither a new playlist (0).
#pragma once
#include <optional>
#include <string>

#include "zv_playback.h"

namespace zv {

OpenMode openModeForModifiers(bool ctrl, bool shift);
// The command of an item of the open-mode menu ("0", "8", "1", "3") as an
// OpenMode; nullopt for anything else.
std::optional<OpenMode> openModeFromMenuCommand(const std::string& command);
// The auto-play window's choice: new playlist 0, replace 8, add 1 (plus 2
// when "Start playing" is ticked, which only counts with add).
enum class AutoplayChoice { newPlaylist, replace, add };
OpenMode openModeForAutoplay(AutoplayChoice choice, bool startPlaying);

}  // namespace zv
