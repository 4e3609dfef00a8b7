// The equalizer measured on played test tones, its response curve, and the
// FFT band levels the visualisation reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "stream_feeder.h"
#include "zv_vis.h"

using namespace zvdsptest;

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Left: a sine of `hz`; right: a constant marker, so no frame is all zero.
std::vector<Frame> tone(double hz, int amplitude, int16_t marker, size_t frames) {
  std::vector<Frame> out(frames);
  for (size_t i = 0; i < frames; ++i)
    out[i] = {static_cast<int16_t>(std::lround(amplitude * std::sin(2 * kPi * hz * double(i) / kRate))), marker};
  return out;
}

// Amplitude of `hz` in the left channel of the frames carrying `marker`,
// over the steady middle half of them. A producer that falls behind leaves
// silence in the tone, and the equalizer rings at its edges (those frames
// lose the marker, and their tone frames with them), so the sine's phase
// holds only within a run of frames
// that follow each other: each run long enough is fitted on its own (least
// squares, its own phase, a few milliseconds trimmed at both edges), and the
// runs are weighted by their length.
double amplitudeOf(const std::vector<Frame>& got, int16_t marker, double hz) {
  std::vector<std::vector<double>> runs(1);
  size_t total = 0;
  for (const Frame& f : got) {
    if (f.l == 0 && f.r == 0) continue;  // the device's own padding (the capture keeps none)
    if (std::abs(f.r - marker) < 40) {
      runs.back().push_back(f.l);
      ++total;
    } else if (!runs.back().empty()) {
      runs.emplace_back();
    }
  }
  if (total < 4000) return -1;
  const size_t from = total / 4, to = total * 3 / 4, trim = 256;
  double weighted = 0;
  size_t used = 0, at = 0;
  for (const std::vector<double>& run : runs) {
    const size_t first = at;  // the run's place among all marker frames
    at += run.size();
    const size_t lo = std::max(first, from), hi = std::min(at, to);
    if (hi < lo + 2 * trim + 2048) continue;
    const size_t b = lo - first + trim, end = hi - first - trim;
    double cc = 0, ss = 0, cs = 0, xc = 0, xs = 0;
    for (size_t i = b; i < end; ++i) {
      const double c = std::cos(2 * kPi * hz * double(i) / kRate), s = std::sin(2 * kPi * hz * double(i) / kRate);
      cc += c * c;
      ss += s * s;
      cs += c * s;
      xc += run[i] * c;
      xs += run[i] * s;
    }
    const double det = cc * ss - cs * cs;
    const double a = (xc * ss - xs * cs) / det, bb = (xs * cc - xc * cs) / det;
    weighted += std::hypot(a, bb) * double(end - b);
    used += end - b;
  }
  return used < 2048 ? -1 : weighted / double(used);
}

double dB(double ratio) { return 20 * std::log10(ratio); }

ZvEqualizer flat(bool on) {
  ZvEqualizer b{};
  b.enabled = on ? -1 : 0;
  b.preamp = 1.0f;
  for (float& g : b.gains) g = 1.0f;
  return b;
}

}  // namespace

TEST(Equalizer, playedTonesFollowTheBandGains) {
  if (!haveDevice()) GTEST_SKIP() << "no wave-out device";
  struct Case {
    double hz;
    int16_t marker;
    double expectDb;
    bool late;  // the producer stops halfway until the device has played out what it had
  };
  const Case cases[] = {{1000, 1000, 6.02, false},
                        {8000, 2000, -6.02, false},
                        {200, 3000, 0.0, false},
                        {3000, 4000, 0.0, false},
                        {1000, 5000, 6.02, true}};
  ZvEqualizer eq = flat(true);
  eq.gains[4] = 2.0f;   // 1 kHz
  eq.gains[9] = 0.5f;   // 8 kHz
  eq.gains[6] = 4.0f;   // 3 kHz, but switched off
  eq.bandOff[6] = -1;
  Capture cap;
  for (const Case& c : cases) {
    ZvStreamRec* rec = nullptr;
    int32_t s = openStream(&rec);  // leaves the equalizer off
    ASSERT_GE(s, 0);
    outSetEqualizer(&eq);
    {
      // Five whole answers of 2048 frames (the stream's buffer), about half
      // the tone: once they are heard the device has run out of this stream.
      const int64_t half = 5 * 2048;
      Feeder feed(rec, tone(c.hz, 8000, c.marker, kRate / 2), c.late ? half : -1,
                  [&] { return rec->framesPlayed >= half; });
      ASSERT_TRUE(waitPlayedOut(rec));
    }
    outCloseStream(s);
  }
  auto got = cap.settled();
  float curve[3];
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hz);
    double a = amplitudeOf(got, c.marker, c.hz);
    ASSERT_GT(a, 0);
    EXPECT_NEAR(dB(a / 8000), c.expectDb, 0.3);
    // The response curve tells the same.
    ZvEqualizer now{};
    outGetEqualizer(&now);
    EXPECT_EQ(now.gains[4], 2.0f);
  }
  // outGetFilter: 20 Hz, ~632 Hz, 20 kHz; off means flat.
  ASSERT_EQ(outGetFilter(3, curve), 3);
  EXPECT_GT(curve[1], 1.05f);  // 632 Hz sits on the 500 Hz..1 kHz slope of the boost
  EXPECT_NEAR(curve[0], 1.0f, 0.02f);
  ZvEqualizer off = flat(false);
  off.gains[4] = 3.0f;
  outSetEqualizer(&off);
  ASSERT_EQ(outGetFilter(3, curve), 3);
  for (float v : curve) EXPECT_EQ(v, 1.0f);
  EXPECT_EQ(outGetFilter(0, curve), 0);
  EXPECT_EQ(outGetFilter(5, nullptr), 0);
}

