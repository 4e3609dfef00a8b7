// TVideoWnd made in the test's own process, without a playing stream (its
// id is one no instance has, so what it sends goes nowhere): the statistics
// line from the status record's video words, the panels growing the window
// around a picture that keeps its size, the image controls' ranges, and a
// stream that reports no picture size.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "testkit.h"
#include "video_wnd.h"
#include "zv_config.h"

namespace {

using zvplayer::TVideoWnd;
using zvplayer::VideoPanel;
using zvplayer::VideoSizeMode;

constexpr ZvTarget kNoSuchStream = 0x7ffff123;

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

SIZE clientSize(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  return {r.right, r.bottom};
}

LONG windowHeight(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r.bottom - r.top;
}

class VideoWndInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "the window needs a display";
    for (const char* key : {"video_cpl", "video_img", "video_stat"}) setConfigBool(key, ZV_FALSE);
    for (int i = 0; i < 7; ++i) setConfigInt(("videoctl" + std::to_string(i)).c_str(), i < 2 ? 1000 : 0);
    setConfigInt("video_cw", 1000);
    // Made after the settings: the window reads them when it is made.
    window_ = std::make_unique<TVideoWnd>(nullptr);
    ASSERT_TRUE(window_->create(zvtest::rootDir(), nullptr));
  }
  TVideoWnd& wnd() { return *window_; }
  std::unique_ptr<TVideoWnd> window_;
  ZvVideoStatusRec status_{};
};

TEST_F(VideoWndInProcess, writesTheStatisticsLineFromTheStatusRecordAndNothingWithoutAStream) {
  status_.frameRate = 2500;
  status_.videoKbps = 800;
  status_.frameRate2 = 2997;
  status_.droppedPercent = 3;
  status_.syncOffsetMs = -40;
  wnd().showStream(kNoSuchStream, &status_, 320, 240, "");
  wnd().togglePanel(VideoPanel::statistics);
  EXPECT_TRUE(zvtest::waitFor([&] {
    pump();
    return wnd().statisticsText() == "320x240  FPS: 29.97/25.00  Drop: 3%  SyncOfs: -40ms  Bitrate: 800kb/s  ";
  }, 5000)) << wnd().statisticsText();
  // The timer follows the record.
  status_.droppedPercent = 12;
  EXPECT_TRUE(zvtest::waitFor([&] {
    pump();
    return wnd().statisticsText().find("Drop: 12%") != std::string::npos;
  }, 5000)) << wnd().statisticsText();
  EXPECT_EQ(configBool("video_stat", ZV_FALSE), ZV_TRUE) << "the panel's state is stored";
  wnd().hideVideo();
  EXPECT_EQ(wnd().statisticsText(), "");
  EXPECT_FALSE(IsWindowVisible(wnd().hwnd()));
}

TEST_F(VideoWndInProcess, panelsGrowTheWindowAroundAPictureThatKeepsItsSize) {
  wnd().showStream(kNoSuchStream, &status_, 320, 240, "");
  HWND surface = wnd().pictureWindow();
  ASSERT_NE(surface, nullptr);
  const LONG bare = windowHeight(wnd().hwnd());
  EXPECT_EQ(clientSize(surface).cx, 320);
  EXPECT_EQ(clientSize(surface).cy, 240);
  struct Step {
    VideoPanel panel;
    bool grows;
  };
  const Step steps[] = {{VideoPanel::main, true}, {VideoPanel::image, true}, {VideoPanel::statistics, true},
                        {VideoPanel::main, false}, {VideoPanel::image, false}, {VideoPanel::statistics, false}};
  for (const Step& s : steps) {
    const LONG before = windowHeight(wnd().hwnd());
    wnd().togglePanel(s.panel);
    pump();
    EXPECT_EQ(windowHeight(wnd().hwnd()) > before, s.grows) << int(s.panel);
    EXPECT_EQ(wnd().panelShown(s.panel), s.grows);
    EXPECT_EQ(clientSize(surface).cx, 320) << int(s.panel);
    EXPECT_EQ(clientSize(surface).cy, 240) << int(s.panel);
  }
  EXPECT_EQ(windowHeight(wnd().hwnd()), bare);
  // Double size doubles the surface.
  wnd().setSizeMode(VideoSizeMode::twice);
  pump();
  EXPECT_EQ(clientSize(surface).cx, 640);
  EXPECT_EQ(clientSize(surface).cy, 480);
}

TEST_F(VideoWndInProcess, controlsAreClampedToTheirSlidersRanges) {
  wnd().showStream(kNoSuchStream, &status_, 320, 240, "");
  struct Case {
    int control;
    int32_t asked, kept;
  };
  const Case cases[] = {{0, 5000, 2000}, {0, 100, 500},   {1, 1999, 1999}, {2, -4000, -1000},
                        {3, 1001, 1000}, {4, 250, 250},   {5, -1001, -1000}, {6, 99999, 1000}};
  for (const Case& c : cases) {
    wnd().setControl(c.control, c.asked);
    EXPECT_EQ(wnd().control(c.control), c.kept) << c.control << " " << c.asked;
  }
}

TEST_F(VideoWndInProcess, aStreamWithoutPictureSizeGetsTheFallbackSizeAndNoDivisionByZero) {
  wnd().showStream(kNoSuchStream, &status_, 0, 0, "");
  pump();
  EXPECT_TRUE(IsWindowVisible(wnd().hwnd()));
  EXPECT_EQ(clientSize(wnd().pictureWindow()).cx, zvplayer::kFallbackWidth);
  EXPECT_EQ(clientSize(wnd().pictureWindow()).cy, zvplayer::kFallbackHeight);
  wnd().setSizeMode(VideoSizeMode::fullScreen);
  wnd().setControl(0, 2000);
  pump();
  EXPECT_EQ(wnd().sizeMode(), VideoSizeMode::fullScreen);
}

}  // namespace
