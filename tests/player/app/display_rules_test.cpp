// What the main window shows over time: the title scrolling, the time texts
// with the skins' formats (hostile ones refused), the 250 ms schedule with
// the blinking position text, the tray animation, the label texts; and the
// power events.
#include <gtest/gtest.h>
#include <windows.h>

#include "display/display_clock.h"
#include "display/label_texts.h"
#include "display/time_format.h"
#include "display/title_scroll.h"
#include "display/volume_indicator.h"
#include "input/power_events.h"
#include "testkit.h"

using namespace zv;

namespace {

TEST(TitleScroll, rotatesOneCharacterPerTick_throughTheGap) {
  TitleScroll t;
  EXPECT_EQ(t.caption(), "Zorvak");
  t.setTitle("Song", true);
  EXPECT_EQ(t.caption(), "Song  \x96\x96  ");
  t.tick();
  EXPECT_EQ(t.caption(), "ong  \x96\x96  S");
  for (int i = 0; i < 9; ++i) t.tick();
  EXPECT_EQ(t.caption(), "Song  \x96\x96  ") << "back after title + gap characters";
  t.tick();
  t.setTitle("Song", true);
  EXPECT_EQ(t.caption(), "ong  \x96\x96  S") << "the same title keeps its place";
  t.setTitle("", true);
  EXPECT_EQ(t.title(), "Zorvak");
  t.setTitle("Other", false);
  t.tick();
  EXPECT_EQ(t.caption(), "Other") << "no scrolling with scrollTitle off";
}

TEST(TimeFormat, skinFormatsCheckedBeforeUse) {
  struct Case {
    const char* skin;
    const char* accepted;
  } cases[] = {
      {"%d:%.2d", "%d:%.2d"},
      {"%02d:%02d", "%02d:%02d"},
      {"%d.%2d", "%d.%2d"},
      {"%d min", "%d min"},
      {"%d:%.2d:%.2d", "%d:%.2d:%.2d"},
      {"100%% %d:%.2d", "100%% %d:%.2d"},
      {"", "%d:%.2d"},
      {"%s", "%d:%.2d"},
      {"%d%n", "%d:%.2d"},
      {"%s%s%s%s", "%d:%.2d"},
      {"%d:%d:%d:%d", "%d:%.2d"},  // four conversions
      {"%x", "%d:%.2d"},
      {"%ld", "%d:%.2d"},
      {"%123d", "%d:%.2d"},
      {"%.d", "%d:%.2d"},
      {"%*d", "%d:%.2d"},
      {"%d%", "%d:%.2d"},
      {"no conversion", "%d:%.2d"},
  };
  for (const Case& c : cases) EXPECT_EQ(checkedTimeFormat(c.skin), c.accepted) << c.skin;
  EXPECT_EQ(checkedTimeFormat(std::string(100, 'x') + "%d"), "%d:%.2d") << "overlong";
}

TEST(TimeFormat, timesInTheirFormats) {
  EXPECT_EQ(formatTime("%d:%.2d", 0), "0:00");
  EXPECT_EQ(formatTime("%d:%.2d", 65999), "1:05");
  EXPECT_EQ(formatTime("%02d:%02d", 600000), "10:00");
  EXPECT_EQ(formatTime("%d min", 185000), "3 min");
  EXPECT_EQ(formatTime("%d:%.2d:%.2d", 3723000), "1:02:03");
  EXPECT_EQ(formatTime("%d:%.2d", -5), "0:00");
  EXPECT_EQ(std::string(kNoTime), "\x96\x96:\x96\x96");
}

TEST(DisplayClock, scheduleAndPositionBlink) {
  DisplayClock c;
  std::string halves, fives, blank;
  for (int i = 0; i < 24; ++i) {
    c.tick();
    halves += c.halfSecond() ? 'H' : '.';
    fives += c.fiveSeconds() ? 'F' : '.';
    blank += c.positionBlank(false) ? 'b' : '.';
    EXPECT_FALSE(c.positionBlank(true)) << "playing never blinks";
  }
  EXPECT_EQ(halves, ".H.H.H.H.H.H.H.H.H.H.H.H");
  EXPECT_EQ(fives, "...................F....");
  // 250 .. 6000 ms: blank from 1000 to 1750 of every 2 s.
  EXPECT_EQ(blank, "...bbbb....bbbb....bbbb.");
}

TEST(TrayAnimation, framesOneToFourWhilePlaying_blinkingWhileStopped) {
  DisplayClock c;
  TrayAnimation a;
  std::string frames;
  for (int i = 0; i < 24; ++i) {
    c.tick();
    if (!c.halfSecond()) continue;
    frames += static_cast<char>('0' + a.step(i < 12, c));
  }
  // Six steps playing (500 .. 3000 ms), six stopped (3500 .. 6000 ms).
  EXPECT_EQ(frames, "234123" "033003");
}

TEST(LabelTexts, l2GroupJoinsWithTheEmDashInColour2_andTooltips) {
  EXPECT_EQ(fileLabelText("Album", "Song", false), "Song");
  EXPECT_EQ(fileLabelText("Album", "Song", true), "Album  \x01\x97\x02  Song");
  EXPECT_EQ(fileLabelText("", "Song", true), "Song");
  EXPECT_EQ(labelTooltip("Current group", "Album"), "Current group:\r\nAlbum");
  EXPECT_EQ(labelTooltip("Current file", ""), "");
  EXPECT_EQ(buttonTooltip("Play", "Play with fade", true), "Play / [+Shift] Play with fade");
  EXPECT_EQ(buttonTooltip("Play", "Play", false), "Play");
}

TEST(VolumeIndicator, textOfVolumeAndMute) {
  EXPECT_EQ(volumeText(0, false), "Volume 0%");
  EXPECT_EQ(volumeText(65535, false), "Volume 100%");
  EXPECT_EQ(volumeText(32768, false), "Volume 50%");
  EXPECT_EQ(volumeText(99999, false), "Volume 100%");
  EXPECT_EQ(volumeText(40000, true), "Muted");
}

TEST(VolumeIndicator, showsItselfWithItsTextAndHidesAgain) {
  VolumeIndicator indicator;
  indicator.show(32768, false);
  if (!indicator.hwnd()) GTEST_SKIP() << "no display";
  char text[64] = {};
  GetWindowTextA(indicator.hwnd(), text, sizeof(text));
  EXPECT_STREQ(text, "Volume 50%");
  EXPECT_TRUE(IsWindowVisible(indicator.hwnd()));
  char cls[64] = {};
  GetClassNameA(indicator.hwnd(), cls, sizeof(cls));
  EXPECT_STREQ(cls, "ZV_VolumeIndicator");
  EXPECT_TRUE(GetWindowLongPtrA(indicator.hwnd(), GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  indicator.show(0, true);
  GetWindowTextA(indicator.hwnd(), text, sizeof(text));
  EXPECT_STREQ(text, "Muted");
  EXPECT_TRUE(zvtest::waitFor(
      [&] {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
        return !IsWindowVisible(indicator.hwnd());
      },
      VolumeIndicator::kShownMs * 3))
      << "it hides itself";
}

TEST(PowerResume, stopsOnSuspendAndPlaysAgainAfterAnyResume) {
  struct Step {
    unsigned event;
    bool playIntent, playing;
    PowerAction expected;
  };
  const std::vector<std::vector<Step>> runs = {
      {{4, true, true, PowerAction::stop}, {7, false, false, PowerAction::play}},
      {{5, true, true, PowerAction::stop}, {6, false, false, PowerAction::play}},
      {{4, true, true, PowerAction::stop}, {0x12, false, false, PowerAction::play}},  // automatic resume
      {{4, true, true, PowerAction::stop}, {8, false, false, PowerAction::play}, {7, false, false, PowerAction::none}},
      {{4, false, false, PowerAction::stop}, {7, false, false, PowerAction::none}},  // was stopped
      {{4, true, true, PowerAction::stop}, {7, true, true, PowerAction::none}},     // something plays already
      {{7, false, false, PowerAction::none}},                                       // resume without suspend
      {{9, false, false, PowerAction::none}},
      // Standby then suspend: the second notice keeps what the first saw.
      {{5, true, true, PowerAction::stop}, {4, false, false, PowerAction::stop}, {0x12, false, false, PowerAction::play}},
      {{0, true, true, PowerAction::none}, {10, true, true, PowerAction::none}},  // a query and a status change
  };
  for (size_t r = 0; r < runs.size(); ++r) {
    PowerResume p;
    for (size_t i = 0; i < runs[r].size(); ++i) {
      const Step& s = runs[r][i];
      EXPECT_EQ(p.onEvent(s.event, s.playIntent, s.playing), s.expected) << "run " << r << " step " << i;
    }
  }
}

}  // namespace
