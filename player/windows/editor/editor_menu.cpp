#include "editor_menu.h"

#include "editor_rules.h"

namespace zv::editor {
namespace {

const char* const kCommands[] = {"desc",     "info",       "play",         "del",       "add_file",    "add_dir",
                                 "add_group", "sort_title", "sort_fn",      "sort_path", "sort_rev",    "sort_rand",
                                 "sort_title3", "sort_artist3", "sort_album3", "sort_track3", "findcur",  "undo",
                                 "save",     "saveas",     "reload"};
constexpr unsigned kFirstFixedId = 40001;

MenuItem command(const char* caption, const char* cmd) {
  MenuItem item;
  item.caption = caption;
  item.command = cmd;
  return item;
}

MenuItem separator() {
  MenuItem item;
  item.kind = MenuItem::Kind::separator;
  return item;
}

MenuItem submenu(const char* caption, const char* name, std::vector<MenuItem> children) {
  MenuItem item;
  item.kind = MenuItem::Kind::submenu;
  item.caption = caption;
  item.command = name;
  item.children = std::move(children);
  return item;
}

std::vector<MenuItem> locations(const std::vector<std::string>& list) {
  std::vector<MenuItem> items;
  for (const std::string& location : list) {
    MenuItem item;
    item.caption = location;  // a location is shown as it is, never translated
    item.command = "add:" + location;
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace

std::vector<MenuItem> contextMenuFor(Playlist pl, int32_t line, const MenuSources& sources) {
  std::vector<MenuItem> items;
  const bool valid = line >= 0 && line < plGetCount(pl);
  const bool group = valid && isGroupLine(pl, line);
  const bool named = valid && plGetName(pl, line)[0] != 0;
  items.push_back(command("PlDesc###(F2) Description...", "desc"));
  if (named && !group) items.push_back(command("PlFileInfo###(F3) File info...", "info"));
  items.push_back(command("PlPlay###(Enter) Play", "play"));
  if (group) {
    items.push_back(separator());
    std::vector<MenuItem> add = {command("PlAddFile###(Ins) File...", "add_file"),
                                 command("PlAddDir###Directory...", "add_dir")};
    for (char drive : sources.cdDrives) {
      const std::string letter = std::string(1, drive) + ":";
      MenuItem cd;
      cd.caption = "CD (" + letter + ")";
      cd.command = "add:" + letter;
      add.push_back(std::move(cd));
    }
    add.push_back(submenu("Recent###Recent", "recent", locations(sources.recent)));
    add.push_back(submenu("Favorites###Favorites", "favorites", locations(sources.favorites)));
    add.push_back(separator());
    add.push_back(command("PlAddGroup###New group", "add_group"));
    items.push_back(submenu("PlAdd###Add", "add", std::move(add)));
    items.push_back(submenu("PlSort###Sort", "sort",
                            {command("SortTitle###By title", "sort_title"), command("SortName###By filename", "sort_fn"),
                             command("SortPathName###By path & filename", "sort_path"),
                             command("SortRev###Reverse", "sort_rev"), command("SortRand###Randomize", "sort_rand"),
                             separator(), command("SortID3Title###By ID3 title", "sort_title3"),
                             command("SortID3Artist###By ID3 artist", "sort_artist3"),
                             command("SortID3Album###By ID3 album", "sort_album3"),
                             command("SortID3Track###By ID3 track", "sort_track3")}));
  }
  if (valid && line > 0) {
    items.push_back(separator());
    items.push_back(command("PlDelete###(Del) Delete", "del"));
  }
  return items;
}

unsigned commandIdOf(const std::string& cmd) {
  for (unsigned i = 0; i < sizeof(kCommands) / sizeof(kCommands[0]); ++i)
    if (cmd == kCommands[i]) return kFirstFixedId + i;
  return 0;
}

std::string commandOfId(unsigned id) {
  if (id < kFirstFixedId || id >= kFirstFixedId + sizeof(kCommands) / sizeof(kCommands[0])) return {};
  return kCommands[id - kFirstFixedId];
}

}  // namespace zv::editor
