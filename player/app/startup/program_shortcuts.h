// The icon commands of the settings' file-types page: shortcuts to the
// player's launcher on the desktop ("idesk"), in the Start menu ("istart"),
// as a group of its own under Programs ("iprg") and in the Quick Launch area
// ("iql"). No installer stays behind to do this, so the player writes the
// shell links itself. Each shortcut starts "<root>\zorvak.exe" (the launcher,
// so a second start hands its items to the running player) in the root
// folder, with the player's own icon.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

enum class ShortcutPlace { desktop, startMenu, programsGroup, quickLaunch };

struct ShortcutCommand {
  const char* command;  // "idesk"
  const char* caption;  // the menu's localised text
  ShortcutPlace place;
};
// The four commands in the order their menu lists them.
const std::vector<ShortcutCommand>& shortcutCommands();
std::optional<ShortcutPlace> shortcutPlaceOf(std::string_view command);

// What a shell link holds.
struct ShortcutLink {
  std::string target, arguments, workingDir, iconFile, description;
  int iconIndex = 0;
};

// Writes a shell link file (replacing one of that name); S_OK or the
// failing call's result.
HRESULT writeShortcut(const std::string& linkPath, const ShortcutLink& link);
// Reads a shell link file back; nothing when it cannot be loaded.
std::optional<ShortcutLink> readShortcut(const std::string& linkPath);

// The current user's folder of a place (for the programs group, the
// Programs folder the group goes into); "" when the system has none.
std::string shortcutFolder(ShortcutPlace place);

// The link files one place receives, with their contents: the player
// ("Zorvak.lnk"); the programs group "Zorvak" adds the read-me when the
// root has one.
struct PlannedShortcut {
  std::string path;
  ShortcutLink link;
};
std::vector<PlannedShortcut> plannedShortcuts(ShortcutPlace place, const std::string& folder,
                                              const std::string& playerExe);

// Runs an icon command: the links of its place in the folder that
// `folderOf` names (shortcutFolder by default). S_OK, or the first failure
// (E_FAIL when the place has no folder).
HRESULT addProgramShortcuts(ShortcutPlace place, const std::string& playerExe,
                            const std::function<std::string(ShortcutPlace)>& folderOf = shortcutFolder);

}  // namespace zv
