// The video window's decision units: the picture rectangle of
// msgInSetVideoRect, the normal and double size window places, the image
// control ranges and labels, the statistics line, and the per-file "VIDSET"
// record through the engine's real information cache.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "testkit.h"
#include "video_layout.h"
#include "video_settings.h"
#include "vidset_store.h"
#include "zv_infocache.h"
#include "zv_memory.h"

using namespace zvplayer;

namespace {

TEST(PictureRect, fitsCentresScalesAndMovesThePicture) {
  struct Case {
    int cw, ch, pw, ph;
    PictureZoom zoom;
    RECT want;
  } cases[] = {
      {800, 400, 320, 240, {}, {133, 0, 666, 400}},            // 533 x 400, centred
      {320, 240, 320, 240, {}, {0, 0, 320, 240}},
      {640, 480, 320, 240, {}, {0, 0, 640, 480}},
      {400, 800, 320, 240, {}, {0, 250, 400, 550}},            // width-bound: 400 x 300
      {800, 400, 320, 240, {2000, 1000, 0, 0}, {-133, 0, 933, 400}},
      {800, 400, 320, 240, {500, 500, 0, 0}, {266, 100, 533, 300}},
      {800, 400, 320, 240, {1000, 1000, 100, -250}, {213, -100, 746, 300}},
      {800, 400, 320, 240, {1000, 1000, -1000, 1000}, {-667, 400, -134, 800}},
      {1, 1, 1920, 1080, {}, {0, 0, 1, 1}},
      // A stream claiming a picture of extreme proportions: height-bound, a
      // sliver in the middle (its fitted height once passed 32 bits).
      {26214, 26230, 80, 1711276032, {}, {13107, 0, 13107, 26230}},
      {800, 400, 2000000000, 1, {}, {0, 200, 800, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cw << "x" << c.ch << " " << c.pw << "x" << c.ph);
    std::optional<RECT> r = pictureRect(c.cw, c.ch, c.pw, c.ph, c.zoom);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->left, c.want.left);
    EXPECT_EQ(r->top, c.want.top);
    EXPECT_EQ(r->right, c.want.right);
    EXPECT_EQ(r->bottom, c.want.bottom);
  }
}

TEST(PictureRect, noSizeGivesNoRectangleInsteadOfDividingByZero) {
  const int sizes[][4] = {{0, 400, 320, 240}, {800, 0, 320, 240}, {800, 400, 0, 240},
                          {800, 400, 320, 0}, {-5, 400, 320, 240}, {800, 400, 320, -1}};
  for (const auto& s : sizes) EXPECT_FALSE(pictureRect(s[0], s[1], s[2], s[3], {}).has_value());
}

TEST(FramedWindowRect, centresOnTheStoredCentreAndStaysInsideTheWorkArea) {
  const RECT frame{-4, -23, 4, 4};  // 8 wide, 27 high around the client area
  const RECT work{0, 0, 1024, 768};
  struct Case {
    int pw, ph;
    double scale;
    POINT centre;
    RECT want;
  } cases[] = {
      {320, 240, 1.0, {512, 384}, {348, 251, 676, 518}},
      {320, 240, 2.0, {512, 384}, {188, 131, 836, 638}},
      {320, 240, 2.0, {1000, 700}, {376, 261, 1024, 768}},    // pushed back from the right and bottom
      {320, 240, 2.0, {10, 10}, {0, 0, 648, 507}},            // pushed back from the left and top
      {0, 0, 1.0, {512, 384}, {348, 251, 676, 518}},          // no picture size: 320 x 240
      {1920, 1080, 1.0, {512, 384}, {-904, -339, 1024, 768}}, // larger than the work area: right, then bottom win
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pw << "x" << c.ph << " x" << c.scale);
    RECT r = framedWindowRect(c.pw, c.ph, c.scale, frame, c.centre, work);
    EXPECT_EQ(r.left, c.want.left);
    EXPECT_EQ(r.top, c.want.top);
    EXPECT_EQ(r.right, c.want.right);
    EXPECT_EQ(r.bottom, c.want.bottom);
  }
}

