// The walk through the play order and the "repeat group" range, over real
// playlists built with the engine's exports.
#include <gtest/gtest.h>

#include <algorithm>

#include "player_fixture.h"
#include "sequencing/play_order.h"

using zv::groupRangeFilter;
using zv::stepInOrder;

namespace {

TEST(PlayOrder, stepInOrder_wrapsAndFallsBackToTheEnds) {
  struct Case {
    std::vector<int32_t> order;
    int32_t current;
    bool backwards;
    int32_t expected;
  } cases[] = {
      {{}, 3, false, -1},           // nothing to play
      {{4}, 4, false, 4},           // one entry: itself, both ways
      {{4}, 4, true, 4},
      {{1, 3, 5}, 5, false, 1},     // last -> first
      {{1, 3, 5}, 1, true, 5},      // first -> last
      {{1, 3, 5}, 3, false, 5},
      {{1, 3, 5}, 3, true, 1},
      {{5, 1, 3}, 2, false, 5},     // absent (a shuffle rebuilt after edits): first
      {{5, 1, 3}, 2, true, 3},      // absent backwards: last
      {{5, 1, 3}, -1, false, 5},    // no current line
  };
  for (const Case& c : cases)
    EXPECT_EQ(stepInOrder(c.order, c.current, c.backwards), c.expected)
        << "current " << c.current << (c.backwards ? " backwards" : " forwards");
}

TEST(PlayOrder, groupRange_keepsOnlyTheFilesOfTheCurrentLevelAroundIt) {
  ptest::ensureEngine();
  ptest::OwnedPl pl;
  ptest::fill(pl, {"G root@0",      // 0
                   "a@1",           // 1
                   "G inner@1",     // 2
                   "b@2",           // 3
                   "G deeper@2",    // 4
                   "c@3",           // 5
                   "d@2",           // 6
                   "e@1",           // 7
                   "G other@0",     // 8
                   "f@1"});         // 9
  std::vector<int32_t> files = {1, 3, 5, 6, 7, 9};
  // Inside the nested group: only b and d (level 2), not c one level deeper,
  // and nothing outside the run of levels >= 2.
  EXPECT_EQ(groupRangeFilter(pl, files, 3), (std::vector<int32_t>{3, 6}));
  EXPECT_EQ(groupRangeFilter(pl, {6, 5, 3, 9}, 6), (std::vector<int32_t>{6, 3}));  // the order is kept
  // At level 1 of the first top group: a and e; the run stops at "other".
  EXPECT_EQ(groupRangeFilter(pl, files, 7), (std::vector<int32_t>{1, 7}));
  EXPECT_EQ(groupRangeFilter(pl, files, 9), (std::vector<int32_t>{9}));
  // No current line: the order is untouched.
  EXPECT_EQ(groupRangeFilter(pl, files, -1), files);
}

TEST(PlayOrder, orders_followShuffleAndGroupModeAndFindNamesIgnoringCase) {
  ptest::ensureEngine();
  ptest::OwnedPl pl;
  ptest::fill(pl, {"G root@0", "C:\\m\\b.wav@1", "C:\\m\\a.wav@1", "G sub@1", "C:\\m\\c.wav@2"});
  zv::PlayOrders orders;
  orders.rebuild(pl);
  EXPECT_EQ(orders.fileCount(), 3);
  EXPECT_EQ(orders.playOrder(pl, false, zv::groupByLocation), (std::vector<int32_t>{1, 2, 4}));
  EXPECT_EQ(orders.playOrder(pl, false, zv::groupByTag), (std::vector<int32_t>{1, 2, 4}));
  std::vector<int32_t> shuffled = orders.playOrder(pl, true, zv::groupByLocation);
  std::sort(shuffled.begin(), shuffled.end());
  EXPECT_EQ(shuffled, (std::vector<int32_t>{1, 2, 4})) << "a permutation of the file lines";
  EXPECT_EQ(orders.findByName(pl, "c:\\M\\A.WAV"), (std::vector<int32_t>{2}));
  EXPECT_TRUE(orders.findByName(pl, "C:\\m\\zz.wav").empty());
}

TEST(PlayOrder, lineOrderBuiltOnDemand_followsTheLatestRebuild) {
  ptest::ensureEngine();
  ptest::OwnedPl pl;
  ptest::fill(pl, {"G root@0", "C:\\m\\b.wav@1", "C:\\m\\a.wav@1"});
  zv::PlayOrders orders;
  orders.rebuild(pl);
  EXPECT_EQ(orders.lineOrder(pl).size(), 3u);
  EXPECT_EQ(orders.findByName(pl, "C:\\m\\a.wav"), (std::vector<int32_t>{2}));
  // A line added in front moves every index: the next rebuild's order knows it.
  PlaylistLine file{};
  file.level = 1;
  file.files = 1;
  plInsLine(pl, 1, &file, "C:\\m\\0.wav", nullptr, nullptr);
  orders.rebuild(pl);
  EXPECT_EQ(orders.findByName(pl, "C:\\m\\a.wav"), (std::vector<int32_t>{3}));
  EXPECT_EQ(orders.findByName(pl, "C:\\m\\0.wav"), (std::vector<int32_t>{1}));
}

TEST(PlayOrder, groupOfALine_isTheNearestLineAboveWithASmallerLevel) {
  ptest::ensureEngine();
  ptest::OwnedPl pl;
  ptest::fill(pl, {"G root@0", "a@1", "G sub@1", "b@2", "c@1"});
  EXPECT_EQ(zv::groupLineOf(pl, 1), 0);
  EXPECT_EQ(zv::groupLineOf(pl, 3), 2);
  EXPECT_EQ(zv::groupLineOf(pl, 4), 0);
  EXPECT_EQ(zv::groupLineOf(pl, 0), -1);
  EXPECT_EQ(zv::groupLineOf(pl, 9), -1);
}

}  // namespace
