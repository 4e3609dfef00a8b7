// zvdsp's streams through its exports and the real wave-out device: what is
// played arrives in the test's capture file, so pass-through, fades, mixing,
// late producers and closing are checked on the sound itself.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdlib>

#include "stream_feeder.h"
// after windows.h
#include <mmsystem.h>

using namespace zvdsptest;

namespace {

constexpr int kRate = 44100;

// Pseudo-random stereo signal without an all-zero frame; `left`/`right`
// false leave that channel silent (then the other is never zero).
std::vector<Frame> noise(size_t frames, uint32_t seed, bool left = true, bool right = true) {
  std::vector<Frame> out(frames);
  uint32_t x = seed;
  auto next = [&] {
    x = x * 1664525u + 1013904223u;
    int v = static_cast<int>((x >> 8) % 60000) - 30000;
    return static_cast<int16_t>(v == 0 ? 1 : v);
  };
  for (Frame& f : out) {
    f.l = left ? next() : 0;
    f.r = right ? next() : 0;
  }
  return out;
}

std::vector<Frame> constant(size_t frames, int16_t l, int16_t r) { return std::vector<Frame>(frames, Frame{l, r}); }

std::vector<int16_t> channel(const std::vector<Frame>& f, bool left) {
  std::vector<int16_t> out;
  for (const Frame& x : f) out.push_back(left ? x.l : x.r);
  return out;
}

double curve(double t, int mode) { return (mode & 1) ? (std::exp(std::log(1000.0) * t) - 1) / 999.0 : t; }

// Checks values[from ...] against peak * curve over `total` frames; `rising`
// walks backwards from the frame where the fade-in reached the peak, else
// forwards from the last frame still at the peak. Returns frames compared.
int checkFade(const std::vector<int16_t>& v, size_t anchor, int64_t total, int peak, int mode, bool rising) {
  int compared = 0;
  for (int64_t j = 1; j < total; j += 97) {
    double expected = rising ? peak * curve(double(total - j) / double(total), mode)
                             : peak * curve(1.0 - double(j) / double(total), mode);
    if (std::lround(expected) == 0) break;  // dropped with the padding
    int64_t at = rising ? int64_t(anchor) - j : int64_t(anchor) + j;
    if (at < 0 || at >= int64_t(v.size())) break;
    EXPECT_NEAR(v[size_t(at)], expected, 1.01) << "frame " << j << " of " << total << ", mode " << mode;
    ++compared;
  }
  return compared;
}

class OutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!haveDevice()) GTEST_SKIP() << "no wave-out device";
  }
};

}  // namespace

TEST_F(OutputTest, defaultParamsAndOpenDevice) {
  ZvOutParams p{};
  outGetParams(&p);
  EXPECT_EQ(p.sampleRate, 44100);
  EXPECT_EQ(p.bits, 16);
  EXPECT_EQ(p.channels, 2);
  EXPECT_EQ(p.device, -1);
  EXPECT_EQ(p.visFrames, 1024);
  EXPECT_NE(p.waveOut, 0u);

  ZvOutParams bad = p;
  bad.bits = 12;
  bad.channels = 0;
  bad.visFrames = 1500;  // not a power of two: the one below
  bad.priority = 7;
  EXPECT_EQ(outSetParams(&bad), ZV_TRUE);
  ZvOutParams now{};
  outGetParams(&now);
  EXPECT_EQ(now.bits, 16);
  EXPECT_EQ(now.channels, 2);
  EXPECT_EQ(now.visFrames, 1024);
  EXPECT_EQ(now.priority, 2);
  EXPECT_EQ(outSetParams(nullptr), ZV_FALSE);
  outSetParams(&p);
}

TEST_F(OutputTest, passThroughIsBitExactAndPlaysOut) {
  Capture cap;
  ZvStreamRec* rec = nullptr;
  int32_t s = openStream(&rec);
  ASSERT_GE(s, 0);
  ASSERT_NE(rec, nullptr);
  auto signal = noise(kRate / 2, 11);
  {
    Feeder feed(rec, signal);
    ASSERT_TRUE(waitPlayedOut(rec));
    EXPECT_EQ(rec->framesPlayed, int32_t(signal.size()));
  }
  outCloseStream(s);
  auto got = cap.waitFrames(signal.size());
  EXPECT_EQ(got, signal);
}