TEST(ImageControls, rangesClampsAndLabels) {
  for (int i = 0; i < kImageControls; ++i) {
    SCOPED_TRACE(i);
    const ControlRange r = controlRange(i);
    EXPECT_EQ(r.low, i < 2 ? 500 : -1000);
    EXPECT_EQ(r.high, i < 2 ? 2000 : 1000);
    EXPECT_EQ(clampControl(i, 99999), r.high);
    EXPECT_EQ(clampControl(i, -99999), r.low);
  }
  EXPECT_EQ(controlLabel(1000), "100.0%");
  EXPECT_EQ(controlLabel(5), "  0.5%");
  EXPECT_EQ(controlLabel(-1000), "-100.0%");
  EXPECT_EQ(controlLabel(1234), "123.4%");
}

TEST(StatisticsLine, showsTheVideoWordsOfTheStatusRecord) {
  EXPECT_EQ(statisticsLine(320, 240, 2997, 2500, 3, -40, 800),
            "320x240  FPS: 29.97/25.00  Drop: 3%  SyncOfs: -40ms  Bitrate: 800kb/s  ");
}

TEST(Vidset, recordIsSixtyFourBytesOfFourLittleEndianWords) {
  std::vector<uint8_t> r = encodeVidset({1200, 1000, -5, 7});
  ASSERT_EQ(r.size(), 64u);
  const uint8_t head[16] = {0xB0, 0x04, 0, 0, 0xE8, 0x03, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0};
  EXPECT_EQ(std::memcmp(r.data(), head, 16), 0);
  for (size_t i = 16; i < 64; ++i) EXPECT_EQ(r[i], 0) << i;
}

TEST(Vidset, readingChecksTheSizeAndClampsToTheSliderRanges) {
  std::vector<uint8_t> r = encodeVidset({1200, 1000, -5, 7});
  auto z = decodeVidset(r.data(), r.size());
  ASSERT_TRUE(z.has_value());
  EXPECT_EQ(z->hSize, 1200);
  EXPECT_EQ(z->hPos, -5);
  EXPECT_FALSE(decodeVidset(r.data(), 63).has_value());
  r.push_back(0);
  EXPECT_FALSE(decodeVidset(r.data(), r.size()).has_value());
  EXPECT_FALSE(decodeVidset(nullptr, 64).has_value());
  // A hostile record: sizes of 0 and 2^31-1, positions far out.
  std::vector<uint8_t> hostile = encodeVidset({0, INT32_MAX, INT32_MIN, 5000});
  z = decodeVidset(hostile.data(), hostile.size());
  ASSERT_TRUE(z.has_value());
  EXPECT_EQ(z->hSize, 500);
  EXPECT_EQ(z->vSize, 2000);
  EXPECT_EQ(z->hPos, -1000);
  EXPECT_EQ(z->vPos, 1000);
}

TEST(Vidset, roundTripThroughTheInformationCache) {
  const std::string dir = zvtest::freshDir("vidset");
  const std::string file = dir + "\\movie.mp4";
  EXPECT_FALSE(loadVidset(file).has_value());
  storeVidset(file, {1200, 1000, 0, 0});
  void* block = nullptr;
  int32_t length = 0;
  cacheRecBuf(file.c_str(), "VIDSET", &block, &length);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(length, 64);
  _mfree(block);
  auto z = loadVidset(file);
  ASSERT_TRUE(z.has_value());
  EXPECT_EQ(z->hSize, 1200);
  EXPECT_EQ(z->vSize, 1000);
  // Back at the defaults: the record goes away.
  storeVidset(file, {});
  block = nullptr;
  cacheRecBuf(file.c_str(), "VIDSET", &block, &length);
  EXPECT_EQ(block, nullptr);
  _mfree(block);
  // A record of another size that came with the media counts as none.
  setCacheRecBuf(file.c_str(), "VIDSET", "\x10\x27\0\0", 4);
  EXPECT_FALSE(loadVidset(file).has_value());
}

}  // namespace
