// A playlist editor's change to the current playlist: playback stays on its
// line (it follows the line when it moves; when the line is deleted, the line
// that took its place becomes the current one).
#include <gtest/gtest.h>

#include <windows.h>

#include "player_fixture.h"
#include "testkit.h"

namespace {

struct SequencerEdit : ::testing::Test {
  ptest::OwnedPl pl;
  ptest::FakePort port;
  ptest::FakeView view;
  zv::Sequencer seq{pl, port, view};
  void SetUp() override {
    ptest::ensureEngine();
    ptest::fill(pl, {"G root@0", "a@1", "b@1", "G sub@1", "c@2", "d@1"});
    seq.orders().rebuild(pl);
    seq.setPlayIntent(true);
    seq.selectLine(4, false);  // c plays
    seq.onOpened(seq.pendingStream(), ZvOpenedPrm{capStream, 0, 0, 0});
    port.take();
  }
};

TEST_F(SequencerEdit, aMovedCurrentLineKeepsPlayingAtItsNewIndex) {
  seq.editPlaylist([&] {
    // sub's branch goes to the top, right after the root.
    plInsBranch(pl, 1, pl, 3, 1);
    plDelBranch(pl, 5);
  });
  ASSERT_STREQ(plGetName(pl, 2), "c");
  EXPECT_EQ(seq.curFileN(), 2);
  EXPECT_EQ(seq.curGroupN(), 1);
  EXPECT_EQ(seq.playedIndex(), 2);
  EXPECT_TRUE(port.take().empty()) << "nothing is stopped or opened";
  EXPECT_EQ(plFindMark(pl, 1), -1) << "no mark is left behind";
}

TEST_F(SequencerEdit, anEditElsewhereLeavesTheCurrentLineAlone) {
  seq.editPlaylist([&] { plDelBranch(pl, 1); });
  EXPECT_EQ(seq.curFileN(), 3);
  EXPECT_STREQ(plGetName(pl, seq.curFileN()), "c");
  EXPECT_TRUE(port.take().empty());
}

TEST_F(SequencerEdit, aDeletedCurrentLineGivesWayToTheLineInItsPlace) {
  seq.editPlaylist([&] { plDelBranch(pl, 3); });
  EXPECT_EQ(seq.curFileN(), 3);
  EXPECT_STREQ(plGetName(pl, 3), "d");
}

}  // namespace
