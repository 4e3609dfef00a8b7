// The mixer through the engine's exports on Wine's mixer (built from the
// ALSA file device: speakers destination with volume and mute).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "host_fixture.h"
#include "testkit.h"
#include "zv_mixer.h"

namespace {

const uint32_t kSpeakers = 4, kCompactDisc = 0x1005;
const uint32_t kVolumeCtl = 0x50030001, kMuteCtl = 0x20010002;

// Hidden windows of this process's mixer (other test programs beside this
// one have their own).
int countMixerWindows() { return static_cast<int>(zvtest::ownWindowsOfClass("MixerControlWnd").size()); }

class Mixer : public ::testing::Test {
 protected:
  void SetUp() override {
    playbacktest::ensurePlugins();
    int32_t r = openMixer();
    if (r != 0) GTEST_SKIP() << "no mixer here (error " << r << ")";
    line_ = findLine(kSpeakers);
    ASSERT_NE(line_, -1);
    volume_ = findCtl(line_, kVolumeCtl);
    mute_ = findCtl(line_, kMuteCtl);
    ASSERT_NE(volume_, -1);
    ASSERT_NE(mute_, -1);
  }
  void TearDown() override { closeMixer(); }
  int32_t line_ = -1, volume_ = -1, mute_ = -1;
};

TEST_F(Mixer, volumeIsClampedAndReadBack) {
  int32_t v = -1, b = -1;
  EXPECT_EQ(setVolume(volume_, 70000, 0), 0);
  getVolume(volume_, &v, &b);
  EXPECT_EQ(v, 65535);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(setVolume(volume_, -5, 0), 0);
  getVolume(volume_, &v, &b);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(setVolume(volume_, 32768, 100), 0);
  getVolume(volume_, &v, &b);
  EXPECT_EQ(v, 32768);
  setVolume(volume_, 65535, 0);
}

TEST_F(Mixer, muteIsABooleanOfMinusOneOrZero) {
  EXPECT_EQ(setMute(mute_, 7), 0);
  EXPECT_EQ(getMute(mute_), -1);
  EXPECT_EQ(setMute(mute_, 0), 0);
  EXPECT_EQ(getMute(mute_), 0);
}

TEST_F(Mixer, missingLinesAndControlsAreMinusOneAndQueriesFallBack) {
  EXPECT_EQ(findLine(kCompactDisc), -1);
  EXPECT_EQ(findCtl(-1, kVolumeCtl), -1);
  int32_t v = 0, b = 5;
  getVolume(-1, &v, &b);
  EXPECT_EQ(v, 65535);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(getMute(-1), -1);
}

TEST_F(Mixer, openingTwiceKeepsOneMixerAndOneWindow) {
  EXPECT_EQ(countMixerWindows(), 1);
  EXPECT_EQ(openMixer(), 0);
  EXPECT_EQ(countMixerWindows(), 1);
  EXPECT_NE(findLine(kSpeakers), -1);
  closeMixer();
  EXPECT_EQ(countMixerWindows(), 0);
  EXPECT_EQ(findLine(kSpeakers), -1) << "closed: nothing to ask";
}

// Wine never sends the control-change message itself, so the test delivers
// it as the system would and checks the broadcast that follows.
TEST_F(Mixer, controlChangeIsBroadcastWithTheControlsState) {
  ZvTarget self = GetCurrentThreadId();
  addBroadcastFilter(self, msgMixerChange);
  setVolume(volume_, 12345, 0);
  const std::vector<HWND> windows = zvtest::ownWindowsOfClass("MixerControlWnd");
  ASSERT_EQ(windows.size(), 1u);
  HWND w = windows.front();
  EXPECT_EQ(SendMessageA(w, 0x3D1, 0, volume_), 0);

  MSG msg;
  ASSERT_TRUE(zvtest::waitFor([&] { return PeekMessageA(&msg, nullptr, msgMixerChange, msgMixerChange, PM_REMOVE) != 0; }, 2000));
  ZvMixerChangePrm change = {};
  getMsgPrm(&msg, &change);
  finishMsg(&msg);
  EXPECT_EQ(change.controlId, volume_);
  EXPECT_EQ(change.volume, 12345);
  EXPECT_EQ(change.balance, 0);
  EXPECT_EQ(change.mute, getMute(volume_));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, msgMixerChange, msgMixerChange, PM_REMOVE)) << "exactly one";
  delBroadcastFilter(self, msgMixerChange);
  setVolume(volume_, 65535, 0);
}

}  // namespace