TEST_F(OutputTest, clearDropsQueuedSoundAndRestartsCount) {
  Capture cap;
  ZvStreamRec* rec = nullptr;
  int32_t s = openStream(&rec);
  ASSERT_GE(s, 0);
  ZvOutParams params{};
  outGetParams(&params);
  const HWAVEOUT device = reinterpret_cast<HWAVEOUT>(uintptr_t(params.waveOut));
  // More than the device's blocks can hold (the buffer and one block more).
  const int64_t deviceHolds = int64_t(params.bufferMs + 50) * kRate / 1000;
  auto signal = noise(kRate * 2, 21);
  {
    Feeder feed(rec, signal);
    ASSERT_TRUE(zvtest::waitFor([&] { return rec->framesPlayed > kRate / 4; }, 15000));
    // The device held, what the stream is given piles up behind its blocks:
    // the clear has queued sound to drop however late this thread runs.
    ASSERT_EQ(waveOutPause(device), MMSYSERR_NOERROR);
    const bool queued = zvtest::waitFor([&] { return feed.delivered() - rec->framesPlayed > deviceHolds; }, 15000);
    outClear(s);
    EXPECT_EQ(waveOutRestart(device), MMSYSERR_NOERROR);
    ASSERT_TRUE(queued);
    ASSERT_TRUE(waitPlayedOut(rec));
  }
  const int32_t counted = rec->framesPlayed;
  outCloseStream(s);
  // What was mixed before the clear still sounds; what waited in the stream
  // is gone; the rest follows, and only the rest is counted.
  auto got = cap.settled();
  ASSERT_GE(got.size(), size_t(counted));
  const size_t q = signal.size() - size_t(counted), tail = got.size() - size_t(counted);
  EXPECT_TRUE(std::equal(got.begin() + std::ptrdiff_t(tail), got.end(), signal.begin() + std::ptrdiff_t(q)))
      << "after the clear: exactly the rest of the signal";
  // Before it: the signal from its start. The test device loses what its
  // own buffer held when it is paused while the machine is busy (a few
  // hundred frames, not on a block boundary: not blocks of this library),
  // so the sound before the clear may skip once, a little.
  size_t p = 0;
  while (p < tail && got[p] == signal[p]) ++p;
  size_t end = p;  // where the sound before the clear stopped in the signal
  if (p < tail) {
    size_t r = p + 1;
    while (r < q && !(signal[r] == got[p])) ++r;
    ASSERT_LT(r - p, size_t(kRate / 10)) << "frames " << p << " to " << r << " of the signal are missing";
    ASSERT_TRUE(std::equal(got.begin() + std::ptrdiff_t(p), got.begin() + std::ptrdiff_t(tail),
                           signal.begin() + std::ptrdiff_t(r)))
        << "the sound before the clear is the signal in order";
    end = r + (tail - p);
  }
  EXPECT_LT(end, q) << "the clear dropped what waited in the stream";
}

