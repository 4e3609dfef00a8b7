// Menus built from definition texts, compared item by item, and the real
// popup menu made from a model.
#include <gtest/gtest.h>

#include <algorithm>

#include "menus/menu_definitions.h"
#include "menus/menu_model.h"
#include "menus/win_menu.h"

using namespace zv;
using Kind = MenuItem::Kind;

namespace {

// "caption|command" with marks: "-" separator, "[x]" ticked, "\" submenu, "/" choices.
std::string describe(const MenuItem& i) {
  if (i.kind == Kind::separator) return "-";
  std::string s = (i.checked ? "[x]" : "") + defaultText(i.caption) + "|";
  if (i.kind == Kind::submenu) s += "\\";
  if (i.openChoices) s += "/";
  return s + i.command;
}

std::vector<std::string> describe(const std::vector<MenuItem>& items) {
  std::vector<std::string> out;
  for (const MenuItem& i : items) out.push_back(describe(i));
  return out;
}

using Lines = std::vector<std::string>;

TEST(MenuModel, definitionLines_becomeItemsSeparatorsSubmenusChoicesAndTicks) {
  auto items = parseMenuDefinition("A###Alpha|alpha\r\n\nB###Beta|\\sub\n*C|*shuffle\n/D|/open:C:\\x\nNo command\n*E|*\\sub\n");
  EXPECT_EQ(describe(items), (Lines{"Alpha|alpha", "-", "Beta|\\sub", "[x]*C|shuffle", "/D|/open:C:\\x",
                                    "No command|", "[x]*E|\\sub"}));
  EXPECT_TRUE(parseMenuDefinition("").empty());
  EXPECT_EQ(describe(parseMenuDefinition("a|b")), (Lines{"a|b"})) << "no final line break";
  EXPECT_EQ(describe(parseMenuDefinition("a|x|y")), (Lines{"a|x|y"})) << "the first bar splits";
}

TEST(MenuModel, buildMenu_fillsSubmenusAndOpenChoicesAndStopsASelfNamingMenu) {
  MenuSource menus = [](const std::string& name) -> std::optional<std::string> {
    if (name == "loop") return "Again|\\loop\n";
    return fixedMenuDefinition(name);
  };
  OpenChoicesSource choices = [](const std::string& command) { return openChoicesDefinition(command, false); };
  auto items = buildMenu("H|\\helpmenu\nL|\\loop\nU|\\unknown\nX|/open:C:\\a.mp3\n", menus, choices);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(describe(items[0].children), (Lines{"(F1) Zorvak 2000 help|help", "Read me|readme",
                                                "Version history|history", "Zorvak 2000 web site|website",
                                                "Send e-mail to author...|mailto", "-", "About...|about"}));
  int depth = 0;
  for (const MenuItem* m = &items[1]; !m->children.empty(); m = &m->children[0]) ++depth;
  EXPECT_LT(depth, 20) << "a menu naming itself ends";
  EXPECT_TRUE(items[2].children.empty());
  EXPECT_EQ(describe(items[3].children),
            (Lines{"Put to new playlist|open:C:\\a.mp3", "Replace current playlist|repl:C:\\a.mp3",
                   "Add to current playlist|enq:C:\\a.mp3", "Add to current playlist and play|enqstart:C:\\a.mp3"}));
}

TEST(MenuDefinitions, ticksFollowTheStateAndVariableItemsTheirLists) {
  EXPECT_EQ(describe(parseMenuDefinition(seqMenuDefinition({true, false, true, 3}))),
            (Lines{"[x]Repeat group|loop1", "Repeat file|loop2", "[x]Shuffle|shuffle", "-", "Unsorted|group_none",
                   "[x]Sorted|group_sorted", "Group by location|group_dirs"}));
  EXPECT_EQ(describe(parseMenuDefinition(seqMenuDefinition({false, true, false, 2}))).back(),
            "Group by location|group_dirs") << "group by tag ticks none of the three";
  EXPECT_EQ(describe(parseMenuDefinition(openMenuDefinition("DE"))),
            (Lines{"(Num0) Open file...|openfile", "Open directory...|opendir", "-", "CD (D:)|/open:D:",
                   "CD (E:)|/open:E:", "Recent|\\open:recent"}));
  EXPECT_EQ(describe(parseMenuDefinition(plMenuDefinition("D")))[6], "CD (D:)|edit:D:");
  Lines tools = describe(parseMenuDefinition(toolsMenuDefinition(false, true)));
  EXPECT_EQ(tools.back(), "[x]Always on top|ontop");
  EXPECT_EQ(std::count(tools.begin(), tools.end(), "Hide console|hidecon"), 0);
  tools = describe(parseMenuDefinition(toolsMenuDefinition(true, false)));
  EXPECT_EQ(tools[tools.size() - 2], "Hide console|hidecon");
  EXPECT_EQ(describe(parseMenuDefinition(skinMenuDefinition({"Default", "Night"}, "Night"))),
            (Lines{"Default|skin:Default", "[x]Night|skin:Night"}));
  EXPECT_EQ(describe(parseMenuDefinition(recentMenuDefinition({{"My list", "C:\\l.m3u", true}, {"", "D:", true}},
                                                              "edit:"))),
            (Lines{"My list|edit:C:\\l.m3u", "D:|edit:D:"}));
}

TEST(MenuDefinitions, favouritesOfferEditAndDeleteOnlyWhereTheyApply) {
  EXPECT_EQ(describe(parseMenuDefinition(openChoicesDefinition("open2:C:\\m", true))),
            (Lines{"Put to new playlist|open:C:\\m", "Replace current playlist|repl:C:\\m",
                   "Add to current playlist|enq:C:\\m", "Add to current playlist and play|enqstart:C:\\m", "-",
                   "Open with playlist editor|edit:C:\\m", "Delete from Favorites|delfav:C:\\m"}));
  Lines song = describe(parseMenuDefinition(openChoicesDefinition("open2:C:\\s.mp3", false)));
  EXPECT_EQ(song.back(), "Delete from Favorites|delfav:C:\\s.mp3");
  EXPECT_EQ(std::count(song.begin(), song.end(), "Open with playlist editor|edit:C:\\s.mp3"), 0);
  EXPECT_EQ(parseMenuDefinition(openChoicesDefinition("open3:C:\\fav.m3u", true)).size(), 6u);
  EXPECT_EQ(parseMenuDefinition(openChoicesDefinition("open:D:", true)).size(), 4u);

  EXPECT_EQ(describe(parseMenuDefinition(favMenuDefinition({}, "C:\\u\\favorite.m3u"))),
            (Lines{"<No files opened>|", "-", "Open all|/open3:C:\\u\\favorite.m3u", "Add|\\addfav"}));
  EXPECT_EQ(describe(parseMenuDefinition(favMenuDefinition({{"Jazz", "C:\\jazz", true}}, "F")))[0],
            "Jazz|/open2:C:\\jazz");
}

TEST(MenuDefinitions, displayMenuShowsTheItemsOfItsMode) {
  Lines scope = describe(parseMenuDefinition(visMenuDefinition(0, true)));
  EXPECT_EQ(scope[3], "[x]Oscilloscope|_scope");
  EXPECT_EQ(std::count(scope.begin(), scope.end(), "Fadeout|\\_scopefade"), 1);
  EXPECT_EQ(std::count(scope.begin(), scope.end(), "Reverse frequency|_rx"), 0);
  Lines bars = describe(parseMenuDefinition(visMenuDefinition(1, true)));
  EXPECT_EQ(std::count(bars.begin(), bars.end(), "Reverse amplitude|_ry"), 1);
  EXPECT_EQ(std::count(bars.begin(), bars.end(), "Fadeout|\\_scopefade"), 0);
  Lines plain = describe(parseMenuDefinition(visMenuDefinition(1, false)));
  EXPECT_EQ(std::count(plain.begin(), plain.end(), "Reverse frequency|_rx"), 0) << "only the bar spectrum";
  EXPECT_EQ(plain.back(), "Half-rate|_halfrate");
  EXPECT_EQ(describe(parseMenuDefinition(*fixedMenuDefinition("_peaks"))),
            (Lines{"None|_peaks0", "Slow|_peaks1", "Normal|_peaks2", "Fast|_peaks3"}));
  EXPECT_EQ(describe(parseMenuDefinition(visPluginMenuDefinition({{"Bars", "bars.dll", false}}, false))),
            (Lines{"Bars|_vis:bars.dll", "-", "Off|_vis:"}));
  EXPECT_EQ(describe(parseMenuDefinition(visPluginMenuDefinition({{"Bars", "bars.dll", false}}, true))),
            (Lines{"Bars|_cfg:bars.dll"}));
  EXPECT_EQ(menuTitle("toolsmenu"), "Tools###Tools");
  EXPECT_EQ(menuTitle("nomenu"), "");
}

TEST(MenuDefinitions, systemMenuCarriesItsSubmenusAndAnEnDash) {
  auto items = parseMenuDefinition(sysMenuDefinition());
  ASSERT_EQ(items.size(), 21u);
  EXPECT_EQ(describe(items[8]), std::string("(Num\x96) Groups|\\l1menu"));
  EXPECT_EQ(describe(items.back()), "Exit|close");
}

TEST(WinMenu, popupMenuHoldsTheItemsAndMapsIdentifiersToCommands) {
  auto items = buildMenu(seqMenuDefinition({false, true, false, 0}) + "Sub|\\helpmenu\n",
                         [](const std::string& n) { return fixedMenuDefinition(n); }, nullptr);
  PopupMenu popup = buildPopupMenu(items, nullptr, 100);
  ASSERT_TRUE(popup.menu);
  HMENU m = popup.menu.get();
  EXPECT_EQ(GetMenuItemCount(m), 8);
  char text[64];
  GetMenuStringA(m, 1, text, sizeof(text), MF_BYPOSITION);
  EXPECT_STREQ(text, "Repeat file");
  EXPECT_TRUE(GetMenuState(m, 1, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(m, 0, MF_BYPOSITION) & MF_CHECKED);
  EXPECT_TRUE(GetMenuState(m, 3, MF_BYPOSITION) & MF_SEPARATOR);
  UINT id = GetMenuItemID(m, 2);
  EXPECT_EQ(popup.commandOf(id), "shuffle");
  HMENU sub = GetSubMenu(m, 7);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetMenuItemCount(sub), 7);
  EXPECT_EQ(popup.commandOf(GetMenuItemID(sub, 6)), "about");
  EXPECT_EQ(popup.commandOf(0), "") << "a cancelled menu runs nothing";
  EXPECT_EQ(popup.commandOf(5000), "");
}

}  // namespace
