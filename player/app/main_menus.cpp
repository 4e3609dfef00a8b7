// The main window's popup menus: their definition texts come from the menu
// units, filled with what the window knows (settings, drives, skins, the
// playlists); the list menus (groups, files) choose a line.
#include <windows.h>

#include "commands/command_table.h"
#include "main_window.h"
#include "menus/list_status.h"
#include "menus/menu_definitions.h"
#include "menus/win_menu.h"
#include "tray/tray_rules.h"
#include "zv_config.h"

namespace zv {
namespace {

std::string cdDrives() {
  std::string drives;
  const DWORD mask = GetLogicalDrives();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (!(mask & (1u << (letter - 'A')))) continue;
    const char root[] = {letter, ':', '\\', 0};
    if (GetDriveTypeA(root) == DRIVE_CDROM) drives += letter;
  }
  return drives;
}

std::vector<std::string> skinFolders(const std::string& root) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  UniqueFind find(FindFirstFileA((root + "\\skins\\*").c_str(), &data));
  if (!find) return names;
  do {
    const std::string name = data.cFileName;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..") continue;
    if (GetFileAttributesA((root + "\\skins\\" + name + "\\main.skn").c_str()) != INVALID_FILE_ATTRIBUTES)
      names.push_back(name);
  } while (FindNextFileA(find.get(), &data));
  return names;
}

std::vector<MenuLocation> locations(Playlist pl) {
  std::vector<MenuLocation> out;
  const int32_t count = pl ? plGetCount(pl) : 0;
  for (int32_t i = 0; i < count; ++i) {
    const PlaylistLine* rec = plGetRec(pl, i);
    const char* name = plGetName(pl, i);
    if (!name || !*name) continue;
    out.push_back({plGetDesc(pl, i), name, rec && (rec->flags & (lfPlaylist | lfDirectory)) != 0});
  }
  return out;
}

// Items of a list menu: command "#<line>".
std::vector<MenuItem> lineItems(Playlist pl, bool groups, int32_t groupLine) {
  std::vector<MenuItem> items;
  const int32_t count = plGetCount(pl);
  const int32_t level = groupLine >= 0 ? lineLevel(pl, groupLine) : -1;
  for (int32_t i = groupLine + 1; i < count; ++i) {
    if (!groups && groupLine >= 0 && lineLevel(pl, i) <= level) break;
    if (groups ? !isGroupLine(pl, i) : !isFileLine(pl, i)) continue;
    std::string caption = plGetDesc(pl, i);
    if (caption.empty()) caption = plGetName(pl, i);
    if (caption.empty()) caption = "NewPl###<New playlist>";
    MenuItem item;
    item.caption = caption;
    item.command = "#" + std::to_string(i);
    items.push_back(std::move(item));
  }
  if (items.empty()) items.push_back({MenuItem::Kind::command, "NoFiles###<No files opened>", "", false, false, {}});
  return items;
}

}  // namespace

void TMainWnd::showMenu(const std::string& name) {
  if (!seq_ || !commands_) return;
  const SequencingSettings& s = seq_->settings();
  auto definitionOf = [&](const std::string& menu) -> std::optional<std::string> {
    if (menu == "seqmenu") return seqMenuDefinition({s.loop1, s.loop2, s.shuffle, s.groupMode});
    if (menu == "openmenu") return openMenuDefinition(cdDrives());
    if (menu == "plmenu") return plMenuDefinition(cdDrives());
    if (menu == "toolsmenu")
      return toolsMenuDefinition(GetConsoleWindow() != nullptr,
                                 configBool((std::string("Topmost_") + (mini_ ? "1" : "0")).c_str(),
                                            defaultTopmost(mini_ ? 1 : 0) ? ZV_TRUE : ZV_FALSE) != 0);
    if (menu == "vismenu") return visMenuDefinition(visData_.mode, visData_.style == ZV_VIS_STYLE_BARS);
    if (menu == "_vis" || menu == "_cfg") return visPluginMenu(menu == "_cfg");
    if (menu == "skinmenu") return skinMenuDefinition(skinFolders(dirs_.root), skins_.name);
    if (menu == "recent") return recentMenuDefinition(locations(recent_), "open:");
    if (menu == "open:recent") return recentMenuDefinition(locations(recent_), "open:");
    if (menu == "edit:recent") return recentMenuDefinition(locations(recent_), "edit:");
    if (menu == "favmenu") return favMenuDefinition(locations(favorites_), dirs_.userData + "\\favorite.m3u");
    return fixedMenuDefinition(menu);
  };
  std::vector<MenuItem> items;
  if (name == "l1menu") {
    items = lineItems(current_, true, -1);
  } else if (name == "l2menu") {
    items = lineItems(current_, false, seq_->curGroupN());
  } else if (auto definition = definitionOf(name)) {
    items = buildMenu(*definition, definitionOf, [](const std::string& command) {
      return openChoicesDefinition(command, true);
    });
  } else {
    return;
  }
  PopupMenu popup = buildPopupMenu(items, [this](const std::string& t) { return text(t.c_str()); });
  OwnerDrawnMenu styled(popup.menu.get(), menuLook());
  POINT at;
  GetCursorPos(&at);
  SetForegroundWindow(hwnd());
  const unsigned id = static_cast<unsigned>(
      TrackPopupMenu(popup.menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr));
  PostMessageA(hwnd(), WM_NULL, 0, 0);
  const std::string command = popup.commandOf(id);
  if (command.size() > 1 && command[0] == '#') {
    seq_->selectLine(std::atoi(command.c_str() + 1), false);
  } else if (!command.empty()) {
    runCommand(*commands_, command, sourceProgram);
  }
  updatePlayButton();
}

}  // namespace zv
