// A `vis` instance drawing into a real window: the picture read back from the
// window equals, pixel for pixel, the frame worked out for the same buffer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "playback/vis/vis_frame.h"
#include "testkit.h"
#include "vis_fixture.h"
#include "zv_plugins.h"
#include "zv_vis.h"
#include "zvdsp.h"

namespace {

constexpr int32_t kWidth = 48;
constexpr int32_t kHeight = 24;

int32_t planeLength() {
  ZvOutParams p = {};
  outGetParams(&p);
  return p.visFrames;
}

void writeBitmap(const std::string& path, const std::vector<uint32_t>& pixels) {
  auto file = vistest::bitmapFile24(kWidth, kHeight, pixels);
  ASSERT_TRUE(zvtest::writeFile(path, file.data(), file.size()));
}

std::vector<uint32_t> pattern(uint32_t seed) {
  std::vector<uint32_t> p;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) p.push_back((seed + uint32_t(x) * 0x030201 + uint32_t(y) * 0x010305) & 0xFFFFFF);
  return p;
}

// Bars 0..19 in the first columns, then 250..255 (the last ones repeated);
// odd rows are the right channel; the threshold grows downwards.
std::vector<uint32_t> maskPixels() {
  std::vector<uint32_t> p;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) {
      const uint32_t bar = x < 20 ? uint32_t(x) : std::min<uint32_t>(255, 250 + uint32_t(x - 20));
      p.push_back(bar << 16 | (y & 1 ? 0x8000u : 0u) | uint32_t(y * 10));
    }
  return p;
}

void fillBuffer() {
  ZvVisBuffer* vis = getVisData();
  for (int32_t i = 0; i < ZV_VIS_PLANE; ++i) {
    vis->scopeLeft[i] = int8_t(std::lround(120 * std::sin(i * 0.09)));
    vis->scopeRight[i] = int8_t(-vis->scopeLeft[i]);
    vis->spectrumLeft[i] = uint8_t((i * 7) % 160);
    vis->spectrumRight[i] = uint8_t(150 - (i * 3) % 150);
  }
}

class VisWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
    vistest::ensurePlugins();
    skinDir_ = zvtest::freshDir("skin");
    writeBitmap(skinDir_ + "\\inactive.bmp", pattern(0x102030));
    writeBitmap(skinDir_ + "\\active.bmp", pattern(0x80A0C0));
    writeBitmap(skinDir_ + "\\mask.bmp", maskPixels());
    fillBuffer();
    window_ = std::make_unique<vistest::TestWindow>(kWidth, kHeight);
    ASSERT_TRUE(window_->handle());
    instance_ = startPlugin("vis", GetCurrentThreadId());
    ASSERT_NE(instance_, 0u);
  }
  void TearDown() override {
    if (instance_) stopPlugin(instance_);
    window_.reset();
  }

  ZvVisSettings settings(int32_t mode, int32_t style, int32_t bars = 0) const {
    ZvVisSettings s = {};
    s.mode = mode;
    s.style = style;
    s.barCount = bars;
    const uint32_t g1[3] = {0x008000, 0x00FFFF, 0x0000FF};
    const uint32_t g2[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 3; ++i) {
      s.gradient1[i] = g1[i];
      s.gradient2[i] = g2[i];
    }
    s.trailDecay = 16;
    s.barFall = 24;
    std::strcpy(s.skinDir, skinDir_.c_str());
    return s;
  }

  void send(const ZvVisSettings& s) { pluginMsg(instance_, msgVisSettings, &s, sizeof(s)); }
  void attach(HWND window) {
    ZvWindowPrm prm = {window};
    pluginMsg(instance_, msgVisWindow, &prm, sizeof(prm));
  }

  // The frame a fresh instance draws for the current buffer (steady data:
  // every frame alike).
  std::vector<uint32_t> expectedFrame(const ZvVisSettings& s) {
    zv::VisSkin skin;
    skin.inactive = zv::loadBitmapFile(skinDir_ + "\\inactive.bmp");
    if (s.style == ZV_VIS_STYLE_BARS) {
      skin.mask = zv::loadBitmapFile(skinDir_ + "\\mask.bmp");
      skin.active = zv::loadBitmapFile(skinDir_ + "\\active.bmp");
    }
    zv::VisFrame frame;
    EXPECT_TRUE(frame.setup(kWidth, kHeight, s, skin));
    std::vector<uint32_t> out(size_t(kWidth * kHeight));
    frame.draw(*getVisData(), planeLength(), out.data());
    frame.draw(*getVisData(), planeLength(), out.data());
    return out;
  }

  // Waits until the window shows `expected`; on failure tells how many pixels differ.
  void expectWindowShows(const std::vector<uint32_t>& expected) {
    std::vector<uint32_t> seen;
    bool same = zvtest::waitFor([&] {
      vistest::pumpMessages();
      seen = window_->pixels();
      return seen == expected;
    }, 5000);
    if (!same) {
      int differ = 0, first = -1;
      for (size_t i = 0; i < seen.size(); ++i)
        if (seen[i] != expected[i]) {
          ++differ;
          if (first < 0) first = int(i);
        }
      ADD_FAILURE() << differ << " pixels differ, first at x " << first % kWidth << " y " << first / kWidth
                    << std::hex << ": seen " << seen[size_t(first)] << " expected " << expected[size_t(first)];
    }
  }

  // True when nothing draws into the window for 300 ms (ten frame periods),
  // trying a few times in case a frame was already on its way.
  bool windowStaysUntouched() {
    for (int attempt = 0; attempt < 5; ++attempt) {
      window_->fill(0xFF00FF);
      const auto painted = window_->pixels();
      if (!zvtest::waitFor([&] { return window_->pixels() != painted; }, 300)) return true;
    }
    return false;
  }

  std::string skinDir_;
  std::unique_ptr<vistest::TestWindow> window_;
  ZvTarget instance_ = 0;
};

