// The built-in visualiser's pictures, drawn without a window and compared
// with pictures worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "playback/vis/vis_frame.h"

namespace {

ZvVisSettings settings(int32_t mode, int32_t style = 0) {
  ZvVisSettings s = {};
  s.mode = mode;
  s.style = style;
  const uint32_t g[3] = {0x008000, 0x00FFFF, 0x0000FF};
  for (int i = 0; i < 3; ++i) s.gradient1[i] = s.gradient2[i] = g[i];
  s.trailDecay = 16;
  s.barFall = 24;
  return s;
}

zv::PixelImage image(int32_t w, int32_t h, uint32_t base) {
  zv::PixelImage im;
  im.width = w;
  im.height = h;
  for (int32_t i = 0; i < w * h; ++i) im.pixels.push_back(base + uint32_t(i));
  return im;
}

std::unique_ptr<ZvVisBuffer> emptyBuffer() { return std::make_unique<ZvVisBuffer>(); }

// Rows of the expected picture: a digit is the entry of the first colour
// table, '.' the background.
void expectPicture(const std::vector<uint32_t>& out, const zv::VisSkin& skin, const ZvVisSettings& s, int32_t height,
                   const std::vector<std::string>& rows) {
  const int32_t width = int32_t(rows[0].size());
  for (int32_t y = 0; y < int32_t(rows.size()); ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const char c = rows[size_t(y)][size_t(x)];
      const size_t at = size_t(y * width + x);
      uint32_t expected = skin.inactive.pixels[at];
      if (c != '.') {
        const int32_t i = c - '0';
        expected = zv::gradientColour(s.gradient1, int32_t(std::lround(255.0 * i / (height - 1))));
      }
      EXPECT_EQ(out[at], expected) << "x " << x << " y " << y << " '" << c << "'";
    }
  }
}

TEST(VisFrame, gradientMixesEachColourByteSeparately) {
  const uint32_t g[3] = {0x008000, 0x00FFFF, 0x0000FF};  // green, yellow, red as 0x00BBGGRR
  EXPECT_EQ(zv::gradientColour(g, 0), 0x008000u);
  EXPECT_EQ(zv::gradientColour(g, 64), 0x80C000u);   // 127.5 and 191.5 round up
  EXPECT_EQ(zv::gradientColour(g, 128), 0xFFFF00u);
  EXPECT_EQ(zv::gradientColour(g, 255), 0xFF0200u);  // 127/128 of the way to red
  const uint32_t blue[3] = {0xFF0000, 0xFF0000, 0xFF0000};
  EXPECT_EQ(zv::gradientColour(blue, 10), 0x0000FFu) << "blue is the high byte of 0x00BBGGRR";
}

TEST(VisFrame, oscilloscopeColumnsFollowTheLeftSamples) {
  zv::VisSkin skin{{}, {}, image(5, 8, 0x203040)};
  ZvVisSettings s = settings(ZV_VIS_SCOPE);
  zv::VisFrame frame;
  ASSERT_TRUE(frame.setup(5, 8, s, skin));
  auto buf = emptyBuffer();
  const int8_t samples[5] = {0, 127, -128, 64, -1};
  for (int i = 0; i < 5; ++i) buf->scopeLeft[i] = samples[i];
  buf->scopeRight[1] = -100;  // never shown
  std::vector<uint32_t> out(40);
  frame.draw(*buf, 5, out.data());
  expectPicture(out, skin, s, 8,
                {".7...", ".5.7.", ".3.5.", "71037", "..1..", "..3..", "..5..", "..7.."});
}

TEST(VisFrame, spectrumColumnsSpreadLeftAndRightFromTheCentre) {
  zv::VisSkin skin{{}, {}, image(5, 8, 0x405060)};
  ZvVisSettings s = settings(ZV_VIS_SPECTRUM);
  zv::VisFrame frame;
  ASSERT_TRUE(frame.setup(5, 8, s, skin));
  auto buf = emptyBuffer();
  buf->spectrumLeft[2] = buf->spectrumRight[2] = 200;  // the centre column stays 0
  buf->spectrumLeft[130] = 40;                         // 2.19 rows
  buf->spectrumLeft[258] = 255;                        // capped at height/2 - 1
  buf->spectrumRight[130] = 10;                        // 0.55 rows
  std::vector<uint32_t> out(40);
  frame.draw(*buf, 1024, out.data());
  expectPicture(out, skin, s, 8,
                {"7....", "57...", "35.7.", "13757", "35.7.", "57...", "7....", "....."});
}

