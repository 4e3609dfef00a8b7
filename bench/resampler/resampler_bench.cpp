// The resampler's figures: speed in times real time (stereo), and the
// measured passband ripple to 20 kHz and the worst alias / image level.
#include <algorithm>
#include <cmath>
#include <vector>

#include "benchkit.h"
#include "resampler.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

std::vector<float> sine(double hz, double rate, size_t frames) {
  std::vector<float> out(frames);
  for (size_t i = 0; i < frames; ++i) out[i] = static_cast<float>(0.5 * std::sin(2 * kPi * hz * double(i) / rate));
  return out;
}

double levelDb(int inRate, int outRate, double hz, double atHz) {
  audioconv::Resampler r(inRate, outRate, 1);
  std::vector<float> out;
  auto in = sine(hz, inRate, size_t(inRate));
  r.process(in.data(), in.size(), out);
  r.flush(out);
  size_t from = out.size() / 8, to = out.size() * 7 / 8;
  double c = 0, s = 0, w = 0;
  for (size_t i = from; i < to; ++i) {
    double win = 0.5 - 0.5 * std::cos(2 * kPi * double(i - from) / double(to - from));
    c += win * out[i] * std::cos(2 * kPi * atHz * double(i) / outRate);
    s += win * out[i] * std::sin(2 * kPi * atHz * double(i) / outRate);
    w += win;
  }
  return 20 * std::log10(2 * std::hypot(c, s) / w / 0.5);
}

void figures(int in, int out) {
  const std::string name = std::to_string(in) + " -> " + std::to_string(out);
  double lo = 1e9, hi = -1e9;
  for (double hz = 20; hz <= 20000; hz *= 1.25) {
    double db = levelDb(in, out, hz, hz);
    lo = std::min(lo, db);
    hi = std::max(hi, db);
  }
  double db20k = levelDb(in, out, 20000, 20000);
  lo = std::min(lo, db20k);
  hi = std::max(hi, db20k);
  zvbench::report(name + " passband ripple 20 Hz..20 kHz", (hi - lo) * 1000, "millidB");

  const double lowNyquist = std::min(in, out) / 2.0;
  double worst = -1e9;
  for (double hz = lowNyquist + 25; hz < std::max(in, out) / 2.0; hz += 150) {
    if (in > out) worst = std::max(worst, levelDb(in, out, hz, out - hz));  // alias
  }
  for (double hz = 1000; hz < lowNyquist; hz += 750)
    if (out > in) worst = std::max(worst, levelDb(in, out, hz, in - hz));  // image
  zvbench::report(name + " worst alias/image", worst, "dB");

  audioconv::Resampler r(in, out, 2);
  std::vector<float> block(4096 * 2), sink;
  for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<float>(std::sin(double(i) * 0.01));
  double perFrame = zvbench::secondsPerItem([&](int64_t n) {
    for (int64_t i = 0; i < n; ++i) {
      sink.clear();
      r.process(block.data(), 4096, sink);
    }
  }) / 4096;
  zvbench::report(name + " stereo speed", 1.0 / (perFrame * in), "x real time");
}

}  // namespace

int main() {
  figures(48000, 44100);
  figures(44100, 48000);
  figures(96000, 44100);
  return 0;
}
