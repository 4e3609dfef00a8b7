#include "menus/menu_definitions.h"

#include <cstdint>

#include "text/program_text.h"

namespace zv {
namespace {

std::string tick(bool on) { return on ? "*" : ""; }

std::string line(const std::string& caption, const std::string& command) { return caption + "|" + command + "\n"; }

std::string cdItems(const std::string& drives, const std::string& prefix) {
  std::string text;
  for (char d : drives) text += line(std::string("CD (") + d + ":)", prefix + d + ":");
  return text;
}

const char kSysMenu[] =
    "MnuPlayStop###(Num5) Play/Stop|toggleplay\n"
    "\n"
    "MnuPrevFile###(Num4) Previous file|prev\n"
    "MnuNextFile###(Num6) Next file|next\n"
    "MnuFiles###(Num.) Files|\\l2menu\n"
    "\n"
    "MnuPrevGroup###(Num1) Previous group|prevpl\n"
    "MnuNextGroup###(Num3) Next group|nextpl\n"
    "MnuGroups###(Num\x96) Groups|\\l1menu\n"  // an en dash in the ANSI code page
    "\n"
    "MnuSequence###Sequence|\\seqmenu\n"
    "\n"
    "MnuOpen###(Num+) Open|\\openmenu\n"
    "MnuFavorites###(Num*) Favorites|\\favmenu\n"
    "MnuPlaylists###Playlists|\\plmenu\n"
    "\n"
    "MnuTools###Tools|\\toolsmenu\n"
    "MnuSkin###Skin|\\skinmenu\n"
    "MnuHelp###Help|\\helpmenu\n"
    "\n"
    "MnuExit###Exit|close\n";

const char kHelpMenu[] =
    "MnuHelp1###(F1) Zorvak 2000 help|help\n"
    "MnuReadme###Read me|readme\n"
    "MnuHistory###Version history|history\n"
    "MnuWebsite###Zorvak 2000 web site|website\n"
    "MnuMailto###Send e-mail to author...|mailto\n"
    "\n"
    "MnuAbout###About...|about\n";

const char kAddFav[] = "FavAddDir###Directory...|addfav_dir\nFavAddFile###File...|addfav_file\n";


std::string speeds(const std::string& command) {
  return line("VisSlow###Slow", command + "1") + line("VisNormal###Normal", command + "2") +
         line("VisFast###Fast", command + "3");
}

}  // namespace

std::string sysMenuDefinition() { return programText(kSysMenu); }
std::string helpMenuDefinition() { return kHelpMenu; }
std::string addFavMenuDefinition() { return kAddFav; }

std::string seqMenuDefinition(const SequenceMenuState& s) {
  return line("RepGroup###Repeat group", tick(s.loop1) + "loop1") +
         line("RepFile###Repeat file", tick(s.loop2) + "loop2") +
         line("Shuffle###Shuffle", tick(s.shuffle) + "shuffle") + "\n" +
         line("Unsorted###Unsorted", tick(s.groupMode == 1) + "group_none") +
         line("Sorted###Sorted", tick(s.groupMode == 3) + "group_sorted") +
         line("GroupByLoc###Group by location", tick(s.groupMode == 0) + "group_dirs");
}

std::string openMenuDefinition(const std::string& cdDrives) {
  return line("MnuOpenFile###(Num0) Open file...", "openfile") + line("MnuOpenDir###Open directory...", "opendir") +
         "\n" + cdItems(cdDrives, "/open:") + line("Recent###Recent", "\\open:recent");
}

std::string plMenuDefinition(const std::string& cdDrives) {
  return line("MnuEditCur###Current playlist", "editcpl") + "\n" + line("MnuNewPl###New playlist", "newpl") +
         line("MnuEditPl###Edit playlist...", "editpl") + line("MnuEditDir###Edit directory...", "editdir") + "\n" +
         cdItems(cdDrives, "edit:") + line("Recent###Recent", "\\edit:recent");
}

std::string toolsMenuDefinition(bool consoleExists, bool onTop) {
  std::string text = line("MnuFileInfo###(3) File information...", "info") +
                     line("MnuEq###Equalizer/Mixer...", "eq") + line("MnuTimer###Timer...", "timer") + "\n" +
                     line("MnuSettings###Settings...", "setup") + line("MnuCDDB###CD database...", "cddb") + "\n" +
                     line("MnuResUsage###Resources usage...", "debug");
  if (consoleExists) text += line("MnuHideCon###Hide console", "hidecon");
  return text + line("MnuTopmost###Always on top", tick(onTop) + "ontop");
}

std::string skinMenuDefinition(const std::vector<std::string>& skins, const std::string& current) {
  std::string text;
  for (const std::string& s : skins) text += line(s, tick(s == current) + "skin:" + s);
  return text;
}

std::string recentMenuDefinition(const std::vector<MenuLocation>& recent, const std::string& prefix) {
  std::string text;
  for (const MenuLocation& r : recent) text += line(r.caption.empty() ? r.name : r.caption, prefix + r.name);
  return text.empty() ? line("NoFiles###<No files opened>", "") : text;
}

std::string openChoicesDefinition(const std::string& command, bool playlistOrFolder) {
  size_t colon = command.find(':');
  std::string kind = colon == std::string::npos ? std::string() : command.substr(0, colon + 1);
  std::string item = colon == std::string::npos ? command : command.substr(colon + 1);
  std::string text = line("OpenNew###Put to new playlist", "open:" + item) +
                     line("OpenReplace###Replace current playlist", "repl:" + item) +
                     line("OpenAdd###Add to current playlist", "enq:" + item) +
                     line("OpenAddPlay###Add to current playlist and play", "enqstart:" + item);
  if (kind == "open2:") {
    text += "\n";
    if (playlistOrFolder) text += line("FavEdit###Open with playlist editor", "edit:" + item);
    text += line("FavDelete###Delete from Favorites", "delfav:" + item);
  } else if (kind == "open3:" && playlistOrFolder) {
    text += "\n" + line("FavEdit###Open with playlist editor", "edit:" + item);
  }
  return text;
}

std::string favMenuDefinition(const std::vector<MenuLocation>& favorites, const std::string& favoritesFile) {
  std::string text;
  for (const MenuLocation& f : favorites) text += line(f.caption.empty() ? f.name : f.caption, "/open2:" + f.name);
  if (text.empty()) text = line("NoFiles###<No files opened>", "");
  return text + "\n" + line("FavOpenAll###Open all", "/open3:" + favoritesFile) + line("FavAdd###Add", "\\addfav");
}

std::string openModeMenuDefinition() {
  return line("OpenNew###Put to new playlist", "0") + line("OpenReplace###Replace current playlist", "8") +
         line("OpenAdd###Add to current playlist", "1") + line("OpenAddPlay###Add to current playlist and play", "3");
}

std::string visMenuDefinition(int32_t mode, bool bars) {
  std::string text = line("VisStartVis###Start plug-in", "\\_vis") + line("VisConfigVis###Configure", "\\_cfg") +
                     "\n" + line("VisOsc###Oscilloscope", tick(mode == 0) + "_scope") +
                     line("VisSpec###Spectrum analyzer", tick(mode == 1) + "_spec") +
                     line("VisOff###Off", tick(mode == 2) + "_off") + "\n";
  if (mode == 0) text += line("VisFadeout###Fadeout", "\\_scopefade");
  if (mode == 1 && bars) {
    text += line("VisRevFreq###Reverse frequency", "_rx") + line("VisRevAmp###Reverse amplitude", "_ry") +
            line("VisSpecFalloff###Spectrum falloff", "\\_specfall") + line("VisPeaks###Peaks", "\\_peaks");
  }
  return text + line("VisHalfRate###Half-rate", "_halfrate");
}

std::string visPluginMenuDefinition(const std::vector<MenuLocation>& plugins, bool configure) {
  std::string text;
  const char* prefix = configure ? "_cfg:" : "_vis:";
  for (const MenuLocation& p : plugins) text += line(p.caption, prefix + p.name);
  if (!configure) text += "\n" + line("VisOff###Off", "_vis:");
  return text;
}

std::optional<std::string> fixedMenuDefinition(const std::string& name) {
  if (name == "sysmenu") return sysMenuDefinition();
  if (name == "helpmenu") return helpMenuDefinition();
  if (name == "addfav") return addFavMenuDefinition();
  if (name == "_scopefade") return speeds("_scopefade");
  if (name == "_specfall") return speeds("_specfall");
  if (name == "_peaks") return line("VisNone###None", "_peaks0") + speeds("_peaks");
  return std::nullopt;
}

std::string menuTitle(const std::string& name) {
  static const struct {
    const char* name;
    const char* title;
  } kTitles[] = {
      {"toolsmenu", "Tools###Tools"},     {"plmenu", "Playlists###Playlists"}, {"seqmenu", "Sequence###Sequence"},
      {"openmenu", "Open###Open"},        {"sysmenu", "Zorvak2000###Zorvak 2000"},
      {"favmenu", "Favorites###Favorites"}, {"vismenu", "Visualizer###Visualizer"}, {"skinmenu", "Skins###Skins"},
      {"helpmenu", "Help###Help"},        {"recent", "Recent###Recent"},        {"l1menu", "Groups###Groups"},
      {"l2menu", "Files###Files"},
  };
  for (const auto& t : kTitles)
    if (name == t.name) return t.title;
  return "";
}

}  // namespace zv