TEST_F(OutputTest, fadeCurvesFollowTheirMode) {
  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE(mode);
    Capture cap;
    ZvStreamRec* rec = nullptr;
    int32_t s = outNewStream(&rec);
    ASSERT_GE(s, 0);
    const int peak = 16000;
    const int64_t fadeFrames = int64_t(300) * kRate / 1000;
    outClear(s);
    outFadeIn(s, 300, mode);
    {
      Feeder feed(rec, constant(kRate * 3, peak, peak));
      ASSERT_TRUE(zvtest::waitFor([&] { return rec->framesPlayed > kRate * 8 / 10; }, 15000));
      outFadeOut(s, 300, mode);
      ASSERT_TRUE(waitPlayedOut(rec));
    }
    outCloseStream(s);
    auto v = channel(cap.waitFrames(kRate), true);
    ASSERT_GT(v.size(), size_t(kRate));
    size_t firstPeak = 0;
    while (firstPeak < v.size() && v[firstPeak] != peak) ++firstPeak;
    size_t lastPeak = v.size() - 1;
    while (lastPeak > 0 && v[lastPeak] != peak) --lastPeak;
    ASSERT_LT(firstPeak, lastPeak);
    if (mode >= 2) {
      EXPECT_EQ(firstPeak, 0u) << "no fade-in in modes 2 and 3";
    } else {
      EXPECT_GT(checkFade(v, firstPeak, fadeFrames, peak, mode, true), 20);
      EXPECT_EQ(v[firstPeak - 1], std::lround(peak * curve(double(fadeFrames - 1) / fadeFrames, mode)));
    }
    EXPECT_GT(checkFade(v, lastPeak, fadeFrames, peak, mode, false), 20);
    // Mode 1 and 3 pass half amplitude far later than the linear fade-out.
    size_t half = lastPeak;
    while (half < v.size() && v[half] > peak / 2) ++half;
    double at = double(half - lastPeak) / double(fadeFrames);
    EXPECT_NEAR(at, (mode & 1) ? 1 - std::log(500.5) / std::log(1000.0) : 0.5, 0.01);
  }
}

// A cross-fade of a (8000 on the left, fading out) into b (12000 on the
// right, fading in), each over `fadeFrames` of its own frames. A stream whose
// producer falls behind by more than the device holds is silent meanwhile
// while the other plays on (its fade paused, not cut), so each fade is
// followed over the frames where its stream sounds, and a gap where one
// stream is silent inside the overlap counts with the overlap. Returns the
// frames of that gap.
namespace {
size_t checkCrossFade(const std::vector<Frame>& got, int64_t fadeFrames) {
  std::vector<int16_t> ownA, ownB;  // each stream's sound, in its own frames
  for (const Frame& f : got) {
    if (f.l != 0) ownA.push_back(f.l);
    if (f.r != 0) ownB.push_back(f.r);
  }
  size_t lastA = 0, firstB = ownB.size();
  for (size_t i = 0; i < ownA.size(); ++i)
    if (ownA[i] == 8000) lastA = i;
  for (size_t i = 0; i < ownB.size() && firstB == ownB.size(); ++i)
    if (ownB[i] == 12000) firstB = i;
  EXPECT_GT(checkFade(ownA, lastA, fadeFrames, 8000, 0, false), 100);
  EXPECT_GT(checkFade(ownB, firstB, fadeFrames, 12000, 0, true), 100);
  // Between b's first sound and a's last: both sound, or one is late.
  size_t from = got.size(), to = 0, both = 0, gap = 0;
  for (size_t i = 0; i < got.size(); ++i) {
    if (got[i].r != 0 && from == got.size()) from = i;
    if (got[i].l != 0) to = i;
  }
  for (size_t i = from; i <= to && i < got.size(); ++i) {
    if (got[i].l != 0 && got[i].r != 0)
      ++both;
    else
      ++gap;
  }
  // Together for (about) the length of the fade: b's sound did not come
  // after a had faded alone, and a's fade did not outlast b's.
  EXPECT_GT(both + gap, size_t(fadeFrames * 9 / 10));
  EXPECT_LT(both, size_t(fadeFrames * 11 / 10));
  return gap;
}
}  // namespace

TEST_F(OutputTest, crossFadeSumsBothStreams) {
  Capture cap;
  ZvStreamRec* a = nullptr;
  ZvStreamRec* b = nullptr;
  int32_t sa = openStream(&a);
  ASSERT_GE(sa, 0);
  const int64_t fadeFrames = kRate;  // one second
  {
    Feeder fa(a, constant(kRate * 4, 8000, 0));
    ASSERT_TRUE(zvtest::waitFor([&] { return a->framesPlayed > kRate / 2; }, 15000));
    int32_t sb = outNewStream(&b);
    ASSERT_GE(sb, 0);
    outClear(sb);
    // Both fades are set before b has sound: a's fade-out cannot overlap b
    // at full volume, and b at full volume cannot come before its fade-in.
    outFadeIn(sb, 1000, 0);
    outFadeOut(sa, 1000, 0);
    Feeder fb(b, constant(kRate * 3, 0, 12000));
    ASSERT_TRUE(waitPlayedOut(a));
    ASSERT_TRUE(waitPlayedOut(b));
    outCloseStream(sb);
  }
  outCloseStream(sa);
  checkCrossFade(cap.waitFrames(kRate * 3), fadeFrames);
}

