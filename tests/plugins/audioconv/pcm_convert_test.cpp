// Sample formats to real values and back, and channel mapping.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "pcm_convert.h"

using audioconv::PcmFormat;

TEST(PcmConvert, storedSamplesReadAsExpected) {
  struct Case {
    PcmFormat f;
    std::vector<uint8_t> bytes;
    double expected;
  } cases[] = {
      {{8, 1, false}, {0x00}, -1.0},
      {{8, 1, false}, {0xC0}, 0.5},
      {{16, 1, false}, {0x00, 0x80}, -1.0},
      {{16, 1, false}, {0x00, 0x40}, 0.5},
      {{24, 1, false}, {0x00, 0x00, 0xC0}, -0.5},
      {{24, 1, false}, {0xFF, 0xFF, 0x7F}, 8388607.0 / 8388608.0},
      {{32, 1, false}, {0x00, 0x00, 0x00, 0x40}, 0.5},
      {{32, 1, true}, {0x00, 0x00, 0x40, 0xBF}, -0.75},
      {{64, 1, true}, {0, 0, 0, 0, 0, 0, 0xE0, 0x3F}, 0.5},
  };
  for (const Case& c : cases) {
    double v = 99;
    audioconv::toReal(c.bytes.data(), c.f, 1, &v);
    EXPECT_EQ(v, c.expected) << c.f.bits << (c.f.isFloat ? " float" : " int");
    // And back, bit for bit.
    std::vector<uint8_t> back(c.bytes.size());
    audioconv::fromReal(&v, 1, c.f, back.data());
    EXPECT_EQ(back, c.bytes);
  }
  EXPECT_FALSE(audioconv::isSupported({12, 2, false}));
  EXPECT_FALSE(audioconv::isSupported({16, 0, false}));
  EXPECT_FALSE(audioconv::isSupported({16, 2, true}));
}

TEST(PcmConvert, outputIsRoundedAndClipped) {
  const double in[] = {1.5, -2.0, 0.25 + 0.4 / 32768, NAN};
  int16_t out[4];
  audioconv::fromReal(in, 4, {16, 1, false}, out);
  EXPECT_EQ(out[0], 32767);
  EXPECT_EQ(out[1], -32768);
  EXPECT_EQ(out[2], 8192);
  EXPECT_EQ(out[3], 0);
}

TEST(PcmConvert, channelMapping) {
  const double mono[] = {0.5, -0.25};
  double stereo[4];
  audioconv::mapChannels(mono, 1, stereo, 2, 2);
  EXPECT_EQ(stereo[0], 0.5);
  EXPECT_EQ(stereo[1], 0.5);
  EXPECT_EQ(stereo[3], -0.25);
  const double st[] = {1.0, 0.0};
  double m;
  audioconv::mapChannels(st, 2, &m, 1, 1);
  EXPECT_EQ(m, 0.5);
  // 5.1 (FL FR FC LFE BL BR) at full scale everywhere does not clip.
  const double six[] = {1, 1, 1, 1, 1, 1};
  double two[2];
  audioconv::mapChannels(six, 6, two, 2, 1);
  EXPECT_NEAR(two[0], 1.0, 1e-12);
  EXPECT_NEAR(two[1], 1.0, 1e-12);
  // Only the left surround: left side only.
  const double bl[] = {0, 0, 0, 0, 1, 0};
  audioconv::mapChannels(bl, 6, two, 2, 1);
  EXPECT_GT(two[0], 0.2);
  EXPECT_EQ(two[1], 0.0);
  // Stereo to four channels keeps the pair and silences the rest.
  double four[4];
  audioconv::mapChannels(st, 2, four, 4, 1);
  EXPECT_EQ(four[0], 1.0);
  EXPECT_EQ(four[2], 0.0);
}
