// Sample formats to real values and back, and channel mapping.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

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

namespace {

// Tricky sample values of a depth: the extremes, both sides of zero, steps
// that fall exactly half-way after a shift (odd and even), and a spread.
std::vector<int32_t> trickyValues(int bits) {
  const int64_t top = (int64_t(1) << (bits - 1)) - 1, bottom = -top - 1;
  std::vector<int64_t> v = {bottom, bottom + 1, top, top - 1, 0, 1, -1, 127, 128, 129, -128, -129, 255, 256, -256};
  for (int s = 1; s < bits; ++s) {
    const int64_t half = int64_t(1) << (s - 1);
    for (int64_t q : {int64_t(0), int64_t(1), int64_t(2), int64_t(-1), int64_t(-2)})
      for (int64_t r : {half - 1, half, half + 1}) v.push_back((q << s) + r);
  }
  uint32_t x = 12345;
  for (int i = 0; i < 500; ++i) {
    x = x * 1664525u + 1013904223u;
    v.push_back(static_cast<int32_t>(x) >> (32 - bits));
  }
  std::vector<int32_t> out;
  for (int64_t s : v)
    if (s >= bottom && s <= top) out.push_back(static_cast<int32_t>(s));
  return out;
}

std::vector<uint8_t> stored(const std::vector<int32_t>& values, int bits) {
  std::vector<uint8_t> bytes;
  for (int32_t s : values)
    for (int b = 0; b < bits / 8; ++b) bytes.push_back(static_cast<uint8_t>((bits == 8 ? s + 128 : s) >> (8 * b)));
  return bytes;
}

}  // namespace

// The integer path must give every bit the trip through double gives.
TEST(PcmConvert, integerToIntegerMatchesTheTripThroughDouble) {
  for (int from : {8, 16, 24, 32})
    for (int to : {8, 16, 24, 32})
      for (int channels : {1, 2, 3}) {
        std::vector<int32_t> values = trickyValues(from);
        values.resize(values.size() / channels * channels);
        const std::vector<uint8_t> src = stored(values, from);
        const size_t frames = values.size() / channels;
        const PcmFormat in{from, channels, false}, out{to, channels, false};
        std::vector<double> real(values.size());
        audioconv::toReal(src.data(), in, frames, real.data());
        std::vector<uint8_t> expected(values.size() * to / 8), got(expected.size(), 0xAA);
        audioconv::fromReal(real.data(), frames, out, expected.data());
        ASSERT_TRUE(audioconv::convertInteger(src.data(), in, frames, out, got.data()));
        EXPECT_EQ(got, expected) << from << " to " << to << " bits, " << channels << " channels";
      }
  int16_t s = 0;
  int32_t d = 0;
  EXPECT_FALSE(audioconv::convertInteger(&s, {16, 2, false}, 1, {16, 1, false}, &d));
  EXPECT_FALSE(audioconv::convertInteger(&s, {32, 1, true}, 1, {16, 1, false}, &d));
  EXPECT_FALSE(audioconv::convertInteger(&s, {16, 1, false}, 1, {32, 1, true}, &d));
}

// FLAC's planes packed as its decoder used to pack them (shifted to the
// container, little-endian, 8-bit offset by 128): the previous rule that
// convertPlanes must match.
std::vector<uint8_t> packedLikeTheDecoder(const std::vector<std::vector<int32_t>>& planes, size_t first,
                                          size_t frames, int bits, int shift) {
  std::vector<uint8_t> out;
  for (size_t i = first; i < first + frames; ++i)
    for (const auto& plane : planes) {
      const uint32_t u = static_cast<uint32_t>(plane[i]) << shift;
      if (bits == 8) {
        out.push_back(static_cast<uint8_t>(u + 128));
        continue;
      }
      for (int b = 0; b < bits / 8; ++b) out.push_back(static_cast<uint8_t>(u >> (8 * b)));
    }
  return out;
}

