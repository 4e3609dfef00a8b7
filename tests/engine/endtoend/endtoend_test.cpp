// A file's whole road through the engine: inOpen with a real owner window,
// the decoder plug-in, the decode instance, the output library and the sound
// device, checked against what the ALSA capture file received.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "testkit.h"
#include "zv_playback.h"

namespace {

struct Note {
  HWND window;
  ZvTarget from;
  UINT code;
};

std::vector<Note> g_notes;

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg >= ZV_BUS_FIRST && msg <= ZV_BUS_LAST) {
    MSG m = {hwnd, msg, wp, lp, 0, {0, 0}};
    g_notes.push_back({hwnd, static_cast<ZvTarget>(wp), msg});
    finishMsg(&m);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// The player's main window stands in as owner: message-only, so it works
// with or without a display.
HWND ownerWindow() {
  static HWND w = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ownerProc;
    wc.lpszClassName = "ZvTestOwner";
    RegisterClassA(&wc);
    return CreateWindowA("ZvTestOwner", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  }();
  return w;
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

bool waitNote(ZvTarget from, UINT code, int ms = 10000) {
  return zvtest::waitFor([&] {
    pump();
    for (const Note& n : g_notes)
      if (n.from == from && n.code == code) return true;
    return false;
  }, ms);
}

// A 16-bit stereo PCM file at 44.1 kHz.
std::string writeWav(const std::string& name, size_t frames, const std::function<void(size_t, int16_t*)>& frameAt) {
  std::vector<int16_t> pcm(frames * 2);
  for (size_t k = 0; k < frames; ++k) frameAt(k, &pcm[k * 2]);
  uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
  std::vector<uint8_t> file(44 + dataBytes);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  auto put16 = [&](size_t at, uint16_t v) { std::memcpy(&file[at], &v, 2); };
  std::memcpy(&file[0], "RIFF", 4);
  put32(4, 36 + dataBytes);
  std::memcpy(&file[8], "WAVEfmt ", 8);
  put32(16, 16);
  put16(20, 1);
  put16(22, 2);
  put32(24, 44100);
  put32(28, 44100 * 4);
  put16(32, 4);
  put16(34, 16);
  std::memcpy(&file[36], "data", 4);
  put32(40, dataBytes);
  std::memcpy(&file[44], pcm.data(), dataBytes);
  std::string path = zvtest::testDir() + "\\" + name;
  zvtest::writeFile(path, file.data(), file.size());
  return path;
}

struct Frame {
  int16_t l, r;
  bool operator==(const Frame& o) const { return l == o.l && r == o.r; }
};

// Everything played since byte `from` of the capture, without the silent
// frames the device inserts when it runs short.
std::vector<Frame> captured(size_t from = 0) {
  auto bytes = zvtest::readFile(zvtest::captureFile());
  std::vector<Frame> out;
  for (size_t i = from & ~size_t(3); i + 4 <= bytes.size(); i += 4) {
    Frame f;
    std::memcpy(&f, &bytes[i], 4);
    if (f.l || f.r) out.push_back(f);
  }
  return out;
}

class EndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { initPlugins(); }
  void SetUp() override {
    ASSERT_NE(ownerWindow(), nullptr);
    pump();
    g_notes.clear();
  }
  ZvTarget open(const std::string& path, ZvStatusRec* status) {
    ZvOpenContext* ctx = nullptr;
    ZvTarget id = inOpen(path.c_str(), reinterpret_cast<ZvTarget>(ownerWindow()), status, &ctx);
    while (ctx && inOpenNext(&ctx)) {
    }  // the context is not needed once an instance took the file
    return id;
  }
};

TEST_F(EndToEnd, aWaveFilePlaysToTheDeviceAfterItsLinearFadeIn) {
  const size_t kFrames = 44100;
  auto signal = [](size_t k, int16_t* f) {
    f[0] = static_cast<int16_t>(10000 + (k * 37) % 20000);
    f[1] = static_cast<int16_t>(-10000 - static_cast<int>((k * 53) % 20000));
  };
  std::string path = writeWav("fadein.wav", kFrames, signal);
  ZvStatusRec status = {};
  ZvTarget id = open(path, &status);
  ASSERT_NE(id, 0u);
  ASSERT_TRUE(waitNote(id, msgOpened));
  EXPECT_EQ(status.lengthMs, 1000);
  inPlay(id, 200, ZV_FADE_LINEAR);
  ASSERT_TRUE(waitNote(id, msgEndReached));
  ASSERT_TRUE(waitNote(id, msgClosed));
  stopPlugin(id);

  const size_t fade = 200 * 44100 / 1000;
  // The device writes the last blocks to the capture a little after it
  // reported them played.
  Frame anchor;
  signal(fade, &anchor.l);
  std::vector<Frame> got;
  std::vector<Frame>::iterator at;
  zvtest::waitFor([&] {
    got = captured();
    at = std::find(got.begin(), got.end(), anchor);
    return at != got.end() && size_t(got.end() - at) >= kFrames - fade;
  }, 5000);
  ASSERT_NE(at, got.end());
  size_t a = static_cast<size_t>(at - got.begin());
  ASSERT_GE(got.size() - a, kFrames - fade);
  for (size_t k = fade; k < kFrames; ++k) {
    Frame want;
    signal(k, &want.l);
    ASSERT_EQ(got[a + k - fade], want) << "frame " << k << " after the fade";
  }
  // Before the anchor: the fade's linear curve, gain k / fade for frame k
  // (frame 0 has gain 0 and is silent, so it is not in the capture).
  ASSERT_GE(a, fade - 1);
  for (size_t k = 1; k < fade; ++k) {
    Frame src;
    signal(k, &src.l);
    const Frame& g = got[a - fade + k];
    double gain = double(k) / double(fade);
    ASSERT_NEAR(g.l, src.l * gain, 1.0) << "fade frame " << k;
    ASSERT_NEAR(g.r, src.r * gain, 1.0) << "fade frame " << k;
  }
}

// Two files overlap: the first fades out while the second fades in. With
// constant signals each captured frame gives both gains, which must be the
// two linear ramps.
TEST_F(EndToEnd, aCrossFadeIsTheSumOfBothFades) {
  auto constant = [](int16_t l, int16_t r) {
    return [=](size_t, int16_t* f) {
      f[0] = l;
      f[1] = r;
    };
  };
  std::string first = writeWav("first.wav", 44100 * 3, constant(20000, -15000));
  std::string second = writeWav("second.wav", 44100, constant(10000, 5000));
  // The device stays open between tests: look only at what comes from here.
  const size_t start = zvtest::readFile(zvtest::captureFile()).size();
  ZvStatusRec s1 = {}, s2 = {};
  ZvTarget a = open(first, &s1);
  ASSERT_NE(a, 0u);
  ASSERT_TRUE(waitNote(a, msgOpened));
  inPlay(a, 0, ZV_FADE_LINEAR);
  ASSERT_TRUE(zvtest::waitFor([&] { return s1.positionMs >= 300; }, 10000));
  ZvTarget b = open(second, &s2);
  ASSERT_NE(b, 0u);
  ASSERT_TRUE(waitNote(b, msgOpened));
  const int fadeMs = 500;
  inPlay(b, fadeMs, ZV_FADE_LINEAR);
  inClose(a, fadeMs, ZV_FADE_LINEAR);
  ASSERT_TRUE(waitNote(a, msgClosed));
  ASSERT_TRUE(waitNote(b, msgClosed));
  stopPlugin(a);
  stopPlugin(b);

  // Solve L = 20000 gA + 10000 gB, R = -15000 gA + 5000 gB for every frame.
  // Each fade counts its own stream's frames: a decoder that falls behind by
  // more than the device holds leaves its stream silent meanwhile while the
  // other plays on. So each ramp is followed over the frames where its stream
  // is fading, and a frame inside the overlap where one stream is silent
  // counts with the overlap.
  auto fading = [](double g) { return g > 0.02 && g < 0.98; };
  auto silent = [](double g) { return g < 0.0005; };
  std::vector<double> ga, gb;
  size_t both = 0, gap = 0;
  bool bBegun = false;
  for (const Frame& f : captured(start)) {
    double gA = (f.l * 5000.0 - 10000.0 * f.r) / 2.5e8;
    double gB = (20000.0 * f.r + 15000.0 * f.l) / 2.5e8;
    if (fading(gA)) ga.push_back(gA);
    if (fading(gB)) {
      gb.push_back(gB);
      bBegun = true;
    }
    if (fading(gA) && fading(gB))
      ++both;
    else if (bBegun && ((fading(gA) && silent(gB)) || (silent(gA) && fading(gB))))
      ++gap;
  }
  const double fade = fadeMs * 44.1;
  // Each ramp whole (from 0.98 down to 0.02: 96 % of the fade), frame by frame.
  EXPECT_NEAR(double(ga.size()), fade * 0.96, 3.0);
  EXPECT_NEAR(double(gb.size()), fade * 0.96, 3.0);
  for (size_t i = 1; i < ga.size(); ++i)
    ASSERT_NEAR(ga[i - 1] - ga[i], 1.0 / fade, 0.0002) << "frame " << i << " of the fade-out";
  for (size_t i = 1; i < gb.size(); ++i)
    ASSERT_NEAR(gb[i] - gb[i - 1], 1.0 / fade, 0.0002) << "frame " << i << " of the fade-in";
  // The overlap lasts about one fade (the two starts differ by a few blocks).
  EXPECT_GT(both + gap, fade * 0.5);
  EXPECT_LT(both, fade * 1.05);
}

}  // namespace
