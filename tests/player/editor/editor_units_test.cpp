// The playlist editor's decisions without a window: cell texts, add
// positions, the level rule of drops, branch moves, sorting, the saving
// rules, numbers and the "ZORV0002" state files (also damaged ones).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "editor_columns.h"
#include "editor_edits.h"
#include "editor_menu.h"
#include "editor_numbers.h"
#include "editor_rules.h"
#include "editor_state_file.h"
#include "editor_test_lists.h"
#include "testkit.h"

using namespace zv::editor;
using edtest::kFile;
using edtest::kGroup;
using edtest::kHeading;
using edtest::List;
using edtest::shape;

namespace {

// root / A (a1 a2) / B (b1) / c
std::vector<edtest::Line> tree() {
  return {{kGroup, 0, "Z:\\music", "root", ""},       {kGroup, 1, "Z:\\music\\A", "A", ""},
          {kFile, 2, "Z:\\music\\A\\a1.mp3", "a1", ""}, {kFile, 2, "Z:\\music\\A\\a2.mp3", "a2", ""},
          {kGroup, 1, "Z:\\music\\B", "B", ""},       {kFile, 2, "Z:\\music\\B\\b1.mp3", "b1", ""},
          {kFile, 1, "Z:\\music\\c.mp3", "c", ""}};
}

TEST(EditorColumns, timeFormats) {
  const struct {
    int32_t ms;
    const char* text;
  } cases[] = {{0, ""}, {-5, ""}, {999, "0:00"}, {1000, "0:01"}, {65000, "1:05"}, {599999, "9:59"},
               {3599999, "59:59"}, {3600000, "1:00:00"}, {3725000, "1:02:05"}, {36000000, "10:00:00"}};
  for (const auto& c : cases) EXPECT_EQ(formatTime(c.ms), c.text) << c.ms;
}

TEST(EditorColumns, sizeFormats) {
  const struct {
    int32_t kb;
    const char* text;
  } cases[] = {{0, ""}, {-1, ""}, {1, "1 KB"}, {1023, "1023 KB"}, {1024, "1.0 MB"}, {1536, "1.5 MB"}, {10342, "10.1 MB"}};
  for (const auto& c : cases) EXPECT_EQ(formatSize(c.kb), c.text) << c.kb;
}

TEST(EditorColumns, cellTextsForEveryKindOfLine) {
  const std::string info = "format=MPEG 1 Layer 3\ntitle=Harbour\nartist=Ana\nalbum=Lights\nyear=2024\ntrack=7\n";
  List pl({{kFile, 0, "Z:\\m\\song one.mp3", "Described", info, 185000, 4200},
           {kFile, 1, "Z:\\m\\plain name.ogg", "", "track=0\n", 0, 0},
           {kHeading, 1, "", "My group", "", 3725000, 2048},
           {kHeading, 1, "", "", "", 0, 0}});
  const char* first[] = {"Described", "3:05", "MPEG 1 Layer 3", "4.1 MB", "Harbour", "Ana", "Lights", "2024", "7"};
  for (int c = 0; c < kColumnCount; ++c) EXPECT_EQ(cellText(pl, 0, c), first[c]) << c;
  // No desc yet: the short description of the name; track "0" shows empty.
  EXPECT_EQ(cellText(pl, 1, colName), "plain name");
  EXPECT_EQ(cellText(pl, 1, colTrack), "");
  EXPECT_EQ(cellText(pl, 1, colTime), "");
  EXPECT_EQ(cellText(pl, 2, colName), "My group");
  EXPECT_EQ(cellText(pl, 2, colTime), "1:02:05");
  EXPECT_EQ(cellText(pl, 2, colSize), "2.0 MB");
  EXPECT_EQ(cellText(pl, 3, colName), "");
  EXPECT_EQ(cellText(pl, 9, colName), "");
  EXPECT_EQ(cellText(pl, 0, 9), "");
  EXPECT_STREQ(columnHeader(8), "ColTrack###Track #");
  EXPECT_EQ(columnHeader(9), nullptr);
}

TEST(EditorRules, insertPointsForEveryPosition) {
  List pl(tree());
  const struct {
    int32_t line;
    AddWhere where;
    int32_t index, shift;
  } cases[] = {
      {2, AddWhere::relative, 3, 2},    // a file: right after it at its level
      {1, AddWhere::relative, 4, 2},    // a group: after its branch as its last child
      {0, AddWhere::relative, 7, 1},    // the root: at the end of everything, level 1
      {6, AddWhere::relative, 7, 1},    {4, AddWhere::before, 4, 1},   {4, AddWhere::firstChild, 5, 2},
      {2, AddWhere::end, 7, 0},         {-1, AddWhere::relative, 7, 0}, {99, AddWhere::before, 7, 0}};
  for (const auto& c : cases) {
    const InsertPoint p = insertPoint(pl, c.line, c.where);
    EXPECT_EQ(p.index, c.index) << c.line << " " << int(c.where);
    EXPECT_EQ(p.shift, c.shift) << c.line << " " << int(c.where);
  }
}

TEST(EditorRules, dropTargetAndLevelFollowTheMouse) {
  List pl(tree());
  EXPECT_EQ(dropTargetLine(pl, 3, false), 3);
  EXPECT_EQ(dropTargetLine(pl, 3, true), 2);
  EXPECT_EQ(dropTargetLine(pl, 0, true), 0);
  EXPECT_EQ(dropTargetLine(pl, -1, false), 6);  // below the end: the last line
  List empty;
  EXPECT_EQ(dropTargetLine(empty, -1, false), -1);
  const struct {
    int32_t t;
    int x;
    int32_t level;
  } cases[] = {
      {3, 0, 1},     // at least 1 (and the next line, B, is at 1)
      {3, 24, 2},    // (24-4)/10 = 2 = a2's level
      {3, 90, 2},    // a file: at most its level
      {1, 90, 2},    // a group: at most its level + 1
      {2, 4, 2},     // at least the level of the line after (a2 at 2)
      {6, 14, 1},    {6, 200, 1}, {0, 200, 1}, {5, 30, 2}, {5, 0, 1}, {3, -30, 1}};
  for (const auto& c : cases) EXPECT_EQ(dropLevel(pl, c.t, c.x), c.level) << c.t << " @" << c.x;
  EXPECT_EQ(dropMarkerX(2), 24);
}

TEST(EditorRules, branchHeadsAndInsideBranches) {
  List pl(tree());
  EXPECT_EQ(branchHeads(pl, {5, 1, 2, 3}), (std::vector<int32_t>{1, 5}));
  EXPECT_EQ(branchHeads(pl, {4, 5, 6}), (std::vector<int32_t>{4, 6}));
  EXPECT_EQ(branchHeads(pl, {-1, 40}), (std::vector<int32_t>{}));
  EXPECT_TRUE(insideBranches(pl, {1}, 3));
  EXPECT_TRUE(insideBranches(pl, {1}, 1));
  EXPECT_FALSE(insideBranches(pl, {1}, 4));
  EXPECT_FALSE(insideBranches(pl, {1, 6}, 0));
}

TEST(EditorRules, savePlanPerRootAndContents) {
  List flatM3u({{lfPlaylist | lfGroup, 0, "Z:\\lists\\mix.m3u", "", ""}, {kFile, 1, "Z:\\a.mp3", "", ""}});
  List groupedM3u({{lfPlaylist | lfGroup, 0, "Z:\\lists\\mix.m3u", "", ""}, {kHeading, 1, "", "g", ""}});
  List groupedZ3u({{lfPlaylist | lfGroup, 0, "Z:\\lists\\mix.Z3U", "", ""}, {kHeading, 1, "", "g", ""}});
  List folder(tree());
  List remote({{lfPlaylist | lfGroup, 0, "http://host/x.m3u", "", ""}, {kFile, 1, "Z:\\a.mp3", "", ""}});
  List empty;
  EXPECT_EQ(planSave(flatM3u).way, SaveWay::direct);
  EXPECT_EQ(planSave(flatM3u).target, "Z:\\lists\\mix.m3u");
  EXPECT_EQ(planSave(groupedM3u).way, SaveWay::warnThenAskZ3u);
  EXPECT_EQ(planSave(groupedZ3u).way, SaveWay::direct);
  EXPECT_EQ(planSave(folder).way, SaveWay::ask);
  EXPECT_FALSE(planSave(folder).flat);
  EXPECT_EQ(planSave(remote).way, SaveWay::ask);
  EXPECT_TRUE(planSave(remote).flat);
  EXPECT_EQ(planSave(empty).way, SaveWay::nothing);
  auto same = [](const char* t) { return std::string(strstr(t, "###") + 3); };
  EXPECT_EQ(saveFilter(false, same), "Z3U playlists (*.z3u)|*.z3u");
  EXPECT_EQ(saveFilter(true, same),
            "Z3U playlists (*.z3u)|*.z3u|Playlists (*.m3u, *.pls, *.aap)|*.m3u;*.pls;*.aap|"
            "UTF-8 M3U playlists (*.m3u8)|*.m3u8");
}

TEST(EditorRules, quickSearchNeverFindsTheRootAndFollowsDirection) {
  const std::vector<std::string> names = {"Alpha root", "beta", "ALPHAbet", "gamma", "alpha"};
  auto text = [&](int32_t i) { return names[i]; };
  const int32_t n = static_cast<int32_t>(names.size());
  EXPECT_EQ(quickSearch(n, text, "alpha", 1, 1), 2);
  EXPECT_EQ(quickSearch(n, text, "alpha", 3, 1), 4);
  EXPECT_EQ(quickSearch(n, text, "alpha", 5, 1), -1);
  EXPECT_EQ(quickSearch(n, text, "alpha", 3, -1), 2);
  EXPECT_EQ(quickSearch(n, text, "alpha", 1, -1), -1);  // line 0 is never a hit
  EXPECT_EQ(quickSearch(n, text, "root", 1, 1), -1);
  EXPECT_EQ(quickSearch(n, text, "", 1, 1), -1);
  EXPECT_EQ(quickSearch(n, text, "AMM", 1, 1), 3);
}

TEST(EditorEdits, groupHeadingGoesAfterTheBranchOneLevelDeeper) {
  List pl(tree());
  EXPECT_EQ(addGroupHeading(pl, 1, "New group"), 4);
  EXPECT_EQ(shape(pl), "root@0 A@1 a1@2 a2@2 New group@2 B@1 b1@2 c@1");
  EXPECT_EQ(plGetRec(pl, 4)->flags, static_cast<uint32_t>(lfHeading | lfGroup));
  EXPECT_STREQ(plGetName(pl, 4), "");
  EXPECT_EQ(addGroupHeading(pl, 7, "G2"), 8);  // after a file (c): at its level + 1
  EXPECT_EQ(plGetRec(pl, 8)->level, 2);
}

TEST(EditorEdits, moveWithinOneListKeepsRelativeLevels) {
  List pl(tree());
  // B's branch dropped after a1 at level 2: B becomes a child of A.
  DropResult r = dropBranches(pl, 2, 2, pl, {4}, true);
  EXPECT_EQ(shape(pl), "root@0 A@1 a1@2 B@2 b1@3 a2@2 c@1");
  EXPECT_EQ(r.first, 3);
  EXPECT_EQ(r.count, 2);
  // Moving it back after c at level 1.
  dropBranches(pl, 6, 1, pl, {3}, true);
  EXPECT_EQ(shape(pl), "root@0 A@1 a1@2 a2@2 c@1 B@1 b1@2");
}

TEST(EditorEdits, dropInsideTheDraggedBranchDoesNothing) {
  List pl(tree());
  const std::string before = shape(pl);
  EXPECT_EQ(dropBranches(pl, 2, 2, pl, {1}, true).count, 0);
  EXPECT_EQ(dropBranches(pl, 1, 2, pl, {1}, false).count, 0);
  EXPECT_EQ(shape(pl), before);
}

TEST(EditorEdits, copyAndMoveBetweenLists) {
  List source(tree());
  List target({{kGroup, 0, "Z:\\other", "other", ""}, {kFile, 1, "Z:\\x.mp3", "x", ""}});
  dropBranches(target, 1, 1, source, {1, 6}, false);
  EXPECT_EQ(shape(target), "other@0 x@1 A@1 a1@2 a2@2 c@1");
  EXPECT_EQ(plGetCount(source), 7);
  // The heads remember where they came from.
  EXPECT_EQ(plGetRec(target, 2)->user, 1);
  EXPECT_EQ(plGetRec(target, 5)->user, 6);
  dropBranches(target, 0, 1, source, {4}, true);
  EXPECT_EQ(shape(source), "root@0 A@1 a1@2 a2@2 c@1");
  EXPECT_EQ(shape(target), "other@0 B@1 b1@2 x@1 A@1 a1@2 a2@2 c@1");
}

TEST(EditorEdits, moveKeepsTheMarkOfTheCurrentLine) {
  List pl(tree());
  plMarkLine(pl, 5, 1);  // b1 plays
  dropBranches(pl, 2, 2, pl, {4}, true);
  EXPECT_EQ(plFindMark(pl, 1), 4);
  EXPECT_STREQ(plGetDesc(pl, 4), "b1");
  // A copy never takes the mark with it.
  dropBranches(pl, 6, 1, pl, {3}, false);
  EXPECT_EQ(plFindMark(pl, 1), 4);
  int marks = 0;
  for (int32_t i = 0; i < plGetCount(pl); ++i) marks += plGetRec(pl, i)->mark == 1;
  EXPECT_EQ(marks, 1);
}

TEST(EditorEdits, sortSortsTheChildrenAsWholeBranches) {
  List pl({{kGroup, 0, "Z:\\r", "root", ""},
           {kHeading, 1, "", "zeta", ""},
           {kFile, 2, "Z:\\z1.mp3", "z1", ""},
           {kFile, 1, "Z:\\m.mp3", "mid", ""},
           {kHeading, 1, "", "alpha", ""},
           {kFile, 2, "Z:\\a1.mp3", "a1", ""}});
  sortChildren(pl, 0, sortModeOf("sort_title"));
  EXPECT_EQ(shape(pl), "root@0 alpha@1 a1@2 mid@1 zeta@1 z1@2");
  sortChildren(pl, 0, sortModeOf("sort_rev"));
  EXPECT_EQ(shape(pl), "root@0 zeta@1 z1@2 mid@1 alpha@1 a1@2");
  EXPECT_EQ(sortModeOf("sort_track3"), plSortTrack);
  EXPECT_EQ(sortModeOf("sort_nothing"), -1);
}

TEST(EditorEdits, saveWritesTheContentsOnlyOneLevelUp) {
  const std::string dir = zvtest::freshDir("save");
  const std::string target = zvtest::winPath(dir) + "\\out.z3u";
  List pl(tree());
  ASSERT_EQ(saveContents(pl, target), plResultOk);
  List back;
  ASSERT_EQ(plLoad(back, target.c_str(), 0), plResultOk);
  // The file holds A, B and c at the top (the root is not written).
  ASSERT_GE(plGetCount(back), 1);
  std::string names;
  for (int32_t i = 0; i < plGetCount(back); ++i)
    if (plGetRec(back, i)->level <= 1) names += std::string(plGetName(back, i)) + ";";
  EXPECT_EQ(names.find("Z:\\music;"), std::string::npos) << names;
  EXPECT_NE(names.find("Z:\\music\\c.mp3"), std::string::npos) << names;
}

TEST(EditorMenu, itemsFollowTheLineCapabilities) {
  List pl(tree());
  auto commands = [&](int32_t line) {
    std::string out;
    for (const zv::MenuItem& item : contextMenuFor(pl, line, {{'D'}, {"Z:\\r.m3u"}, {}}))
      out += item.kind == zv::MenuItem::Kind::separator ? std::string("| ") : item.command + " ";
    return out;
  };
  EXPECT_EQ(commands(2), "desc info play | del ");
  EXPECT_EQ(commands(1), "desc play | add sort | del ");
  EXPECT_EQ(commands(0), "desc play | add sort ");
  EXPECT_EQ(commands(-1), "desc play ");
  const auto items = contextMenuFor(pl, 1, {{'D'}, {"Z:\\r.m3u"}, {}});
  const auto& add = items[3].children;
  ASSERT_GE(add.size(), 6u);
  EXPECT_EQ(add[2].command, "add:D:");
  EXPECT_EQ(add[2].caption, "CD (D:)");
  EXPECT_EQ(add[3].children.at(0).command, "add:Z:\\r.m3u");
  EXPECT_EQ(items[4].children.size(), 10u);  // nine sorts and a separator
  EXPECT_EQ(commandOfId(commandIdOf("sort_album3")), "sort_album3");
  EXPECT_EQ(commandIdOf("add:X"), 0u);
}

TEST(EditorNumbers, firstFreeAndNoReuseOfALiveNumber) {
  EditorNumbers numbers;
  for (int i = 0; i < kMaxEditors; ++i) ASSERT_EQ(numbers.take(), i);
  EXPECT_EQ(numbers.take(), std::nullopt);  // the 1025th is refused
  numbers.release(17);
  EXPECT_EQ(numbers.take(), 17);
  EXPECT_FALSE(numbers.takeExact(3));
  numbers.release(3);
  EXPECT_TRUE(numbers.takeExact(3));
  EXPECT_FALSE(numbers.takeExact(1024));
  EXPECT_FALSE(numbers.takeExact(-1));
}

// ---- State files ----

std::vector<uint8_t> bytesOf(const std::string& path) { return zvtest::readFile(path); }

TEST(EditorStateFile, ownedEditorRoundTripsWithTheExactLayout) {
  const std::string dir = zvtest::winPath(zvtest::freshDir("state"));
  const std::string path = dir + "\\" + stateFileName(7);
  EXPECT_EQ(stateFileName(7), "00000007");
  List pl(tree());
  EditorState s;
  s.left = -20, s.top = 30, s.width = 500, s.height = 300, s.valueA = 1, s.byteB = 1;
  s.ownsPlaylist = true, s.caption = "My list", s.selected = 5, s.firstVisible = 2, s.modified = true;
  ASSERT_TRUE(writeEditorState(path, s, pl));
  const std::vector<uint8_t> b = bytesOf(path);
  ASSERT_GT(b.size(), kStateHeaderSize + 8);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 8), "ZORV0002");
  auto i32 = [&](size_t at) { return int32_t(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24); };
  EXPECT_EQ(i32(8), -20);
  EXPECT_EQ(i32(12), 30);
  EXPECT_EQ(i32(16), 500);
  EXPECT_EQ(i32(20), 300);
  EXPECT_EQ(i32(24), 1);
  EXPECT_EQ(b[28], 1);
  EXPECT_EQ(b[29], 1);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[30])), "My list");
  EXPECT_EQ(i32(542), 5);
  EXPECT_EQ(i32(546), 2);
  EXPECT_EQ(b[550], 1);
  EXPECT_EQ(std::string(b.begin() + 551, b.begin() + 559), "ZVPL0010");

  List back;
  auto r = readEditorState(path, back, nullptr);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->caption, "My list");
  EXPECT_EQ(r->selected, 5);
  EXPECT_EQ(r->firstVisible, 2);
  EXPECT_TRUE(r->modified);
  EXPECT_EQ(r->valueA, 1);
  EXPECT_EQ(r->byteB, 1);
  EXPECT_EQ(shape(back), shape(pl));
}