TEST(VisFrame, trailsFadeIntoTheBackgroundByTheDecay) {
  for (int32_t halfRate : {0, 1}) {
    zv::VisSkin skin{{}, {}, image(3, 4, 0x102030)};
    ZvVisSettings s = settings(ZV_VIS_SCOPE);
    s.halfRate = halfRate;
    zv::VisFrame frame;
    ASSERT_TRUE(frame.setup(3, 4, s, skin));
    auto buf = emptyBuffer();
    buf->scopeLeft[1] = 127;  // column 1 reaches row 0
    std::vector<uint32_t> out(12);
    frame.draw(*buf, 3, out.data());
    const uint32_t lit = out[1];
    ASSERT_EQ(lit, zv::gradientColour(s.gradient1, 255));
    buf->scopeLeft[1] = 0;
    const uint32_t bg = skin.inactive.pixels[1];
    const int32_t decay = halfRate ? 32 : 16;
    int32_t blended = 0;
    for (int32_t age = 255; age > decay; age -= decay, ++blended) {
      frame.draw(*buf, 3, out.data());
      uint32_t expected = 0;
      for (int shift = 0; shift <= 16; shift += 8)
        expected |= ((((bg >> shift) & 0xFF) * uint32_t(255 - age) + ((lit >> shift) & 0xFF) * uint32_t(age)) / 256)
                    << shift;
      ASSERT_EQ(out[1], expected) << "age " << age;
    }
    EXPECT_EQ(blended, halfRate ? 7 : 15);  // ages 255..31 by 32, or 255..31 by 16
    frame.draw(*buf, 3, out.data());
    EXPECT_EQ(out[1], bg) << "an exhausted trail shows the background";
    frame.draw(*buf, 3, out.data());
    EXPECT_EQ(out[1], bg);
  }
}

// Mask pixels: red byte = bar, bit 15 = right channel, blue byte = threshold.
constexpr uint32_t mask(uint32_t bar, bool right, uint32_t threshold) {
  return bar << 16 | (right ? 0x8000u : 0u) | threshold;
}

struct Bars {
  zv::VisSkin skin;
  zv::VisFrame frame;
  std::vector<uint32_t> out;
  Bars(const std::vector<uint32_t>& maskPixels, int32_t barCount) {
    const int32_t w = int32_t(maskPixels.size());
    skin.mask.width = w;
    skin.mask.height = 1;
    skin.mask.pixels = maskPixels;
    skin.active = image(w, 1, 0xA0A0A0);
    skin.inactive = image(w, 1, 0x101010);
    ZvVisSettings s = settings(ZV_VIS_SPECTRUM, ZV_VIS_STYLE_BARS);
    s.barCount = barCount;
    EXPECT_TRUE(frame.setup(w, 1, s, skin));
    out.resize(size_t(w));
  }
  std::string litPattern(const ZvVisBuffer& buf, int32_t n) {
    frame.draw(buf, n, out.data());
    std::string lit;
    for (size_t i = 0; i < out.size(); ++i) {
      if (out[i] == skin.active.pixels[i]) lit += 'A';
      else if (out[i] == skin.inactive.pixels[i]) lit += '.';
      else lit += '?';
    }
    return lit;
  }
};

TEST(VisFrame, bitmapBarsLightMaskPixelsBelowTheLevel) {
  Bars bars({mask(0, false, 27), mask(0, false, 28), mask(0, true, 13), mask(0, true, 14), mask(1, false, 0)}, 2);
  auto buf = emptyBuffer();
  buf->spectrumLeft[0] = buf->spectrumRight[0] = 255;  // entry 0 belongs to no bar
  for (int j = 1; j < 8; ++j) {
    buf->spectrumLeft[j] = 4;   // bar 0 averages entries 1..8, the 8th past the plane: 8 x 28 / 8
    buf->spectrumRight[j] = 2;  // 14
  }
  buf->spectrumLeft[8] = buf->spectrumRight[8] = 255;  // past N: counts as 0
  EXPECT_EQ(bars.litPattern(*buf, 8), "A.A..");
  EXPECT_EQ(bars.litPattern(*buf, 8), "A.A..") << "a steady level stays lit";
  auto silence = emptyBuffer();
  EXPECT_EQ(bars.litPattern(*silence, 8), ".....") << "28 falls by 24 to 4";
  EXPECT_EQ(bars.litPattern(*buf, 8), "A.A..") << "a rising level shows at once";
}

