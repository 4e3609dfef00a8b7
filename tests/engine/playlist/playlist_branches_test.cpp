// Ranges and branches: level shifts, insert positions, copies of a playlist
// into itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "zv_playlist.h"

namespace {

// Lines given as "name@level".
Playlist build(std::initializer_list<std::pair<const char*, int32_t>> lines) {
  Playlist pl = createPlaylist(-1);
  for (auto& [name, level] : lines) {
    PlaylistLine r = {};
    r.level = level;
    plAddLine(pl, &r, name, (std::string("d") + name).c_str(), nullptr);
  }
  return pl;
}

std::vector<std::string> dump(Playlist pl) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < plGetCount(pl); ++i) {
    std::string line = std::string(plGetName(pl, i)) + "@" + std::to_string(plGetRec(pl, i)->level);
    if (std::string(plGetDesc(pl, i)) != "d" + std::string(plGetName(pl, i))) line += "!desc";
    out.push_back(line);
  }
  return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(PlaylistBranches, branchLengthFollowsLevels) {
  Playlist pl = build({{"g", 0}, {"a", 1}, {"s", 1}, {"t", 2}, {"h", 0}, {"x", 1}});
  EXPECT_EQ(plGetBranch(pl, 0), 4);
  EXPECT_EQ(plGetBranch(pl, 2), 2);
  EXPECT_EQ(plGetBranch(pl, 1), 1);
  EXPECT_EQ(plGetBranch(pl, 4), 2);
  EXPECT_EQ(plGetBranch(pl, 5), 1);  // the last line
  EXPECT_EQ(plGetBranch(pl, 6), 0);
  freePlaylist(pl);
}

TEST(PlaylistBranches, addBranchMovesTheHeadToTheGivenLevel) {
  Playlist src = build({{"top", 0}, {"head", 2}, {"c1", 3}, {"c2", 4}, {"next", 2}});
  Playlist dst = build({{"x", 0}});
  plAddBranch(dst, src, 1, 0);
  EXPECT_EQ(dump(dst), (V{"x@0", "head@0", "c1@1", "c2@2"}));
  plInsBranch(dst, 1, src, 2, 5);
  EXPECT_EQ(dump(dst), (V{"x@0", "c1@5", "c2@6", "head@0", "c1@1", "c2@2"}));
  freePlaylist(src);
  freePlaylist(dst);
}

TEST(PlaylistBranches, rangesAreCopiedInOrderWithShiftedLevels) {
  Playlist src = build({{"a", 0}, {"b", 1}, {"c", 1}, {"d", 0}});
  Playlist dst = build({{"x", 0}, {"y", 0}});
  plAddRange(dst, src, 1, 2, 3);
  EXPECT_EQ(dump(dst), (V{"x@0", "y@0", "b@4", "c@4"}));
  plInsRange(dst, 1, src, 0, 2, -1);
  EXPECT_EQ(dump(dst), (V{"x@0", "a@-1", "b@0", "y@0", "b@4", "c@4"}));
  plInsRange(dst, -5, src, 3, 10, 0);  // the count is cut to the source; the index appends
  EXPECT_EQ(dump(dst).back(), "d@0");
  EXPECT_EQ(plGetCount(dst), 7);
  plInsert(dst, 0, src, 1);
  EXPECT_EQ(dump(dst)[0], "a@1");
  EXPECT_EQ(dump(dst)[3], "d@1");
  plAdd(dst, src, 0);
  EXPECT_EQ(plGetCount(dst), 15);
  EXPECT_EQ(dump(src), (V{"a@0", "b@1", "c@1", "d@0"}));
  freePlaylist(src);
  freePlaylist(dst);
}

TEST(PlaylistBranches, copiesOfAPlaylistIntoItselfUseTheLinesAsTheyWere) {
  Playlist pl = build({{"a", 0}, {"b", 1}, {"c", 0}});
  plInsRange(pl, 1, pl, 0, 3, 1);
  EXPECT_EQ(dump(pl), (V{"a@0", "a@1", "b@2", "c@1", "b@1", "c@0"}));
  plAdd(pl, pl, 0);
  EXPECT_EQ(plGetCount(pl), 12);
  EXPECT_EQ(dump(pl)[6], "a@0");
  EXPECT_EQ(dump(pl)[11], "c@0");
  plInsert(pl, 0, pl, 2);
  EXPECT_EQ(plGetCount(pl), 24);
  EXPECT_EQ(dump(pl)[0], "a@2");
  EXPECT_EQ(dump(pl)[12], "a@0");
  Playlist small = build({{"g", 0}, {"m", 1}, {"n", 1}});
  plInsBranch(small, 1, small, 0, 1);
  EXPECT_EQ(dump(small), (V{"g@0", "g@1", "m@2", "n@2", "m@1", "n@1"}));
  freePlaylist(pl);
  freePlaylist(small);
}

TEST(PlaylistBranches, deleteRangeRemovesExactlyTheRange) {
  Playlist pl = build({{"a", 0}, {"b", 0}, {"c", 0}, {"d", 0}, {"e", 0}});
  plDelRange(pl, 1, 2);
  EXPECT_EQ(dump(pl), (V{"a@0", "d@0", "e@0"}));
  plDelRange(pl, 2, 100);
  EXPECT_EQ(dump(pl), (V{"a@0", "d@0"}));
  plDelRange(pl, -1, 1);
  plDelRange(pl, 0, 0);
  EXPECT_EQ(plGetCount(pl), 2);
  freePlaylist(pl);
}
