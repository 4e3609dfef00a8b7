// The sequencing rules against a recording stream port and real playlists:
// what the engine is told for each command and notification.
#include <gtest/gtest.h>

#include <windows.h>

#include "player_fixture.h"
#include "testkit.h"

using ptest::FakePort;
using ptest::FakeView;
using Calls = std::vector<std::string>;

namespace {

ZvOpenedPrm report(uint32_t caps) { return ZvOpenedPrm{caps, 0, 0, 0}; }

struct SequencerTest : ::testing::Test {
  ptest::OwnedPl pl;
  FakePort port;
  FakeView view;
  zv::Sequencer seq{pl, port, view};

  void SetUp() override { ptest::ensureEngine(); }
  void load(const std::vector<std::string>& lines) {
    ptest::fill(pl, lines);
    seq.orders().rebuild(pl);
  }
  // Opens `line` while playing and lets the engine report it open.
  ZvTarget playLine(int32_t line, uint32_t caps = capStream) {
    seq.setPlayIntent(true);
    seq.selectLine(line, false);
    ZvTarget s = seq.pendingStream();
    seq.onOpened(s, report(caps));
    return s;
  }
  void setPosition(ZvTarget s, int32_t pos, int32_t len) {
    port.statusOf[s]->positionMs = pos;
    port.statusOf[s]->lengthMs = len;
  }
};

TEST_F(SequencerTest, selectLine_stepsToAFileLineInTheGivenDirection) {
  load({"G root@0", "a@1", "G sub@1", "b@2", "c@1"});
  struct Case {
    int32_t index;
    bool backwards;
    int32_t expectedFile, expectedGroup;
  } cases[] = {
      {0, false, 1, 0}, {2, false, 3, 2}, {2, true, 1, 0}, {0, true, 4, 0},  // wraps to the last line
      {4, false, 4, 0}, {5, false, -1, -1}, {-3, false, -1, -1},
  };
  for (const Case& c : cases) {
    seq.selectLine(c.index, c.backwards);
    EXPECT_EQ(seq.curFileN(), c.expectedFile) << "from " << c.index;
    EXPECT_EQ(seq.curGroupN(), c.expectedGroup) << "from " << c.index;
  }
  EXPECT_TRUE(port.calls.empty()) << "stopped: nothing is opened";
  seq.selectLine(3, false);
  EXPECT_TRUE(seq.needsOpen());
  EXPECT_EQ(seq.curFileName(), "b");
}

TEST_F(SequencerTest, selectLine_withOnlyGroupLinesClearsTheCurrentLine) {
  load({"G root@0", "G sub@1"});
  seq.selectLine(1, false);
  EXPECT_EQ(seq.curFileN(), -1);
  EXPECT_EQ(seq.curFileName(), "");
}

TEST_F(SequencerTest, nextGroup_landsOnTheFirstFileAfterOrTheLastFileBefore) {
  load({"G root@0", "G g1@1", "a@2", "b@2", "G g2@1", "c@2", "d@2", "G g3@1", "e@2"});
  seq.selectLine(5, false);  // c, first of g2
  seq.nextGroup(true);
  EXPECT_EQ(seq.curFileN(), 3) << "previous group from a group's first file: the last file of the group before";
  seq.nextGroup(false);
  EXPECT_EQ(seq.curFileN(), 5);
  seq.selectLine(8, false);
  seq.nextGroup(false);
  EXPECT_EQ(seq.curFileN(), 2) << "wraps past the last group to the first";
  seq.selectLine(-1, false);
  seq.nextGroup(false);
  EXPECT_EQ(seq.curFileN(), -1) << "no current file: nothing happens";
}

TEST_F(SequencerTest, nextFile_wrapsAndRepeatGroupStaysInTheGroup) {
  load({"G root@0", "G g1@1", "a@2", "b@2", "G g2@1", "c@2"});
  seq.selectLine(5, false);
  seq.nextFile(false);
  EXPECT_EQ(seq.curFileN(), 2) << "after the last file the first follows";
  seq.nextFile(true);
  EXPECT_EQ(seq.curFileN(), 5) << "previous on the first plays the last";
  seq.settings().loop1 = true;
  seq.selectLine(3, false);
  seq.nextFile(false);
  EXPECT_EQ(seq.curFileN(), 2);
  seq.nextFile(false);
  EXPECT_EQ(seq.curFileN(), 3);
  seq.selectLine(5, false);
  seq.nextFile(false);
  EXPECT_EQ(seq.curFileN(), 5) << "a group of one file repeats it";
}

TEST_F(SequencerTest, nothingPlayable_stopsAfterOneFullPassAndSaysSo) {
  load({"G root@0", "x@1", "y@1", "z@1"});
  port.unopenable = {"x", "y", "z"};
  seq.setPlayIntent(true);
  seq.selectLine(1, false);
  int delivered = ptest::pumpSkips(seq, view);
  EXPECT_LT(delivered, 10) << "the skipping must end";
  Calls opens;
  for (const std::string& c : port.calls)
    if (c.rfind("open ", 0) == 0) opens.push_back(c);
  EXPECT_EQ(opens, (Calls{"open x", "open y", "open z"}));
  EXPECT_EQ(view.nothingPlayableCount, 1);
  EXPECT_FALSE(seq.playIntent());
  EXPECT_TRUE(seq.needsOpen());
  // "play" tries one more pass, no more.
  port.take();
  seq.play();
  ptest::pumpSkips(seq, view);
  EXPECT_EQ(port.calls.size(), 3u);
  EXPECT_EQ(view.nothingPlayableCount, 2);
}

TEST_F(SequencerTest, nothingPlayable_countsEngineFailuresAfterEveryDecoderToo) {
  load({"G root@0", "x@1", "y@1"});
  seq.setPlayIntent(true);
  seq.selectLine(1, false);
  for (int i = 0; i < 10 && seq.pendingStream(); ++i) seq.onOpenFailed(seq.pendingStream());
  EXPECT_EQ(seq.pendingStream(), 0u);
  EXPECT_EQ(view.nothingPlayableCount, 1);
  EXPECT_EQ(seq.heldStreams(), 0u) << "failed opens leave no record behind";
}

TEST_F(SequencerTest, onePlayableFileAmongFailures_isReachedAndResetsTheCount) {
  load({"G root@0", "x@1", "y@1", "ok@1"});
  port.unopenable = {"x", "y"};
  seq.setPlayIntent(true);
  seq.selectLine(1, false);
  ptest::pumpSkips(seq, view);
  ASSERT_NE(seq.pendingStream(), 0u);
  EXPECT_EQ(seq.curFileName(), "ok");
  seq.onOpened(seq.pendingStream(), report(capStream));
  EXPECT_EQ(view.nothingPlayableCount, 0);
  EXPECT_TRUE(seq.playIntent());
}

TEST_F(SequencerTest, openFailed_triesTheNextDecoderWithTheSameRecord) {
  load({"G root@0", "a@1"});
  port.nextHandles = {555};
  seq.setPlayIntent(true);
  seq.selectLine(1, false);
  ZvTarget first = seq.pendingStream();
  ZvStatusRec* rec = port.statusOf[first];
  port.take();
  seq.onOpenFailed(first);
  EXPECT_EQ(port.take(), (Calls{"stopPlugin 101", "openNext"}));
  EXPECT_EQ(seq.pendingStream(), 555u);
  seq.onOpened(555, report(0));
  EXPECT_EQ(seq.streamStatus(), rec);
}

TEST_F(SequencerTest, eachOpenHasItsOwnStatusRecordAndReleasesItsContext) {
  load({"G root@0", "a@1", "b@1"});
  seq.settings().crossfade = true;
  seq.settings().cfDuration = 2000;
  ZvTarget a = playLine(1);
  seq.selectLine(2, false);  // playing: b opens while a still plays
  ZvTarget b = seq.pendingStream();
  ASSERT_NE(port.statusOf[a], port.statusOf[b]) << "overlapping streams must not share one record";
  port.take();
  seq.onOpened(b, report(capStream));
  EXPECT_EQ(port.take(), (Calls{"close 101 2000 0", "play 102 2000 0"}));
  EXPECT_EQ(seq.heldStreams(), 2u) << "a keeps its record while it fades out";
  EXPECT_EQ(port.released.size(), 2u) << "both contexts released after their open";
  for (auto& c : port.contexts) EXPECT_EQ(port.released.count(c.get()), 1u);
  seq.onClosed(a);
  EXPECT_EQ(seq.heldStreams(), 1u);
  EXPECT_EQ(seq.stream(), b);
}

TEST_F(SequencerTest, staleOpenReport_isClosedAtOnce) {
  load({"G root@0", "a@1", "b@1"});
  seq.setPlayIntent(true);
  seq.selectLine(1, false);
  ZvTarget a = seq.pendingStream();
  seq.selectLine(2, false);  // the user moves on before a is open
  port.take();
  seq.onOpened(a, report(capStream));
  EXPECT_EQ(port.take(), (Calls{"close 101 0 0"}));
  EXPECT_EQ(seq.stream(), 0u);
  EXPECT_EQ(port.released.size(), 1u);
}

TEST_F(SequencerTest, crossfadeTrigger_opensTheNextFileOnlyWhenBothCanFade) {
  load({"G root@0", "a@1", "b@1", "c@1"});
  seq.settings().crossfade = true;
  seq.settings().cfDuration = 3000;
  seq.settings().skipEnd = true;
  seq.settings().skipEndL = 1000;
  port.crossfadable = {"a", "c"};
  ZvTarget a = playLine(1);
  setPosition(a, 5000, 10000);
  seq.onCrossfadeTimer();
  EXPECT_FALSE(seq.crossfadeArmed()) << "5 s left, lead 4 s";
  setPosition(a, 6500, 10000);
  port.take();
  seq.onCrossfadeTimer();
  EXPECT_TRUE(seq.crossfadeArmed());
  EXPECT_EQ(port.take(), (Calls{"check a", "check b"})) << "b cannot fade: no open";
  seq.onEndReached(a);
  EXPECT_EQ(seq.curFileN(), 2) << "the end of file moves on as usual";

  port.crossfadable = {"b", "c"};
  ZvTarget b = seq.pendingStream();
  seq.onOpened(b, report(capStream));
  setPosition(b, 8000, 10000);
  port.take();
  seq.onCrossfadeTimer();
  EXPECT_EQ(port.take(), (Calls{"check b", "check c", "open c"}));
}

TEST_F(SequencerTest, endOfFileWhileTheCrossfadeTargetOpens_doesNotSkipAFile) {
  load({"G root@0", "a@1", "b@1", "c@1"});
  seq.settings().crossfade = true;
  port.crossfadable = {"a", "b", "c"};
  ZvTarget a = playLine(1);
  setPosition(a, 9000, 10000);
  seq.onCrossfadeTimer();
  ASSERT_NE(seq.pendingStream(), 0u);
  EXPECT_EQ(seq.curFileName(), "b");
  port.take();
  seq.onEndReached(a);  // a short file ends before b reports itself open
  EXPECT_TRUE(port.take().empty());
  EXPECT_EQ(seq.curFileName(), "b");
}

TEST_F(SequencerTest, repeatFile_repeatsAtTheEndAndWithCrossfade) {
  load({"G root@0", "a@1", "b@1"});
  seq.settings().loop2 = true;
  ZvTarget a = playLine(1, 0);
  port.take();
  seq.onEndReached(a);
  EXPECT_EQ(port.take(), (Calls{"open a"}));

  seq.onOpened(seq.pendingStream(), report(capStream));
  seq.settings().crossfade = true;
  port.crossfadable = {"a"};
  ZvTarget again = seq.stream();
  setPosition(again, 9500, 10000);
  port.take();
  seq.onCrossfadeTimer();
  EXPECT_EQ(port.take(), (Calls{"check a", "open a"})) << "the cross-fade goes into the same file";
}

TEST_F(SequencerTest, pausedNearTheEnd_doesNotCrossfade) {
  load({"G root@0", "a@1", "b@1"});
  seq.settings().crossfade = true;
  port.crossfadable = {"a", "b"};
  ZvTarget a = playLine(1);
  seq.stop();
  setPosition(a, 9900, 10000);
  port.take();
  seq.onCrossfadeTimer();
  EXPECT_TRUE(port.take().empty());
  EXPECT_EQ(seq.stream(), a);
}

TEST_F(SequencerTest, startStream_fadesAndSkipsTheStartOnlyForOutputStreams) {
  load({"G root@0", "a@1", "b@1"});
  seq.settings().crossfade = true;
  seq.settings().cfDuration = 1500;
  seq.settings().fadeMode = 1;
  seq.settings().skipStart = true;
  seq.settings().skipStartL = 700;
  seq.setPlayIntent(true);
  seq.selectLine(1, false);
  port.take();
  seq.onOpened(101, report(capStream));
  EXPECT_EQ(port.take(), (Calls{"seek 101 700", "play 101 1500 1"}));
  seq.selectLine(2, false);
  port.take();
  seq.onOpened(102, report(capAnalog));
  EXPECT_EQ(port.take(), (Calls{"close 101 1500 1", "play 102 0 0"}));
}

TEST_F(SequencerTest, playCommands_followThePlayIntent) {
  load({"G root@0", "a@1"});
  seq.setPlayIntent(true);
  seq.togglePlay();  // no stream yet: still "stop"
  EXPECT_FALSE(seq.playIntent());
  EXPECT_TRUE(port.take().empty());
  seq.selectLine(1, false);
  EXPECT_TRUE(seq.needsOpen());
  seq.togglePlay();
  EXPECT_EQ(port.take(), (Calls{"open a"}));
  seq.onOpened(101, report(capNoSeek));
  EXPECT_FALSE(seq.seekable());
  port.take();
  seq.stop2();
  seq.play2();
  seq.fadeStop();
  seq.fadePlay();
  EXPECT_EQ(port.take(), (Calls{"stop 101 0 0", "seek 101 0", "seek 101 0", "play 101 0 0", "stop 101 3000 0",
                                "play 101 3000 0"}));
  EXPECT_TRUE(seq.seek(1234));
  EXPECT_TRUE(seq.seeking());
  seq.onState(101, stSeeking);
  EXPECT_TRUE(seq.seeking());
  seq.onState(101, stPlaying);
  EXPECT_FALSE(seq.seeking());
}

TEST_F(SequencerTest, selectingWhileStopped_closesTheStreamOnceAndPlayOpensTheLine) {
  load({"G root@0", "a@1", "b@1"});
  ZvTarget a = playLine(1);
  seq.stop();
  port.take();
  seq.selectLine(2, false);
  EXPECT_EQ(port.take(), (Calls{"close 101 0 0"}));
  seq.play();
  seq.onOpened(seq.pendingStream(), report(0));
  EXPECT_EQ(port.take(), (Calls{"open b", "play 102 0 0"})) << "a is not closed a second time";
  seq.onClosed(a);
  EXPECT_EQ(seq.stream(), 102u);
}

TEST_F(SequencerTest, closedReport_clearsThePlayingStream) {
  load({"G root@0", "a@1"});
  ZvTarget a = playLine(1);
  seq.onClosed(a);
  EXPECT_EQ(seq.stream(), 0u);
  EXPECT_EQ(seq.playedIndex(), -1);
  EXPECT_EQ(seq.playedName(), "");
  EXPECT_EQ(seq.streamStatus(), nullptr);
  EXPECT_EQ(seq.heldStreams(), 0u);
}


// The open operation with real files: plInsFile expands a folder into a
// group of its playable files.
struct OpenOperation : SequencerTest {
  std::string dir;
  void SetUp() override {
    SequencerTest::SetUp();
    dir = zvtest::freshDir("open");
    CreateDirectoryA((dir + "\\album").c_str(), nullptr);
    CreateDirectoryA((dir + "\\texts").c_str(), nullptr);
    for (const char* f : {"\\album\\1.wav", "\\album\\2.wav", "\\single.wav", "\\texts\\notes.txt"})
      zvtest::writeFile(dir + f, "RIFF", 4);
  }
  std::vector<std::string> names() {
    std::vector<std::string> out;
    for (int32_t i = 0; i < plGetCount(pl); ++i) out.push_back(plGetName(pl, i));
    return out;
  }
};

TEST_F(OpenOperation, newPlaylistSelectsTheFirstFileOfTheOrder) {
  load({"G old@0", "C:\\old.wav@1"});
  seq.beginOpen(ZV_OPEN_NEW_PLAYLIST);
  EXPECT_EQ(view.editorCopies, 1) << "editors showing the old list keep a copy";
  EXPECT_TRUE(seq.addItem(dir + "\\album\\", 0));
  seq.endOpen(ZV_OPEN_NEW_PLAYLIST);
  ASSERT_GE(plGetCount(pl), 4);
  EXPECT_EQ(plGetRec(pl, 0)->flags, 0x10404u) << "a new playlist starts with its root line";
  EXPECT_EQ(plGetName(pl, 1), dir + "\\album") << "the trailing backslash is removed";
  EXPECT_EQ(seq.curFileName(), dir + "\\album\\1.wav");
  EXPECT_GE(view.saves, 1);
  EXPECT_EQ(view.noPlayableFilesCount, 0);
}

TEST_F(OpenOperation, addAndPlayStartsTheFirstAddedOrTheFirstFoundItem) {
  seq.beginOpen(ZV_OPEN_NEW_PLAYLIST);
  seq.addItem(dir + "\\single.wav", 0);
  seq.endOpen(ZV_OPEN_NEW_PLAYLIST);
  port.take();
  OpenMode addPlay = ZV_OPEN_ADD | ZV_OPEN_PLAY;
  seq.beginOpen(addPlay);
  EXPECT_EQ(plGetCount(pl), 2) << "adding keeps the playlist";
  seq.addItem(dir + "\\album", addPlay);
  seq.endOpen(addPlay);
  EXPECT_TRUE(seq.playIntent());
  EXPECT_EQ(port.take(), (Calls{"open " + dir + "\\album\\1.wav"}));

  OpenMode findPlay = ZV_OPEN_ADD | ZV_OPEN_PLAY | ZV_OPEN_FIND;
  int32_t before = plGetCount(pl);
  seq.beginOpen(findPlay);
  seq.addItem(dir + "\\SINGLE.WAV", findPlay);  // present: found, not added
  seq.addItem(dir + "\\album\\2.wav", findPlay);
  seq.endOpen(findPlay);
  EXPECT_EQ(plGetCount(pl), before);
  EXPECT_EQ(seq.curFileName(), dir + "\\single.wav");
}

TEST_F(OpenOperation, nothingPlayableSaysSoAndAddingNothingKeepsTheCurrentFile) {
  seq.beginOpen(ZV_OPEN_NEW_PLAYLIST);
  seq.addItem(dir + "\\single.wav", 0);
  seq.endOpen(ZV_OPEN_NEW_PLAYLIST);
  seq.play();
  seq.onOpened(seq.pendingStream(), report(capStream));
  port.take();
  OpenMode addPlay = ZV_OPEN_ADD | ZV_OPEN_PLAY;
  seq.beginOpen(addPlay);
  EXPECT_FALSE(seq.addItem("C:\\" + std::string(300, 'x') + ".wav", addPlay)) << "refused, never cut";
  seq.addItem(dir + "\\texts", addPlay);  // a folder without playable files
  seq.endOpen(addPlay);
  EXPECT_TRUE(port.take().empty()) << "nothing added: the playing file goes on";
  EXPECT_EQ(seq.curFileName(), dir + "\\single.wav");

  seq.beginOpen(ZV_OPEN_REPLACE);
  seq.addItem(dir + "\\texts", ZV_OPEN_REPLACE);
  seq.endOpen(ZV_OPEN_REPLACE);
  EXPECT_EQ(view.editorCopies, 1) << "replacing gives the editors no copy";
  EXPECT_EQ(names(), (std::vector<std::string>{""}));
  EXPECT_EQ(view.noPlayableFilesCount, 1);
  EXPECT_EQ(seq.curFileN(), -1);
}

TEST_F(SequencerTest, discRemoved_dropsTheDrivesLinesAndKeepsTheCurrentFilePlaying) {
  load({"G root@0", "D:\\t1.cda@1", "D:\\t2.cda@1", "C:\\a.wav@1", "C:\\b.wav@1"});
  ZvTarget a = playLine(3);
  port.take();
  seq.discRemoved('d');
  EXPECT_EQ(plGetCount(pl), 3);
  EXPECT_EQ(seq.curFileN(), 1);
  EXPECT_EQ(seq.playedIndex(), 1);
  EXPECT_EQ(seq.stream(), a);
  EXPECT_TRUE(port.take().empty()) << "the playing file is not opened again";
  EXPECT_EQ(plFindMark(pl, 1), -1) << "marks removed";

  seq.discRemoved('C');  // the current file's own drive
  EXPECT_EQ(plGetCount(pl), 1);
  EXPECT_EQ(seq.curFileN(), -1);
  seq.discRemoved('E');
  EXPECT_EQ(plGetCount(pl), 1);
}

}  // namespace