TEST(VisFrame, barsFallByTheStepButNotBelowTheSound) {
  Bars bars({mask(0, false, 20), mask(0, false, 5)}, 1);
  auto loud = emptyBuffer();
  auto quiet = emptyBuffer();
  for (int j = 1; j < 8; ++j) {
    loud->spectrumLeft[j] = 32;  // 8 x 7 x 32 / 8 = 224
    quiet->spectrumLeft[j] = 1;  // 7
  }
  EXPECT_EQ(bars.litPattern(*loud, 8), "AA");
  // 224 - 24 a frame: 200, 176, ... never below 7.
  for (int frame = 0; frame < 8; ++frame) EXPECT_EQ(bars.litPattern(*quiet, 8), "AA") << frame;
  EXPECT_EQ(bars.litPattern(*quiet, 8), ".A") << "down to 8: below 20, above 5";
  EXPECT_EQ(bars.litPattern(*quiet, 8), ".A") << "held at the quiet level 7";
}

TEST(VisFrame, barCountOutsideOneTo256MeansAllBars) {
  // Entries 1..511 loud: bar i of K covers 1 + 512i/(K-1) .. 512(i+1)/(K-1).
  const std::vector<uint32_t> pixels = {mask(254, false, 0), mask(255, false, 0), mask(253, true, 0)};
  auto buf = emptyBuffer();
  for (int j = 1; j < 512; ++j) buf->spectrumLeft[j] = buf->spectrumRight[j] = 200;
  for (int32_t k : {300, 0, 256}) {
    Bars bars(pixels, k);
    EXPECT_EQ(bars.litPattern(*buf, 512), "A.A") << "K " << k;
  }
  Bars fewer(pixels, 255);
  EXPECT_EQ(fewer.litPattern(*buf, 512), "..A") << "bar 254 is the last of 255 and lies past the plane";
}

TEST(VisFrame, oneBarCoversTheWholePlane) {
  Bars bars({mask(0, false, 27), mask(0, false, 28), mask(1, false, 0)}, 1);
  auto buf = emptyBuffer();
  for (int j = 1; j < 8; ++j) buf->spectrumLeft[j] = 4;
  EXPECT_EQ(bars.litPattern(*buf, 8), "A..");
}

TEST(VisFrame, offShowsTheBackgroundAndUnfitSkinsDrawNothing) {
  zv::VisSkin skin{{}, {}, image(4, 4, 0x303030)};
  zv::VisFrame frame;
  ASSERT_TRUE(frame.setup(4, 4, settings(ZV_VIS_OFF), skin));
  auto buf = emptyBuffer();
  std::vector<uint32_t> out(16, 0xDEAD);
  frame.draw(*buf, 4, out.data());
  EXPECT_EQ(out, skin.inactive.pixels);

  EXPECT_FALSE(frame.setup(5, 4, settings(ZV_VIS_SCOPE), skin)) << "the background must have the window's size";
  EXPECT_FALSE(frame.ready());
  EXPECT_FALSE(frame.setup(4, 4, settings(ZV_VIS_SPECTRUM, ZV_VIS_STYLE_BARS), skin)) << "bars need a mask";
  EXPECT_FALSE(frame.setup(0, 4, settings(ZV_VIS_SCOPE), skin));
  std::vector<uint32_t> untouched(16, 0xDEAD);
  frame.draw(*buf, 4, untouched.data());
  EXPECT_EQ(untouched, std::vector<uint32_t>(16, 0xDEAD));
}

TEST(VisFrame, tinyPicturesDoNotDivideByZero) {
  zv::VisSkin skin{{}, {}, image(1, 1, 0x010101)};
  for (int32_t mode : {ZV_VIS_SCOPE, ZV_VIS_SPECTRUM}) {
    zv::VisFrame frame;
    ASSERT_TRUE(frame.setup(1, 1, settings(mode), skin));
    auto buf = emptyBuffer();
    buf->scopeLeft[0] = 127;
    uint32_t out = 0;
    frame.draw(*buf, 0, &out);
    frame.draw(*buf, 16384, &out);
    EXPECT_EQ(out, 0x010101u) << "a one-row picture has no row above or below the centre";
  }
}

}  // namespace