// Planar samples straight to the output depth give what packing them and
// converting gave: every depth, shift and channel count, samples at and
// beyond the file's range (a damaged stream), blocks read from an offset.
TEST(PcmConvert, planesGiveWhatPackingThenConvertingGave) {
  struct Depth {
    int container, fileBits;
  } depths[] = {{8, 4}, {8, 8}, {16, 12}, {16, 16}, {24, 20}, {24, 24}, {32, 28}, {32, 32}};
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (const Depth& d : depths)
    for (int channels : {1, 2, 3, 6})
      for (int to : {8, 16, 24, 32}) {
        const int shift = d.container - d.fileBits;
        const size_t frames = 300, first = 37;
        std::vector<std::vector<int32_t>> planes(static_cast<size_t>(channels));
        for (auto& plane : planes) {
          for (size_t i = 0; i < first + frames; ++i) {
            const int64_t top = (int64_t(1) << (d.fileBits - 1)) - 1;
            int64_t v = int64_t(static_cast<int32_t>(next())) % (top + 1);
            if (i % 50 == 0) v = top;
            if (i % 50 == 1) v = -top - 1;
            if (i % 97 == 2) v = static_cast<int32_t>(next());  // beyond the file's depth
            plane.push_back(static_cast<int32_t>(v));
          }
        }
        std::vector<const int32_t*> pointers;
        for (const auto& plane : planes) pointers.push_back(plane.data());
        const PcmFormat in{d.container, channels, false}, out{to, channels, false};
        const std::vector<uint8_t> packed = packedLikeTheDecoder(planes, first, frames, d.container, shift);
        std::vector<uint8_t> expected(frames * size_t(channels) * size_t(to / 8)), got(expected.size(), 0xAA);
        ASSERT_TRUE(audioconv::convertInteger(packed.data(), in, frames, out, expected.data()));
        ASSERT_TRUE(audioconv::convertPlanes(pointers.data(), first, shift, frames, in, out, got.data()));
        EXPECT_EQ(got, expected) << d.fileBits << "-bit file in " << d.container << " bits to " << to << " bits, "
                                 << channels << " channels";
      }
  const int32_t sample = 0;
  const int32_t* plane = &sample;
  int32_t dst = 0;
  EXPECT_FALSE(audioconv::convertPlanes(&plane, 0, 0, 1, {16, 1, false}, {16, 2, false}, &dst));
  EXPECT_FALSE(audioconv::convertPlanes(&plane, 0, 0, 1, {16, 1, false}, {32, 1, true}, &dst));
  EXPECT_FALSE(audioconv::convertPlanes(&plane, 0, 16, 1, {16, 1, false}, {16, 1, false}, &dst));
}

// Float and double samples to 16 bits (the vector paths on x86_64): rounded
// to the nearest step, ties to even, clipped, NaN as silence; tails of every
// length included.
TEST(PcmConvert, realTo16RoundsTiesToEvenAndClips) {
  auto rule = [](double x) -> int16_t {
    if (x != x) return 0;
    const double v = std::nearbyint(x * 32768.0);
    return static_cast<int16_t>(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
  };
  std::vector<float> in = {NAN, -NAN, INFINITY, -INFINITY, 1.0f, -1.0f, 1.5f, -2.0f, 1e30f, -1e30f,
                           32767.5f / 32768, 32767.49f / 32768, -32768.5f / 32768, -32768.51f / 32768,
                           0.5f / 32768, 1.5f / 32768, 2.5f / 32768, -0.5f / 32768, -1.5f / 32768, -2.5f / 32768,
                           1e-40f, -1e-40f, 0.0f, -0.0f};
  for (int k = -70000; k <= 70000; k += 37) in.push_back((k + 0.5f) / 32768);
  uint32_t x = 777;
  for (int i = 0; i < 1000; ++i) {
    x = x * 1664525u + 1013904223u;
    in.push_back((static_cast<int32_t>(x) / 2147483648.0f) * 1.1f);
  }
  for (size_t n : {in.size(), in.size() - 1, size_t(7), size_t(9), size_t(3)}) {
    std::vector<double> wide(in.begin(), in.begin() + n);
    wide.push_back(0);
    wide.back() = 1e300;  // beyond any float
    std::vector<int16_t> expected;
    for (double v : wide) expected.push_back(rule(v));
    std::vector<int16_t> fromDouble(wide.size(), 0x5555), fromFloat(n, 0x5555);
    audioconv::fromReal(wide.data(), wide.size(), {16, 1, false}, fromDouble.data());
    audioconv::fromReal(in.data(), n, {16, 1, false}, fromFloat.data());
    EXPECT_EQ(fromDouble, expected) << n << " doubles";
    expected.pop_back();
    EXPECT_EQ(fromFloat, expected) << n << " floats";
  }
}
