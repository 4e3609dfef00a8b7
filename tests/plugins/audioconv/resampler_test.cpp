// The resampler's quality measured on tones: flat passband, images and
// aliases far down, exact lengths, streaming in pieces equal to one go.
#include <gtest/gtest.h>

#include <algorithm>

#include "measure.h"
#include "resampler.h"

using audioconv::Resampler;
using namespace measure;

namespace {

std::vector<float> run(Resampler& r, const std::vector<float>& in, size_t chunk) {
  std::vector<float> out;
  for (size_t i = 0; i < in.size(); i += chunk) r.process(&in[i], std::min(chunk, in.size() - i), out);
  r.flush(out);
  return out;
}

// Output level of a tone of `hz` measured at `measureHz`, in dB.
double levelDb(int inRate, int outRate, double hz, double measureHz) {
  Resampler r(inRate, outRate, 1);
  auto out = run(r, sine(hz, inRate, 0.5, size_t(inRate)), 4096);
  return dB(amplitude(out, measureHz, outRate, out.size() / 8, out.size() * 7 / 8) / 0.5);
}

}  // namespace

TEST(Resampler, passbandFlatTo20kHz) {
  for (auto [in, out] : {std::pair{48000, 44100}, std::pair{44100, 48000}, std::pair{96000, 44100}}) {
    double lo = 1e9, hi = -1e9;
    for (double hz : {50.0, 1000.0, 5000.0, 10000.0, 15000.0, 18000.0, 19000.0, 19500.0, 20000.0}) {
      double db = levelDb(in, out, hz, hz);
      lo = std::min(lo, db);
      hi = std::max(hi, db);
    }
    EXPECT_LT(hi - lo, 0.1) << in << " -> " << out;
    EXPECT_LT(std::max(std::fabs(hi), std::fabs(lo)), 0.05) << in << " -> " << out;
  }
}

TEST(Resampler, aliasesAndImagesAtLeast90dBDown) {
  // 48 kHz to 44.1 kHz: what lies above 22.05 kHz folds back below it.
  for (double hz : {22100.0, 22500.0, 23000.0, 23900.0})
    EXPECT_LT(levelDb(48000, 44100, hz, 44100 - hz), -90.0) << hz;
  // 44.1 kHz to 48 kHz: the image of a tone at f appears at 44.1k - f.
  for (double hz : {15000.0, 20000.0, 21500.0})
    EXPECT_LT(levelDb(44100, 48000, hz, 44100 - hz), -90.0) << hz;
}

TEST(Resampler, lengthsAndPiecesMatchOneGo) {
  auto in = sine(1234.5, 48000, 0.7, 48000 + 77);
  Resampler a(48000, 44100, 1), b(48000, 44100, 1);
  auto whole = run(a, in, in.size());
  auto pieces = run(b, in, 333);
  EXPECT_EQ(whole.size(), a.outputFrames(in.size()));
  EXPECT_EQ(whole.size(), size_t((uint64_t(in.size()) * 147 + 159) / 160));
  ASSERT_EQ(whole.size(), pieces.size());
  for (size_t i = 0; i < whole.size(); ++i) ASSERT_EQ(whole[i], pieces[i]) << i;
  // Stereo keeps the channels apart and aligned with the input in time.
  Resampler st(22050, 44100, 2);
  std::vector<float> inter;
  auto l = sine(1000, 22050, 0.5, 22050), r = sine(3000, 22050, 0.25, 22050);
  for (size_t i = 0; i < l.size(); ++i) {
    inter.push_back(l[i]);
    inter.push_back(r[i]);
  }
  std::vector<float> out;
  st.process(inter.data(), l.size(), out);
  st.flush(out);
  ASSERT_EQ(out.size(), size_t(44100 * 2));
  std::vector<float> ol, orr;
  for (size_t i = 0; i < out.size(); i += 2) {
    ol.push_back(out[i]);
    orr.push_back(out[i + 1]);
  }
  EXPECT_NEAR(amplitude(ol, 1000, 44100, 4410, 39690), 0.5, 0.001);
  EXPECT_LT(amplitude(ol, 3000, 44100, 4410, 39690), 1e-4);
  EXPECT_NEAR(amplitude(orr, 3000, 44100, 4410, 39690), 0.25, 0.001);
  // Output frame n is input time n/2: the sine's phase is kept.
  EXPECT_NEAR(ol[20000], 0.5 * std::sin(2 * kPi * 1000 * 10000 / 22050.0), 0.002);
}