// b's producer stops answering a quarter into the fade until a has played on
// for half a second (or out), more than the device holds: b is silent meanwhile, a
// fades on alone, and both fades still follow their curves in their own
// frames, nothing of b lost.
TEST_F(OutputTest, crossFadeWithALateProducerPausesOnlyItsOwnFade) {
  Capture cap;
  ZvStreamRec* a = nullptr;
  ZvStreamRec* b = nullptr;
  int32_t sa = openStream(&a);
  ASSERT_GE(sa, 0);
  const int64_t fadeFrames = kRate;
  const size_t bFrames = kRate * 2;
  bool aOutFirst = false;
  {
    Feeder fa(a, constant(kRate * 4, 8000, 0));
    ASSERT_TRUE(zvtest::waitFor([&] { return a->framesPlayed > kRate / 2; }, 15000));
    int32_t sb = outNewStream(&b);
    ASSERT_GE(sb, 0);
    outClear(sb);
    outFadeIn(sb, 1000, 0);
    outFadeOut(sa, 1000, 0);
    int32_t aAtStall = -1;
    Feeder fb(b, constant(bFrames, 0, 12000), kRate / 4, [&] {
      if (aAtStall < 0) aAtStall = a->framesPlayed;
      // (or to its end, when a busy machine got a's fade ahead of b's)
      aOutFirst = a->playedOut != 0;
      return a->framesPlayed - aAtStall >= kRate / 2 || aOutFirst;
    });
    ASSERT_TRUE(waitPlayedOut(a));
    ASSERT_TRUE(waitPlayedOut(b));
    outCloseStream(sb);
  }
  outCloseStream(sa);
  // All of b arrives (its first two frames round to silence).
  std::vector<Frame> got;
  EXPECT_TRUE(zvtest::waitFor([&] {
    got = cap.frames();
    return size_t(std::count_if(got.begin(), got.end(), [](const Frame& f) { return f.r != 0; })) >= bFrames - 2;
  }, 15000));
  const size_t gap = checkCrossFade(got, fadeFrames);
  if (!aOutFirst) {
    EXPECT_GT(gap, size_t(kRate / 10)) << "b was silent while it was late";
  }
}

TEST_F(OutputTest, lateProducerGivesSilenceWhileOthersPlayOn) {
  Capture cap;
  ZvStreamRec* a = nullptr;
  ZvStreamRec* b = nullptr;
  int32_t sa = openStream(&a);
  int32_t sb = outNewStream(&b);
  ASSERT_GE(sa, 0);
  ASSERT_GE(sb, 0);
  outClear(sb);
  outFadeIn(sb, 0, 0);
  auto sigA = noise(kRate * 4, 31, true, false);
  auto sigB = noise(kRate * 2, 32, false, true);
  {
    Feeder fa(a, sigA);
    // Late until a has played on for a second: however slowly the machine
    // runs, b's buffered sound runs out meanwhile.
    int32_t aAtStall = -1;
    Feeder fb(b, sigB, kRate / 4, [&] {
      if (aAtStall < 0) aAtStall = a->framesPlayed;
      return a->framesPlayed - aAtStall >= kRate;
    });
    ASSERT_TRUE(waitPlayedOut(b, 20000));
    ASSERT_TRUE(waitPlayedOut(a, 20000));
  }
  outCloseStream(sa);
  outCloseStream(sb);
  // Frames where only b sounds count among the captured ones too: wait for
  // all of a's.
  std::vector<Frame> got;
  std::vector<int16_t> left, right;
  zvtest::waitFor([&] {
    got = cap.frames();
    left.clear();
    right.clear();
    for (const Frame& f : got) {
      if (f.l) left.push_back(f.l);
      if (f.r) right.push_back(f.r);
    }
    return left.size() >= sigA.size() && right.size() >= sigB.size();
  }, 15000);
  // Nothing lost, nothing repeated: the late stream resumes where it stopped.
  EXPECT_EQ(left, channel(sigA, true));
  EXPECT_EQ(right, channel(sigB, false));
  // While it was late, its channel was silent and the other stream went on.
  size_t firstB = 0, run = 0, longest = 0;
  while (firstB < got.size() && got[firstB].r == 0) ++firstB;
  size_t seenB = 0;
  for (size_t i = firstB; i < got.size() && seenB < sigB.size(); ++i) {
    if (got[i].r != 0) {
      ++seenB;
      run = 0;
    } else if (got[i].l != 0) {
      longest = std::max(longest, ++run);
    }
  }
  EXPECT_GT(longest, size_t(kRate / 10));
  EXPECT_EQ(seenB, sigB.size());
}

