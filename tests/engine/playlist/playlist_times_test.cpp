// Group totals: time, files and size summed from direct children.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "zv_playlist.h"

namespace {

struct L {
  int32_t level;
  bool group;
  int32_t time;
  int32_t size;
};

Playlist build(std::initializer_list<L> lines) {
  Playlist pl = createPlaylist(-1);
  for (const L& l : lines) {
    PlaylistLine r = {};
    r.level = l.level;
    r.flags = l.group ? lfGroup | lfDirectory : 0;
    r.time = l.time;
    r.size = l.size;
    r.files = 77;  // whatever was there before
    plAddLine(pl, &r, "x", nullptr, nullptr);
  }
  return pl;
}

const PlaylistLine& at(Playlist pl, int32_t i) { return *plGetRec(pl, i); }

}  // namespace

TEST(PlaylistTimes, groupsSumTheirDirectChildren) {
  Playlist pl = build({{0, true, 5, 0},
                       {1, false, 60000, 100},
                       {1, false, 90000, 200},
                       {1, true, 0, 0},
                       {2, false, 30000, 50},
                       {0, false, 1000, 9}});
  plCalcTimes(pl);
  EXPECT_EQ(at(pl, 0).time, 180000);
  EXPECT_EQ(at(pl, 0).files, 3);
  EXPECT_EQ(at(pl, 0).size, 350);
  EXPECT_EQ(at(pl, 3).time, 30000);
  EXPECT_EQ(at(pl, 3).files, 1);
  EXPECT_EQ(at(pl, 1).files, 1);
  EXPECT_EQ(at(pl, 1).time, 60000);  // a file keeps its time
  EXPECT_EQ(at(pl, 5).files, 1);
  EXPECT_EQ(at(pl, 5).time, 1000);
  freePlaylist(pl);
}

TEST(PlaylistTimes, emptyGroupsAndSkippedLevelsCountNothing) {
  Playlist pl = build({{0, true, 9, 9},      // empty group
                       {0, true, 0, 0},      // group whose only member skips a level
                       {2, false, 500, 5},   // not a direct child: ignored
                       {0, false, 10, 1},    // a file with deeper lines after it
                       {1, false, 20, 2},    // below a file: not counted anywhere
                       {1, true, 0, 0}});    // an orphan group below a file
  plCalcTimes(pl);
  EXPECT_EQ(at(pl, 0).time, 0);
  EXPECT_EQ(at(pl, 0).files, 0);
  EXPECT_EQ(at(pl, 0).size, 0);
  EXPECT_EQ(at(pl, 1).files, 0);
  EXPECT_EQ(at(pl, 1).time, 0);
  EXPECT_EQ(at(pl, 2).files, 77);  // untouched
  EXPECT_EQ(at(pl, 3).files, 1);
  EXPECT_EQ(at(pl, 4).files, 77);
  EXPECT_EQ(at(pl, 5).files, 77);
  freePlaylist(pl);
}

TEST(PlaylistTimes, nestedGroupsResumeBehindTheirChildrenBranch) {
  Playlist pl = build({{0, true, 0, 0},
                       {1, true, 0, 0},
                       {2, true, 0, 0},
                       {3, false, 1, 1},
                       {2, false, 10, 10},
                       {1, false, 100, 100},
                       {1, true, 0, 0},
                       {2, false, 1000, 1000}});
  plCalcTimes(pl);
  EXPECT_EQ(at(pl, 2).time, 1);
  EXPECT_EQ(at(pl, 1).time, 11);
  EXPECT_EQ(at(pl, 1).files, 2);
  EXPECT_EQ(at(pl, 6).time, 1000);
  EXPECT_EQ(at(pl, 0).time, 1111);
  EXPECT_EQ(at(pl, 0).files, 4);
  freePlaylist(pl);
}

TEST(PlaylistTimes, deepNestingFromADamagedFileDoesNotExhaustTheStack) {
  Playlist pl = createPlaylist(-1);
  const int32_t depth = 200000;
  for (int32_t i = 0; i < depth; ++i) {
    PlaylistLine r = {};
    r.level = i;
    r.flags = i + 1 < depth ? lfGroup : 0;
    r.time = 3;
    plAddLine(pl, &r, nullptr, nullptr, nullptr);
  }
  plCalcTimes(pl);
  EXPECT_EQ(at(pl, 0).files, 1);
  EXPECT_EQ(at(pl, 0).time, 3);
  EXPECT_EQ(at(pl, depth - 2).time, 3);
  freePlaylist(pl);
}

TEST(PlaylistTimes, totalsSaturateInsteadOfWrapping) {
  Playlist pl = build({{0, true, 0, 0}, {1, false, 2000000000, 0}, {1, false, 2000000000, 0}});
  plCalcTimes(pl);
  EXPECT_EQ(at(pl, 0).time, 2147483647);
  freePlaylist(pl);
}
