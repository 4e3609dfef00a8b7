// The equalizer window's effect in the played sound: a 1 kHz tone played
// through the output library before and after the window's 1K slider is
// raised to +6 dB, compared in the test device's capture.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "../../outside/zvdsp/stream_feeder.h"
#include "eq_scale.h"
#include "eq_window.h"
#include "windows_fixture.h"
#include "zv_config.h"

using namespace zv::eq;
using zvdsptest::Frame;

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Left: the tone; right: a constant marker, so that no frame is all zero
// and each playing can be told apart.
std::vector<Frame> tone(double hz, int16_t marker) {
  std::vector<Frame> out(kRate / 2);
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = {static_cast<int16_t>(std::lround(6000 * std::sin(2 * kPi * hz * double(i) / kRate))), marker};
  return out;
}

void play(const std::vector<Frame>& signal) {
  ZvStreamRec* rec = nullptr;
  const int32_t s = outNewStream(&rec);
  ASSERT_GE(s, 0);
  outClear(s);
  outFadeIn(s, 0, 0);
  {
    zvdsptest::Feeder feed(rec, signal);
    ASSERT_TRUE(zvdsptest::waitPlayedOut(rec));
  }
  outCloseStream(s);
}

// The tone's amplitude in the frames of one playing (a least-squares fit
// over the steady middle part).
double amplitudeOf(const std::vector<Frame>& got, int16_t marker, double hz) {
  std::vector<double> x;
  for (const Frame& f : got)
    if (f.r == marker) x.push_back(f.l);
  if (x.size() < 8000) return -1;
  double c = 0, s = 0;
  const size_t from = x.size() / 4, to = x.size() * 3 / 4;
  for (size_t i = from; i < to; ++i) {
    c += x[i] * std::cos(2 * kPi * hz * double(i) / kRate);
    s += x[i] * std::sin(2 * kPi * hz * double(i) / kRate);
  }
  return 2 * std::hypot(c, s) / double(to - from);
}

}  // namespace

TEST(EqSound, raisingTheBandAroundAToneRaisesItsLevel) {
  WINDOWS_NEED_DISPLAY();
  if (!zvdsptest::haveDevice()) GTEST_SKIP() << "no wave-out device";
  wtest::ensureEngine();
  ZvEqualizer flat{};
  flat.preamp = 1.0f;
  for (float& g : flat.gains) g = 1.0f;
  outSetEqualizer(&flat);
  setConfigRec("dspData", "", 0);
  EqModel model(zvtest::freshDir("sound") + "\\eqpreset", nullptr);
  model.start();
  TEqWnd wnd(model, nullptr, [] { return std::string(); });
  ASSERT_TRUE(wnd.open(zvtest::rootDir(), nullptr));
  wtest::pump();
  // Switched on through its box, flat.
  wtest::click(wnd.hwnd(), wtest::centre(wnd.findElement("eqon")->rect()));
  ASSERT_EQ(model.block().enabled, -1);

  zvdsptest::Capture capture;
  play(tone(1000, 1111));
  play(tone(8000, 2222));
  // The 1K slider to +6 dB, by the mouse.
  auto& slider = dynamic_cast<zv::ui::TZSlider&>(*wnd.findElement("band4"));
  const RECT r = slider.rect();
  POINT best = wtest::centre(r);
  for (int y = r.top; y < r.bottom; ++y)
    if (std::abs(slider.valueAt({best.x, y}) - 60) < std::abs(slider.valueAt(best) - 60)) best.y = y;
  wtest::click(wnd.hwnd(), best);
  const double raisedDb = positionOfGain(model.block().gains[4]) / 10.0;
  ASSERT_NEAR(raisedDb, 6.0, 0.5);
  play(tone(1000, 3333));
  play(tone(8000, 4444));
  const std::vector<Frame> got = capture.settled();

  const double flat1k = amplitudeOf(got, 1111, 1000), raised1k = amplitudeOf(got, 3333, 1000);
  const double flat8k = amplitudeOf(got, 2222, 8000), raised8k = amplitudeOf(got, 4444, 8000);
  ASSERT_GT(flat1k, 0);
  ASSERT_GT(raised1k, 0);
  ASSERT_GT(flat8k, 0);
  ASSERT_GT(raised8k, 0);
  EXPECT_NEAR(20 * std::log10(raised1k / flat1k), raisedDb, 0.5);
  EXPECT_NEAR(flat1k, 6000, 6000 * 0.03);  // flat and on: unchanged
  // A tone far from the band keeps its level.
  EXPECT_NEAR(20 * std::log10(raised8k / flat8k), 0.0, 0.5);
}