TEST_F(OutputTest, closingMidFadeRampsDownWithoutClick) {
  Capture cap;
  ZvStreamRec* a = nullptr;
  ZvStreamRec* b = nullptr;
  int32_t sa = openStream(&a);
  int32_t sb = outNewStream(&b);
  ASSERT_GE(sa, 0);
  ASSERT_GE(sb, 0);
  outClear(sb);
  outFadeIn(sb, 0, 0);
  {
    Feeder fa(a, constant(kRate * 4, 16000, 0));
    Feeder fb(b, constant(kRate * 3, 0, 5000));
    ASSERT_TRUE(zvtest::waitFor([&] { return a->framesPlayed > kRate / 4; }, 15000));
    outFadeOut(sa, 2000, 1);
    ASSERT_TRUE(zvtest::waitFor([&] { return a->framesPlayed > kRate; }, 15000));
    EXPECT_EQ(a->playedOut, 0);
    outCloseStream(sa);
    outCloseStream(sa);  // a second close of the same number is ignored
    outFadeOut(sa, 100, 0);
    ASSERT_TRUE(waitPlayedOut(b, 20000));
  }
  outCloseStream(sb);
  auto got = cap.waitFrames(kRate * 3);
  auto left = channel(got, true);
  // Steps are measured in a's own frames: a late producer leaves a silent
  // stretch (b playing on) that is no click of the close.
  std::vector<int16_t> ownA;
  for (int16_t v : left)
    if (v != 0) ownA.push_back(v);
  int maxStep = 0;
  size_t lastSound = 0, fadeStart = 0;
  for (size_t i = 0; i < ownA.size(); ++i)
    if (ownA[i] == 16000) fadeStart = i;
  ASSERT_GT(fadeStart, 0u);
  for (size_t i = fadeStart + 1; i < ownA.size(); ++i) maxStep = std::max(maxStep, std::abs(ownA[i] - ownA[i - 1]));
  maxStep = std::max(maxStep, std::abs(int(ownA.back())));  // and from the last sound to silence
  for (size_t i = 0; i < left.size(); ++i)
    if (left[i] != 0) lastSound = i;
  EXPECT_LT(maxStep, 60);  // the 10 ms ramp from at most 16000
  EXPECT_GT(lastSound, 0u);
  EXPECT_LT(lastSound, left.size() - kRate / 2) << "the closed stream fell silent";
}

TEST_F(OutputTest, unknownStreamNumbersAreIgnored) {
  outClear(12345);
  outFadeIn(-1, 100, 0);
  outFadeOut(99999, 100, 1);
  outCloseStream(-7);
  EXPECT_EQ(outNewStream(nullptr), -1);
  // The output still works afterwards.
  Capture cap;
  ZvStreamRec* rec = nullptr;
  int32_t s = openStream(&rec);
  ASSERT_GE(s, 0);
  auto signal = noise(kRate / 8, 41);
  {
    Feeder feed(rec, signal);
    ASSERT_TRUE(waitPlayedOut(rec));
  }
  outCloseStream(s);
  EXPECT_EQ(cap.waitFrames(signal.size()), signal);
}
