// The equalizer's scale, the 52-byte preset record and preset files,
// damaged ones included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "eq_preset.h"
#include "eq_scale.h"
#include "testkit.h"

using namespace zv::eq;

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

}  // namespace

TEST(EqScale, positionsGainsAndLabels) {
  struct Case {
    int position;
    float gain;
    const char* label;
  } cases[] = {
      {0, 1.0f, "+0"},         {60, 1.9953f, "+6"},       {-150, 0.17783f, "\x96" "15"},
      {200, 10.0f, "+20"},     {-200, 0.1f, "\x96" "20"}, {-10, 0.89125f, "\x96" "1"},
      {150, 5.6234f, "+15"},   {4, 1.0471f, "+0"},        {-6, 0.93325f, "\x96" "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    EXPECT_NEAR(gainOfPosition(c.position), c.gain, 1e-4);
    EXPECT_EQ(positionOfGain(gainOfPosition(c.position)), c.position);
    EXPECT_EQ(labelOfGain(gainOfPosition(c.position)), c.label);
  }
  EXPECT_EQ(positionOfGain(0.0f), -1000);
  EXPECT_EQ(positionOfGain(-2.0f), -1000);
  EXPECT_EQ(labelOfGain(0.0f), "\x96" "100");
}

TEST(EqScale, rangesOfPreampAndBands) {
  EXPECT_EQ(sliderMin(kPreamp), -150);
  EXPECT_EQ(sliderMax(kPreamp), 150);
  EXPECT_EQ(sliderMin(0), -200);
  EXPECT_EQ(sliderMax(0), 200);
  for (int b = 1; b < kBands; ++b) EXPECT_EQ(sliderMax(b) - sliderMin(b), 300) << b;
  EXPECT_STREQ(kBandLabels[0], "40");
  EXPECT_STREQ(kBandLabels[11], "16K");
}

TEST(EqScale, gainsOutsideTheSlidersAreHeldInside) {
  struct Case {
    float in;
    int slider;
    float out;
  } cases[] = {
      {kNaN, 3, 1.0f},       {kInf, 3, gainOfPosition(150)},   {-kInf, 3, gainOfPosition(-150)},
      {0.0f, 0, 0.1f},       {-1.0f, kPreamp, gainOfPosition(-150)}, {1e30f, 0, 10.0f},
      {2.0f, 5, 2.0f},       {8.0f, 0, 8.0f},                   {8.0f, 1, gainOfPosition(150)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.in) + " slider " + std::to_string(c.slider));
    const float got = clampGain(c.in, c.slider);
    EXPECT_TRUE(std::isfinite(got));
    EXPECT_NEAR(got, c.out, 1e-5);
  }
}

TEST(EqPreset, onlyExactly52BytesCount) {
  EqPreset p;
  p.preamp = 2.0f;
  p.gains[4] = 0.5f;
  char bytes[60] = {};
  std::memcpy(bytes, &p, sizeof(p));
  EXPECT_FALSE(presetFromBytes(bytes, 51));
  EXPECT_FALSE(presetFromBytes(bytes, 53));
  EXPECT_FALSE(presetFromBytes(bytes, 0));
  EXPECT_FALSE(presetFromBytes(nullptr, 52));
  auto got = presetFromBytes(bytes, 52);
  ASSERT_TRUE(got);
  EXPECT_EQ(got->preamp, 2.0f);
  EXPECT_EQ(got->gains[4], 0.5f);
  EXPECT_EQ(got->gains[0], 1.0f);
}

TEST(EqPreset, nonFiniteGainsInARecordAreMadeSafe) {
  float raw[13] = {kNaN, kInf, -kInf, 0.0f, 1e38f, 1, 1, 1, 1, 1, 1, 1, 1};
  auto got = presetFromBytes(raw, sizeof(raw));
  ASSERT_TRUE(got);
  EXPECT_EQ(got->preamp, 1.0f);
  EXPECT_NEAR(got->gains[0], 10.0f, 1e-4);
  EXPECT_NEAR(got->gains[1], gainOfPosition(-150), 1e-6);
  EXPECT_NEAR(got->gains[2], gainOfPosition(-150), 1e-6);
  EXPECT_NEAR(got->gains[3], gainOfPosition(150), 1e-4);
}

TEST(EqPreset, blockIsSanitizedWordByWord) {
  ZvEqualizer b{};
  b.enabled = 5;
  b.preamp = kNaN;
  for (float& g : b.gains) g = kInf;
  b.bandOff[2] = 7;
  b.width = 150;
  const ZvEqualizer s = sanitizedBlock(b);
  EXPECT_EQ(s.enabled, -1);
  EXPECT_EQ(s.preamp, 1.0f);
  EXPECT_NEAR(s.gains[0], 10.0f, 1e-4);
  EXPECT_EQ(s.bandOff[2], -1);
  EXPECT_EQ(s.bandOff[3], 0);
  EXPECT_EQ(s.width, 150);
}

TEST(EqPreset, typedNamesBecomeFileNames) {
  struct Case {
    const char* typed;
    const char* name;
  } cases[] = {{"Rock", "Rock"},          {"a*b/c:d", "a-b-c-d"},     {"<x>?|\\", "-x----"},
               {"  Live  ", "Live"},       {"   ", ""},                {"Bass 1.2", "Bass 1.2"}};
  for (const Case& c : cases) EXPECT_EQ(cleanPresetName(c.typed), c.name) << c.typed;
}

TEST(EqPreset, filesRoundTripAndDamagedOnesAreRefused) {
  const std::string dir = zvtest::freshDir("presets") + "\\eqpreset";
  EqPreset p;
  p.preamp = 0.5f;
  for (int b = 0; b < kBands; ++b) p.gains[b] = gainOfPosition(10 * b - 60);
  ASSERT_TRUE(writePresetFile(dir, "Mine", p));  // the folder is created
  auto back = readPresetFile(dir + "\\Mine");
  ASSERT_TRUE(back);
  EXPECT_EQ(std::memcmp(&*back, &p, sizeof(p)), 0);
  EXPECT_EQ(zvtest::readFile(dir + "\\Mine").size(), 52u);

  ASSERT_TRUE(zvtest::writeFile(dir + "\\Short", &p, 40));
  std::vector<uint8_t> longer(60, 0);
  ASSERT_TRUE(zvtest::writeFile(dir + "\\Long", longer.data(), longer.size()));
  float nan[13];
  for (float& g : nan) g = kNaN;
  ASSERT_TRUE(zvtest::writeFile(dir + "\\Nan", nan, sizeof(nan)));
  CreateDirectoryA((dir + "\\Folder").c_str(), nullptr);
  EXPECT_FALSE(readPresetFile(dir + "\\Short"));
  EXPECT_FALSE(readPresetFile(dir + "\\Long"));
  EXPECT_FALSE(readPresetFile(dir + "\\Missing"));
  auto flat = readPresetFile(dir + "\\Nan");
  ASSERT_TRUE(flat);
  for (float g : flat->gains) EXPECT_EQ(g, 1.0f);
  EXPECT_EQ(listPresetFiles(dir), (std::vector<std::string>{"Long", "Mine", "Nan", "Short"}));
}