size_t countDiffering(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  size_t n = 0;
  for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
  return n;
}

TEST_F(VisWindow, oscilloscopeFrameMatchesPixelForPixel) {
  const ZvVisSettings s = settings(ZV_VIS_SCOPE, 0);
  const auto expected = expectedFrame(s);
  ASSERT_GT(countDiffering(expected, pattern(0x102030)), size_t(kWidth)) << "the frame must show columns";
  send(s);
  attach(window_->handle());
  expectWindowShows(expected);
}

TEST_F(VisWindow, spectrumFrameMatchesPixelForPixel) {
  const ZvVisSettings s = settings(ZV_VIS_SPECTRUM, 0);
  attach(window_->handle());  // the window first, the settings later: both orders work
  send(s);
  const auto expected = expectedFrame(s);
  ASSERT_GT(countDiffering(expected, pattern(0x102030)), size_t(kWidth));
  expectWindowShows(expected);
}

TEST_F(VisWindow, bitmapBarsAt300And1Bars) {
  attach(window_->handle());
  const ZvVisSettings many = settings(ZV_VIS_SPECTRUM, ZV_VIS_STYLE_BARS, 300);
  send(many);
  const auto manyFrame = expectedFrame(many);
  const auto background = pattern(0x102030);
  ASSERT_GT(countDiffering(manyFrame, background), size_t(20));
  expectWindowShows(manyFrame);

  const ZvVisSettings one = settings(ZV_VIS_SPECTRUM, ZV_VIS_STYLE_BARS, 1);
  send(one);  // same style and skin: only the settings change
  const auto oneFrame = expectedFrame(one);
  ASSERT_GT(countDiffering(oneFrame, background), size_t(0));
  ASSERT_NE(oneFrame, manyFrame);
  expectWindowShows(oneFrame);
}

TEST_F(VisWindow, windowZeroStopsDrawingAndALaterWindowRestartsIt) {
  const ZvVisSettings s = settings(ZV_VIS_SCOPE, 0);
  send(s);
  attach(window_->handle());
  const auto expected = expectedFrame(s);
  expectWindowShows(expected);
  attach(nullptr);
  EXPECT_TRUE(windowStaysUntouched());
  attach(window_->handle());
  expectWindowShows(expected);
}

TEST_F(VisWindow, missingOrDamagedSkinDrawsNothingUntilTheNextSettings) {
  const ZvVisSettings good = settings(ZV_VIS_SPECTRUM, 0);
  ZvVisSettings damaged = good;
  const std::string other = zvtest::freshDir("damagedSkin");
  std::strcpy(damaged.skinDir, other.c_str());
  auto file = vistest::bitmapFile24(kWidth, kHeight, pattern(0x102030));
  file.resize(file.size() / 2);  // pixels cut short
  ASSERT_TRUE(zvtest::writeFile(other + "\\inactive.bmp", file.data(), file.size()));
  send(damaged);
  attach(window_->handle());
  EXPECT_TRUE(windowStaysUntouched());

  ZvVisSettings missing = good;
  std::strcpy(missing.skinDir, zvtest::freshDir("emptySkin").c_str());
  send(missing);
  EXPECT_TRUE(windowStaysUntouched());

  auto small = vistest::bitmapFile24(kWidth - 1, kHeight, std::vector<uint32_t>(size_t((kWidth - 1) * kHeight), 0x777777));
  ASSERT_TRUE(zvtest::writeFile(other + "\\inactive.bmp", small.data(), small.size()));
  send(damaged);  // now a well-formed file of the wrong size
  EXPECT_TRUE(windowStaysUntouched());

  send(good);
  expectWindowShows(expectedFrame(good));
}

}  // namespace