TEST(EditorStateFile, mainListEditorHasNoPlaylistAndIndexesAreClamped) {
  const std::string dir = zvtest::winPath(zvtest::freshDir("state_main"));
  const std::string path = dir + "\\00000002";
  List main(tree());
  EditorState s;
  s.caption = "Current playlist", s.selected = 40, s.firstVisible = 99;
  ASSERT_TRUE(writeEditorState(path, s, nullptr));
  EXPECT_EQ(bytesOf(path).size(), kStateHeaderSize);
  List unused;
  auto r = readEditorState(path, unused, main);
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->ownsPlaylist);
  EXPECT_EQ(r->selected, -1);      // outside the list: no selection
  EXPECT_EQ(r->firstVisible, 6);   // the last line
  EXPECT_EQ(plGetCount(unused), 0);
}

TEST(EditorStateFile, damagedFilesAreSkippedNeverTrusted) {
  const std::string linuxDir = zvtest::freshDir("state_bad");
  const std::string dir = zvtest::winPath(linuxDir);
  List pl(tree());
  EditorState s;
  s.ownsPlaylist = true, s.caption = "ok", s.selected = 1;
  ASSERT_TRUE(writeEditorState(dir + "\\00000001", s, pl));
  const std::vector<uint8_t> good = bytesOf(linuxDir + "\\00000001");

  auto variant = [&](const char* name, std::vector<uint8_t> bytes) {
    zvtest::writeFile(linuxDir + "\\" + name, bytes.data(), bytes.size());
    return dir + "\\" + name;
  };
  std::vector<uint8_t> shortFile(good.begin(), good.begin() + 300);
  std::vector<uint8_t> badMagic = good;
  badMagic[7] = '1';
  std::vector<uint8_t> badFlag = good;
  badFlag[29] = 7;
  std::vector<uint8_t> cutPlaylist(good.begin(), good.begin() + kStateHeaderSize + 12);
  std::vector<uint8_t> noPlaylist(good.begin(), good.begin() + kStateHeaderSize);
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {{"00000010", {}}, {"00000011", shortFile}, {"00000012", badMagic},
               {"00000013", badFlag}, {"00000014", cutPlaylist}, {"00000015", noPlaylist}};
  for (const auto& c : cases) {
    List into;
    std::string why;
    EXPECT_FALSE(readEditorState(variant(c.name, c.bytes), into, nullptr, &why)) << c.name;
    EXPECT_FALSE(why.empty()) << c.name;
  }
  // A caption that fills its field without a terminator ends at the field.
  std::vector<uint8_t> longCaption = good;
  std::memset(&longCaption[30], 'x', kStateCaptionSize);
  List into;
  auto r = readEditorState(variant("00000016", longCaption), into, nullptr);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->caption, std::string(kStateCaptionSize, 'x'));
  EXPECT_EQ(r->selected, 1);
}

TEST(EditorStateFile, onlyStaleNumberedFilesAreRemoved) {
  const std::string linuxDir = zvtest::freshDir("state_stale");
  const std::string dir = zvtest::winPath(linuxDir);
  for (const char* name : {"00000000", "00000003", "00000009", "notes.txt", "0000003", "123456789"})
    zvtest::writeFile(linuxDir + "\\" + name, "x", 1);
  EXPECT_EQ(stateFileNumber("00000009"), 9);
  EXPECT_EQ(stateFileNumber("0000003"), -1);
  EXPECT_EQ(stateFileNumber("0000000a"), -1);
  const auto listed = listStateFiles(dir);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].second, 0);
  EXPECT_EQ(listed[2].second, 9);
  removeStaleStateFiles(dir, {3});
  EXPECT_EQ(GetFileAttributesA((dir + "\\00000000").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA((dir + "\\00000003").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((dir + "\\00000009").c_str()), INVALID_FILE_ATTRIBUTES);
  for (const char* kept : {"notes.txt", "0000003", "123456789"})
    EXPECT_NE(GetFileAttributesA((dir + "\\" + kept).c_str()), INVALID_FILE_ATTRIBUTES) << kept;
}

}  // namespace
