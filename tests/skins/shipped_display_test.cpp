// The shipped skins' display pictures as the engine's display reads and
// draws them: each loads, has the panel's one size, stays dark in silence
// and lights every bar of both channels at full level.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "playback/vis/vis_frame.h"
#include "testkit.h"

namespace {

std::string skinDir(const std::string& name) { return zvtest::rootDir() + "\\skins\\" + name; }

// A window-section value of a skin file ("" when absent).
std::string skinValue(const std::string& skinFile, const std::string& key) {
  std::ifstream in(skinFile);
  std::string line;
  bool window = false;
  while (std::getline(in, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line == "..") window = true;
    if (window && line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return "";
}

ZvVisSettings barSettings(int32_t bars) {
  ZvVisSettings s = {};
  s.mode = ZV_VIS_SPECTRUM;
  s.style = ZV_VIS_STYLE_BARS;
  s.barFall = 255;
  s.barCount = bars;
  return s;
}

std::unique_ptr<ZvVisBuffer> spectrumAt(uint8_t level) {
  auto buffer = std::make_unique<ZvVisBuffer>();
  for (int i = 0; i < ZV_VIS_PLANE; ++i) buffer->spectrumLeft[i] = buffer->spectrumRight[i] = level;
  buffer->channels = 2;
  return buffer;
}

struct BarSkin {
  std::string dir;
  int32_t bars = 0;
  zv::VisSkin skin;
};

BarSkin loadBarSkin(const std::string& dir) {
  BarSkin out;
  out.dir = dir;
  out.bars = std::atoi(skinValue(dir + "\\main.skn", "nbars").c_str());
  out.skin.mask = zv::loadBitmapFile(dir + "\\mask.bmp");
  out.skin.active = zv::loadBitmapFile(dir + "\\active.bmp");
  out.skin.inactive = zv::loadBitmapFile(dir + "\\inactive.bmp");
  return out;
}

class ShippedBars : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedBars, silenceShowsTheBackgroundAndFullLevelLightsEveryBar) {
  const std::string dir = skinDir(GetParam());
  ASSERT_EQ(skinValue(dir + "\\main.skn", "vistype"), "bitmap") << dir;
  BarSkin s = loadBarSkin(dir);
  ASSERT_GT(s.bars, 0);
  ASSERT_FALSE(s.skin.inactive.empty()) << dir;
  const int32_t w = s.skin.inactive.width, h = s.skin.inactive.height;
  const zv::PixelImage mask = s.skin.mask;
  const zv::PixelImage active = s.skin.active;
  const zv::PixelImage inactive = s.skin.inactive;

  zv::VisFrame frame;
  ASSERT_TRUE(frame.setup(w, h, barSettings(s.bars), std::move(s.skin))) << "the engine refuses " << dir;
  std::vector<uint32_t> out(size_t(w) * size_t(h));
  frame.draw(*spectrumAt(0), 512, out.data());
  EXPECT_EQ(out, inactive.pixels) << "a silent display must show only the background";

  frame.draw(*spectrumAt(255), 512, out.data());
  std::vector<int> shown(size_t(2 * s.bars), 0), lit(size_t(2 * s.bars), 0);
  for (size_t at = 0; at < out.size(); ++at) {
    const uint32_t m = mask.pixels[at];
    const int32_t bar = int32_t(m >> 16 & 0xFF);
    if (bar >= s.bars) {
      EXPECT_EQ(out[at], inactive.pixels[at]) << "a gap pixel lit at " << at;
      continue;
    }
    const size_t slot = size_t(bar * 2 + int32_t(m >> 15 & 1));
    ++shown[slot];
    if (out[at] == active.pixels[at] && active.pixels[at] != inactive.pixels[at]) ++lit[slot];
  }
  int bars = 0;
  for (int32_t i = 0; i < 2 * s.bars; ++i) {
    if (!shown[size_t(i)]) continue;
    ++bars;
    // At full level a bar is lit from bottom to top.
    EXPECT_EQ(lit[size_t(i)], shown[size_t(i)]) << "bar " << i / 2 << (i % 2 ? " right" : " left");
  }
  EXPECT_GE(bars, 16) << "both channels show at least eight bars";
}

INSTANTIATE_TEST_SUITE_P(Default, ShippedBars, ::testing::Values("default", "default\\mini"));

TEST(ShippedColumns, daylightBackgroundLoadsForColumnsAndScope) {
  const std::string dir = skinDir("daylight");
  zv::VisSkin skin;
  skin.inactive = zv::loadBitmapFile(dir + "\\inactive.bmp");
  ASSERT_FALSE(skin.inactive.empty());
  ZvVisSettings s = {};
  s.mode = ZV_VIS_SCOPE;
  zv::VisFrame frame;
  EXPECT_TRUE(frame.setup(skin.inactive.width, skin.inactive.height, s, std::move(skin)));
}

}  // namespace
