// The playlist editor's context menu, built from the capabilities of the
// line it was opened on, and the commands it and the keys run.
#pragma once
#include <string>
#include <vector>

#include "menus/menu_model.h"
#include "zv_playlist.h"

namespace zv::editor {

struct MenuSources {
  std::vector<char> cdDrives;              // drive letters
  std::vector<std::string> recent, favorites;  // locations
};

// Items (captions are localised texts) for line `line` (-1: no line).
std::vector<MenuItem> contextMenuFor(Playlist pl, int32_t line, const MenuSources& sources);

// Fixed command identifiers (WM_COMMAND) of the editor's own commands; 0 for
// a command without one ("add:" + location gets its identifier per menu).
unsigned commandIdOf(const std::string& command);
// The command of a fixed identifier, or "".
std::string commandOfId(unsigned id);
inline constexpr unsigned kFirstDynamicId = 41000;

}  // namespace zv::editor
