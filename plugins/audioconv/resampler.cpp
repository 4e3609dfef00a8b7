#include "resampler.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace audioconv {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStopbandDb = 100.0;   // design target; 90 dB is the promise
constexpr double kPassFraction = 0.907; // 20 kHz of 22.05 kHz
constexpr size_t kMaxExactCoefs = 1 << 21;
constexpr int kInterpolatedPhases = 1024;

double besselI0(double x) {
  double sum = 1, term = 1, q = x * x / 4;
  for (int k = 1; k < 60; ++k) {
    term *= q / (double(k) * k);
    sum += term;
    if (term < sum * 1e-17) break;
  }
  return sum;
}

double sinc(double x) { return x == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x); }

}  // namespace

Resampler::Resampler(int inRate, int outRate, int channels)
    : inRate_(std::max(1, inRate)), outRate_(std::max(1, outRate)), channels_(std::max(1, channels)) {
  uint64_t g = std::gcd(uint64_t(inRate_), uint64_t(outRate_));
  up_ = uint64_t(outRate_) / g;
  down_ = uint64_t(inRate_) / g;

  // Cut-off in the middle of the transition band, measured in input frames.
  const double nyquist = std::min(inRate_, outRate_) / 2.0;
  const double pass = nyquist * kPassFraction;
  const double cutoff = (pass + nyquist) / 2 / inRate_;      // cycles per input frame
  const double transition = (nyquist - pass) / inRate_;
  const double beta = 0.1102 * (kStopbandDb - 8.7);
  const double length = (kStopbandDb - 7.95) / (2.285 * 2 * kPi * transition) + 1;
  half_ = std::max(2, static_cast<int>(std::ceil(length / 2)));
  taps_ = 2 * half_;

  exactPhases_ = up_ * size_t(taps_) <= kMaxExactCoefs;
  tablePhases_ = exactPhases_ ? static_cast<int>(up_) : kInterpolatedPhases;
  const int rows = exactPhases_ ? tablePhases_ : tablePhases_ + 1;
  coefs_.assign(size_t(rows) * taps_, 0.0f);
  const double i0beta = besselI0(beta);
  for (int p = 0; p < rows; ++p) {
    const double frac = double(p) / tablePhases_;
    double sum = 0;
    std::vector<double> row(taps_);
    for (int j = 0; j < taps_; ++j) {
      double d = (j - half_ + 1) - frac;  // input frame minus output instant
      double x = d / half_;
      double w = std::fabs(x) >= 1 ? 0.0 : besselI0(beta * std::sqrt(1 - x * x)) / i0beta;
      row[j] = 2 * cutoff * sinc(2 * cutoff * d) * w;
      sum += row[j];
    }
    // Each phase passes DC at exactly unit gain.
    for (int j = 0; j < taps_; ++j) coefs_[size_t(p) * taps_ + j] = static_cast<float>(row[j] / sum);
  }
  reset();
}

void Resampler::reset() {
  buf_.assign(size_t(channels_), std::vector<float>(size_t(half_ - 1), 0.0f));
  bufStart_ = -(half_ - 1);
  totalIn_ = 0;
  nextOut_ = 0;
}

uint64_t Resampler::outputFrames(uint64_t inFrames) const { return (inFrames * up_ + down_ - 1) / down_; }

const float* Resampler::coefsFor(uint64_t phase, std::vector<float>& scratch) const {
  if (exactPhases_) return &coefs_[size_t(phase) * taps_];
  double pos = double(phase) / double(up_) * tablePhases_;
  size_t row = static_cast<size_t>(pos);
  float f = static_cast<float>(pos - double(row));
  scratch.resize(size_t(taps_));
  const float* a = &coefs_[row * taps_];
  const float* b = a + taps_;
  for (int j = 0; j < taps_; ++j) scratch[j] = a[j] + (b[j] - a[j]) * f;
  return scratch.data();
}

void Resampler::produce(std::vector<float>& out, uint64_t limit) {
  const int64_t have = bufStart_ + static_cast<int64_t>(buf_[0].size());
  while (nextOut_ < limit) {
    const uint64_t pos = nextOut_ * down_;
    const int64_t i = static_cast<int64_t>(pos / up_);
    if (i + half_ >= have) break;  // the last tap reaches frame i + half_
    const float* c = coefsFor(pos % up_, scratch_);
    const size_t first = static_cast<size_t>(i - half_ + 1 - bufStart_);
    for (int ch = 0; ch < channels_; ++ch) {
      const float* x = &buf_[size_t(ch)][first];
      float a0 = 0, a1 = 0, a2 = 0, a3 = 0;
      int j = 0;
      for (; j + 4 <= taps_; j += 4) {
        a0 += c[j] * x[j];
        a1 += c[j + 1] * x[j + 1];
        a2 += c[j + 2] * x[j + 2];
        a3 += c[j + 3] * x[j + 3];
      }
      for (; j < taps_; ++j) a0 += c[j] * x[j];
      out.push_back((a0 + a1) + (a2 + a3));
    }
    ++nextOut_;
  }
  // Drop input that no later output frame reaches.
  const int64_t needFrom = static_cast<int64_t>(nextOut_ * down_ / up_) - half_ + 1;
  if (needFrom > bufStart_) {
    size_t drop = static_cast<size_t>(std::min<int64_t>(needFrom - bufStart_, int64_t(buf_[0].size())));
    for (auto& b : buf_) b.erase(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(drop));
    bufStart_ += static_cast<int64_t>(drop);
  }
}

void Resampler::process(const float* in, size_t frames, std::vector<float>& out) {
  for (int ch = 0; ch < channels_; ++ch) {
    auto& b = buf_[size_t(ch)];
    size_t old = b.size();
    b.resize(old + frames);
    for (size_t i = 0; i < frames; ++i) b[old + i] = in[i * channels_ + ch];
  }
  totalIn_ += frames;
  produce(out, UINT64_MAX);
}

void Resampler::flush(std::vector<float>& out) {
  for (auto& b : buf_) b.resize(b.size() + size_t(half_), 0.0f);
  produce(out, outputFrames(totalIn_));
  reset();
}

}  // namespace audioconv
