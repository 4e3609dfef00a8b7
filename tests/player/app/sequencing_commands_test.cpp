// Command texts through the command set into the sequencer, the settings
// store and the real mixer.
#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include "commands/command_table.h"
#include "commands/sequencing_commands.h"
#include "player_fixture.h"
#include "zv_config.h"
#include "zv_mixer.h"

using namespace zv;
using Calls = std::vector<std::string>;

namespace {

struct SequencingCommandsTest : ::testing::Test {
  ptest::OwnedPl pl;
  ptest::FakePort port;
  ptest::FakeView view;
  Sequencer seq{pl, port, view};
  SequencingCommands commands{seq, -1};

  void SetUp() override {
    ptest::ensureEngine();
    ptest::fill(pl, {"G root@0", "a@1", "b@1"});
    seq.orders().rebuild(pl);
  }
  void run(const char* text) { runCommand(commands, text, sourceKeyboard); }
};

TEST_F(SequencingCommandsTest, switchesToggleSetOrKeepAndAreStored) {
  struct Step {
    const char* command;
    bool expected;
  } steps[] = {{"loop1", true}, {"loop1", false}, {"loop1:on", true}, {"loop1:on", true},
               {"loop1:off", false}, {"loop1:yes", false}, {"loop1:on", true}, {"loop1:On", true}};
  setConfigBool("loop1", ZV_FALSE);
  for (const Step& s : steps) {
    setConfigBool("loop1", seq.settings().loop1 ? ZV_FALSE : ZV_TRUE);  // a stale stored value
    run(s.command);
    EXPECT_EQ(seq.settings().loop1, s.expected) << s.command;
    EXPECT_EQ(configBool("loop1", ZV_FALSE) != 0, s.expected) << s.command << ": stored even when unchanged";
  }
  run("shuffle:on");
  run("loop2");
  EXPECT_TRUE(seq.settings().shuffle);
  EXPECT_TRUE(seq.settings().loop2);
  EXPECT_NE(configBool("shuffle", ZV_FALSE), 0);
  run("group_sorted");
  EXPECT_EQ(seq.settings().groupMode, 3);
  EXPECT_EQ(configInt("groupMode", -1), 3);
  run("group_dirs");
  EXPECT_EQ(configInt("groupMode", -1), 0);
}

TEST_F(SequencingCommandsTest, rewindAndForwardMoveTheStreamWithinItsLength) {
  run("rewind:10");
  EXPECT_TRUE(port.take().empty()) << "no stream: nothing";
  seq.setPlayIntent(true);
  seq.selectLine(1, false);
  seq.onOpened(seq.pendingStream(), ZvOpenedPrm{capStream, 0, 0, 0});
  ZvStatusRec* status = port.statusOf[seq.stream()];
  status->lengthMs = 60000;
  status->positionMs = 4000;
  port.take();
  run("rewind:10");
  run("forward:10");
  status->positionMs = 55000;
  run("forward:10");
  run("forward:ten");
  EXPECT_EQ(port.take(), (Calls{"seek 101 0", "seek 101 14000", "seek 101 60000"}));
  EXPECT_TRUE(seq.seeking());
  status->lengthMs = 0;  // a stream without a length cannot be moved
  run("forward:1");
  EXPECT_TRUE(port.take().empty());
}

TEST_F(SequencingCommandsTest, togglePlayFollowsThePlayIntentEvenWithoutAStream) {
  seq.setPlayIntent(true);
  run("toggleplay");
  EXPECT_FALSE(seq.playIntent());
  EXPECT_TRUE(port.take().empty());
  run("next");
  EXPECT_EQ(seq.curFileN(), 1);
  run("toggleplay");
  EXPECT_EQ(port.take(), (Calls{"open a"}));
  run("fadetoggleplay");
  EXPECT_FALSE(seq.playIntent());
}

TEST(MasterVolume, volupAndVoldownStepWithinTheRangeAndKeepTheBalance) {
  ptest::ensureEngine();
  if (openMixer() != 0) GTEST_SKIP() << "no mixer";
  int32_t line = findLine(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  int32_t control = line != -1 ? findCtl(line, MIXERCONTROL_CONTROLTYPE_VOLUME) : -1;
  if (control < 0) {
    closeMixer();
    GTEST_SKIP() << "no master volume control";
  }
  ptest::OwnedPl pl;
  ptest::FakePort port;
  ptest::FakeView view;
  Sequencer seq{pl, port, view};
  SequencingCommands commands{seq, control};
  struct Case {
    int32_t before;
    const char* command;
    int32_t after;
  } cases[] = {{65000, "volup", 65535}, {1000, "voldown", 0}, {30000, "volup", 32048}, {30000, "voldown", 27952}};
  for (const Case& c : cases) {
    setVolume(control, c.before, 0);
    runCommand(commands, c.command, sourceKeyboard);
    int32_t volume = -1, balance = -1;
    getVolume(control, &volume, &balance);
    EXPECT_EQ(volume, c.after) << c.command << " at " << c.before;
  }
  closeMixer();
}

// Commands made while the mixer had no master control (-1) follow the
// control of a mixer opened later (another output device was chosen).
TEST(MasterVolume, aReopenedMixersControlTakesTheVolumeCommands) {
  ptest::ensureEngine();
  ptest::OwnedPl pl;
  ptest::FakePort port;
  ptest::FakeView view;
  Sequencer seq{pl, port, view};
  SequencingCommands commands{seq, -1};
  runCommand(commands, "voldown", sourceKeyboard);  // nothing to move: no failure
  if (openMixer() != 0) GTEST_SKIP() << "no mixer";
  int32_t line = findLine(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS);
  int32_t control = line != -1 ? findCtl(line, MIXERCONTROL_CONTROLTYPE_VOLUME) : -1;
  if (control < 0) {
    closeMixer();
    GTEST_SKIP() << "no master volume control";
  }
  commands.setVolumeControl(control);
  EXPECT_EQ(commands.volumeControl(), control);
  setVolume(control, 40000, 0);
  runCommand(commands, "voldown", sourceKeyboard);
  int32_t volume = -1, balance = -1;
  getVolume(control, &volume, &balance);
  EXPECT_EQ(volume, 40000 - 2048);
  setVolume(control, 65535, 0);
  closeMixer();
}

}  // namespace
