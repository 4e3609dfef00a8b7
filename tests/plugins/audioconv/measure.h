// Measuring tones in a signal: the amplitude of one frequency by a windowed
// correlation over the steady middle part.
#pragma once
#include <cmath>
#include <vector>

namespace measure {

constexpr double kPi = 3.14159265358979323846;

inline std::vector<float> sine(double hz, double rate, double amplitude, size_t frames) {
  std::vector<float> out(frames);
  for (size_t i = 0; i < frames; ++i) out[i] = static_cast<float>(amplitude * std::sin(2 * kPi * hz * double(i) / rate));
  return out;
}

// Amplitude of `hz` in x[from, to), Hann-weighted so other content leaks little.
inline double amplitude(const std::vector<float>& x, double hz, double rate, size_t from, size_t to) {
  double c = 0, s = 0, w = 0;
  for (size_t i = from; i < to; ++i) {
    double win = 0.5 - 0.5 * std::cos(2 * kPi * double(i - from) / double(to - from));
    c += win * x[i] * std::cos(2 * kPi * hz * double(i) / rate);
    s += win * x[i] * std::sin(2 * kPi * hz * double(i) / rate);
    w += win;
  }
  return 2 * std::hypot(c, s) / w;
}

inline double dB(double ratio) { return 20 * std::log10(ratio); }

}  // namespace measure
