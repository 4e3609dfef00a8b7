// The equalizer's filters on whole blocks: stereo (run both channels at once
// where the processor allows) gives every sample that each channel filtered
// alone gives, through band changes and decay into silence.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "equalizer.h"

namespace {

ZvEqualizer curve(float lowGain, float highGain, int32_t width) {
  ZvEqualizer b = zvdsp::flatEqualizer();
  b.enabled = 1;
  b.preamp = 0.8f;
  b.width = width;
  for (int i = 0; i < ZV_EQ_BANDS; ++i) b.gains[i] = i < ZV_EQ_BANDS / 2 ? lowGain : highGain;
  b.bandOff[3] = 1;
  return b;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(EqualizerBlocks, stereoMatchesEachChannelAlone) {
  const ZvEqualizer settings[] = {curve(2.0f, 0.5f, 0), curve(0.25f, 3.0f, 150), curve(1.0f, 40.0f, 0)};
  for (int rate : {44100, 48000, 22050}) {
    zvdsp::Equalizer stereo, left, right;
    std::vector<double> frames, l, r;
    size_t t = 0, mismatches = 0, compared = 0;
    // Blocks of several sizes, the curve changing between them, then silence
    // long enough for the filter memory to decay.
    for (size_t block = 0; block < 12; ++block) {
      const ZvEqualizer& s = settings[block / 4];
      stereo.configure(s, rate, 2);
      left.configure(s, rate, 1);
      right.configure(s, rate, 1);
      const size_t count = 1 + (block * 397) % 1500;
      frames.assign(count * 2, 0.0);
      l.assign(count, 0.0);
      r.assign(count, 0.0);
      for (size_t i = 0; i < count; ++i, ++t) {
        const bool quiet = block >= 10;
        l[i] = frames[i * 2] = quiet ? 0.0 : 0.6 * std::sin(0.05 * double(t)) + 0.3 * std::sin(0.9 * double(t));
        r[i] = frames[i * 2 + 1] = quiet ? 0.0 : 0.5 * std::cos(0.013 * double(t)) * ((t / 100) % 2 ? 1 : -1);
      }
      stereo.process(frames.data(), count);
      left.process(l.data(), count);
      right.process(r.data(), count);
      for (size_t i = 0; i < count; ++i) {
        mismatches += !sameBits(frames[i * 2], l[i]) + !sameBits(frames[i * 2 + 1], r[i]);
        compared += 2;
      }
    }
    EXPECT_EQ(mismatches, 0u) << "of " << compared << " samples at " << rate << " Hz";
    // The curve really filtered: the response is not flat.
    EXPECT_GT(stereo.responseAt(6000) - stereo.responseAt(40), 1.0);
  }
}

// Every count of active bands, so that each way of running the bands side by
// side over a block (one to four at a time, and what is left after groups of
// four) is held to the channels filtered alone.
TEST(EqualizerBlocks, everyCountOfActiveBandsMatchesEachChannelAlone) {
  for (int active = 0; active <= ZV_EQ_BANDS; ++active) {
    ZvEqualizer s = zvdsp::flatEqualizer();
    s.enabled = 1;
    s.preamp = 1.1f;
    for (int i = 0; i < active; ++i) s.gains[i] = i % 2 ? 0.4f : 2.5f;
    zvdsp::Equalizer stereo, left, right;
    stereo.configure(s, 44100, 2);
    left.configure(s, 44100, 1);
    right.configure(s, 44100, 1);
    size_t mismatches = 0, t = 0;
    for (size_t count : {1024u, 1u, 777u}) {
      std::vector<double> frames(count * 2), l(count), r(count);
      for (size_t i = 0; i < count; ++i, ++t) {
        l[i] = frames[i * 2] = 0.7 * std::sin(0.031 * double(t)) + 0.2 * std::sin(1.7 * double(t));
        r[i] = frames[i * 2 + 1] = 0.4 * std::sin(0.0047 * double(t));
      }
      stereo.process(frames.data(), count);
      left.process(l.data(), count);
      right.process(r.data(), count);
      for (size_t i = 0; i < count; ++i)
        mismatches += !sameBits(frames[i * 2], l[i]) + !sameBits(frames[i * 2 + 1], r[i]);
    }
    EXPECT_EQ(mismatches, 0u) << active << " active bands";
    if (active > 0) {
      EXPECT_NE(stereo.responseAt(40), stereo.responseAt(20000)) << active << " active bands";
    }
  }
}
