// The definition texts of the main window's menus, with the state that
// decides their ticks and variable items passed in.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace zv {

struct SequenceMenuState {
  bool loop1 = false, loop2 = false, shuffle = false;
  int32_t groupMode = 0;
};

// A location offered in a menu: its caption (description, or the name) and its name.
struct MenuLocation {
  std::string caption;
  std::string name;
  bool playlistOrFolder = false;
};

std::string sysMenuDefinition();
std::string seqMenuDefinition(const SequenceMenuState& state);
// `cdDrives`: drive letters of the CD drives, in order.
std::string openMenuDefinition(const std::string& cdDrives);
std::string plMenuDefinition(const std::string& cdDrives);
std::string toolsMenuDefinition(bool consoleExists, bool onTop);
std::string skinMenuDefinition(const std::vector<std::string>& skins, const std::string& current);
std::string helpMenuDefinition();
std::string addFavMenuDefinition();
// "recent" (prefix "open:"), "open:recent" ("open:") and "edit:recent" ("edit:").
std::string recentMenuDefinition(const std::vector<MenuLocation>& recent, const std::string& prefix);
// The open choices below a "/" item whose command is `command` ("open:X",
// "open2:X" for favourites, "open3:X").
std::string openChoicesDefinition(const std::string& command, bool playlistOrFolder);
// The favourites, then "Open all" and "Add"; "<No files opened>" when empty.
std::string favMenuDefinition(const std::vector<MenuLocation>& favorites, const std::string& favoritesFile);
// The open-mode menu of a drop: commands are the OpenMode values.
std::string openModeMenuDefinition();

// Display menu: `mode` of the visData record (0 scope, 1 spectrum, 2 off),
// `bars` when the spectrum is drawn as bitmap bars.
std::string visMenuDefinition(int32_t mode, bool bars);
// "_vis" / "_cfg": the visualisation plug-ins ("_vis" ends with "Off").
std::string visPluginMenuDefinition(const std::vector<MenuLocation>& plugins, bool configure);

// Definition text of a named menu from the fixed set (sysmenu, helpmenu,
// addfav, the vis submenus of fixed content); nullopt for other names.
std::optional<std::string> fixedMenuDefinition(const std::string& name);
// The localised title of a menu ("Tools###Tools" for "toolsmenu"), or "".
std::string menuTitle(const std::string& name);

}  // namespace zv