TEST(Equalizer, filterCurveMatchesBandGainsAndPreamp) {
  ZvEqualizer eq = flat(true);
  eq.preamp = 0.5f;
  eq.gains[0] = 4.0f;  // 40 Hz, +12 dB
  outSetEqualizer(&eq);
  // 301 points from 20 Hz to 20 kHz: point i at 20 * 1000^(i/300).
  std::vector<float> curve(301);
  ASSERT_EQ(outGetFilter(301, curve.data()), 301);
  auto at = [&](double hz) { return curve[size_t(std::lround(300 * std::log10(hz / 20) / 3))]; };
  EXPECT_NEAR(dB(at(40)), 12.0 - 6.02, 0.3);
  EXPECT_NEAR(dB(at(5000)), -6.02, 0.1);
  // Nonsense gains are limited, not applied as they stand.
  eq.gains[0] = NAN;
  eq.preamp = -3.0f;
  outSetEqualizer(&eq);
  ZvEqualizer back{};
  outGetEqualizer(&back);
  EXPECT_EQ(back.gains[0], 1.0f);
  EXPECT_EQ(back.preamp, 0.0f);
  outSetEqualizer(&eq);
  ZvEqualizer offEq = flat(false);
  outSetEqualizer(&offEq);
}

namespace {
std::vector<int32_t> sinePairs(int n, double bin, int ampL, int ampR) {
  std::vector<int32_t> p(size_t(n) * 2);
  for (int i = 0; i < n; ++i) {
    p[size_t(i) * 2] = static_cast<int32_t>(std::lround(ampL * std::sin(2 * kPi * bin * i / n)));
    p[size_t(i) * 2 + 1] = static_cast<int32_t>(std::lround(ampR * std::sin(2 * kPi * bin * i / n)));
  }
  return p;
}
}  // namespace

TEST(IntFFTEnergy, bandLevelsOfSines) {
  const int n = 1024;
  auto p = sinePairs(n, 40, 32767, 3277);  // left full scale, right 20 dB lower
  IntFFTEnergy(n, p.data());
  EXPECT_NEAR(p[40 * 2], 64, 2);
  EXPECT_NEAR(p[40 * 2 + 1], 64 - 16, 2);
  // Away from the tone only rounding noise, 80 dB down, is left.
  for (int k : {0, 5, 100, 300, 511}) {
    EXPECT_LE(p[size_t(k) * 2], 2) << k;
    EXPECT_LE(p[size_t(k) * 2 + 1], 2) << k;
  }
  for (int k = 0; k < n / 2; ++k) EXPECT_EQ(p[size_t(k) * 2] & ~0xFF, 0);
  for (int k = n / 2; k < n; ++k) EXPECT_EQ(p[size_t(k) * 2], 0);
}

TEST(IntFFTEnergy, channelsStaySeparateAndSilenceIsZero) {
  const int n = 512;
  auto p = sinePairs(n, 100, 0, 20000);
  IntFFTEnergy(n, p.data());
  EXPECT_EQ(p[100 * 2], 0);
  EXPECT_GT(p[100 * 2 + 1], 55);
  std::vector<int32_t> zero(2048, 0);
  IntFFTEnergy(1024, zero.data());
  for (int32_t v : zero) EXPECT_EQ(v, 0);
  // A count that is not a power of two uses the one below; garbage input
  // neither crashes nor leaves high bytes.
  std::vector<int32_t> odd(1500 * 2, 0x7FFFFFFF);
  IntFFTEnergy(1500, odd.data());
  for (int k = 0; k < 1500; ++k) EXPECT_EQ(odd[size_t(k) * 2] & ~0xFF, 0);
  IntFFTEnergy(0, odd.data());
  IntFFTEnergy(16, nullptr);
}

// The output library finds the engine in its process, as in the player: this
// program imports getVisData, so the engine is loaded before any stream opens.
// The buffer shows what is heard at each moment (silence again once the tone
// has played out), so the tone plays on until the test has seen it.
TEST(Visualisation, playedSoundReachesTheEngineBuffer) {
  if (!haveDevice()) GTEST_SKIP() << "no wave-out device";
  ZvVisBuffer* vis = getVisData();
  ASSERT_NE(vis, nullptr);
  std::memset(vis, 0, sizeof(ZvVisBuffer));
  ZvStreamRec* rec = nullptr;
  int32_t s = openStream(&rec);
  ASSERT_GE(s, 0);
  const volatile int8_t* scope = vis->scopeLeft;
  auto toneInScope = [&] {
    int nonZero = 0;
    for (int i = 0; i < 1024; ++i) nonZero += scope[i] != 0;
    return nonZero > 500;  // a 20000-peak tone is zero in its top byte only near its crossings
  };
  {
    Feeder feed(rec, tone(2000, 20000, 1000, kRate), -1, {}, true);
    EXPECT_TRUE(zvtest::waitFor(toneInScope, 15000)) << "the played tone never reached the buffer";
    EXPECT_EQ(vis->channels, 2);
    outFadeOut(s, 0, 0);
    ASSERT_TRUE(waitPlayedOut(rec));
  }
  outCloseStream(s);
}
