// prepareVis: oscilloscope bytes, spectrum levels and the channel count, on
// a buffer of the test's own (the shared one may be fed by a playing stream).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "zv_vis.h"
#include "zvdsp.h"

namespace {

int32_t planeLength() {
  ZvOutParams p = {};
  outGetParams(&p);
  return p.visFrames;
}

std::unique_ptr<ZvVisBuffer> markedBuffer() {
  auto buf = std::make_unique<ZvVisBuffer>();
  std::memset(buf.get(), 0x55, sizeof(ZvVisBuffer));
  return buf;
}

TEST(VisBuffer, sixteenBitScopeTakesTheHighByteTruncatedTowardZero) {
  const int32_t n = planeLength();
  ASSERT_GT(n, 0);
  std::vector<int16_t> pcm(size_t(n) * 2);
  for (int32_t j = 0; j < n; ++j) {
    pcm[size_t(j) * 2] = static_cast<int16_t>((j % 2 ? -1 : 1) * (j * 31 % 32000));
    pcm[size_t(j) * 2 + 1] = static_cast<int16_t>(-300 + j % 7);
  }
  auto buf = markedBuffer();
  prepareVis(44100, 16, 2, pcm.data(), n, buf.get());
  EXPECT_EQ(buf->channels, 2);
  for (int32_t j = 0; j < n; ++j) {
    ASSERT_EQ(buf->scopeLeft[j], pcm[size_t(j) * 2] / 256) << j;
    ASSERT_EQ(buf->scopeRight[j], pcm[size_t(j) * 2 + 1] / 256) << j;
  }
  EXPECT_EQ(buf->scopeLeft[n], 0x55) << "only the first N bytes are written";
  EXPECT_EQ(buf->spectrumLeft[n], 0x55);
}

TEST(VisBuffer, monoAndEightBitDataFillBothPlanes) {
  const int32_t n = planeLength();
  std::vector<uint8_t> pcm(static_cast<size_t>(n));
  for (int32_t j = 0; j < n; ++j) pcm[size_t(j)] = static_cast<uint8_t>(j * 13);
  auto buf = markedBuffer();
  prepareVis(22050, 8, 1, pcm.data(), n, buf.get());
  EXPECT_EQ(buf->channels, 1);
  for (int32_t j = 0; j < n; ++j) {
    ASSERT_EQ(buf->scopeLeft[j], static_cast<int8_t>(pcm[size_t(j)] - 128));
    ASSERT_EQ(buf->scopeRight[j], buf->scopeLeft[j]);
    // The integer FFT treats the two channels of a pair together and may round
    // them one level apart.
    ASSERT_LE(std::abs(buf->spectrumRight[j] - buf->spectrumLeft[j]), 1) << j;
  }
}

TEST(VisBuffer, tooFewFramesStoreOnlyTheChannelCount) {
  const int32_t n = planeLength();
  std::vector<int16_t> pcm(size_t(n) * 2, 1000);
  auto buf = markedBuffer();
  prepareVis(44100, 16, 1, pcm.data(), n - 1, buf.get());
  EXPECT_EQ(buf->channels, 1);
  EXPECT_EQ(buf->scopeLeft[0], 0x55);
  EXPECT_EQ(buf->spectrumRight[0], 0x55);
  prepareVis(44100, 16, 2, nullptr, n, nullptr);  // no buffer: nothing happens, nothing breaks
}

TEST(VisBuffer, aSineLightsItsBandInTheSpectrum) {
  const int32_t n = planeLength();
  const int cycles = n / 32;  // exactly on band `cycles`
  std::vector<int16_t> pcm(size_t(n) * 2);
  for (int32_t j = 0; j < n; ++j) {
    pcm[size_t(j) * 2] = static_cast<int16_t>(std::lround(32767 * std::sin(2 * 3.14159265358979323846 * cycles * j / n)));
    pcm[size_t(j) * 2 + 1] = 0;
  }
  auto buf = markedBuffer();
  prepareVis(44100, 16, 2, pcm.data(), n, buf.get());
  int peak = static_cast<int>(std::max_element(buf->spectrumLeft, buf->spectrumLeft + n) - buf->spectrumLeft);
  EXPECT_EQ(peak / 2, cycles) << "each band fills two bytes";
  EXPECT_EQ(buf->spectrumLeft[2 * cycles], buf->spectrumLeft[2 * cycles + 1]);
  EXPECT_GE(buf->spectrumLeft[2 * cycles], 50);
  EXPECT_EQ(*std::max_element(buf->spectrumRight, buf->spectrumRight + n), 0) << "silence has no level";
}

}  // namespace
