#include "equalizer.h"

#include <algorithm>
#include <cmath>
#include <complex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zvdsp {

const std::array<double, ZV_EQ_BANDS> kBandHz = {40, 100, 200, 500, 1000, 2000, 3000, 4000, 6000, 8000, 12000, 16000};

namespace {

constexpr double kPi = 3.14159265358979323846;

float saneGain(float g) {
  if (!(g == g)) return 1.0f;  // NaN
  return std::clamp(g, 0.001f, 100.0f);
}

// Q of band i when word 26 is 0: the band reaches halfway (geometrically)
// to its neighbours.
double spacingQ(size_t i) {
  double lo = i > 0 ? kBandHz[i] / kBandHz[i - 1] : kBandHz[1] / kBandHz[0];
  double hi = i + 1 < kBandHz.size() ? kBandHz[i + 1] / kBandHz[i] : lo;
  double octaves = (std::log2(lo) + std::log2(hi)) / 2;
  double p = std::pow(2.0, octaves);
  return std::sqrt(p) / (p - 1);
}

}  // namespace

ZvEqualizer flatEqualizer() {
  ZvEqualizer b{};
  b.enabled = 0;
  b.preamp = 1.0f;
  for (float& g : b.gains) g = 1.0f;
  return b;
}

ZvEqualizer sanitized(const ZvEqualizer& in) {
  ZvEqualizer b = in;
  b.preamp = (b.preamp == b.preamp) ? std::clamp(b.preamp, 0.0f, 100.0f) : 1.0f;
  for (float& g : b.gains) g = saneGain(g);
  return b;
}

Equalizer::Equalizer() : block_(flatEqualizer()) {}

void Equalizer::configure(const ZvEqualizer& in, int sampleRate, int channels) {
  ZvEqualizer b = sanitized(in);
  bool reshape = sampleRate != rate_ || channels != channels_ || (b.enabled != 0) != (block_.enabled != 0);
  block_ = b;
  rate_ = sampleRate;
  channels_ = channels;

  std::vector<Biquad> filters;
  for (size_t i = 0; i < kBandHz.size(); ++i) {
    if (b.bandOff[i] != 0 || b.gains[i] == 1.0f) continue;
    if (kBandHz[i] >= 0.45 * rate_) continue;  // above what this rate carries
    double q = b.width > 0 ? std::clamp(b.width / 100.0, 0.2, 10.0) : spacingQ(i);
    double a = std::sqrt(static_cast<double>(b.gains[i]));
    double w0 = 2 * kPi * kBandHz[i] / rate_;
    double alpha = std::sin(w0) / (2 * q);
    double a0 = 1 + alpha / a;
    filters.push_back({(1 + alpha * a) / a0, -2 * std::cos(w0) / a0, (1 - alpha * a) / a0, -2 * std::cos(w0) / a0,
                       (1 - alpha / a) / a0});
  }
  if (reshape || filters.size() != filters_.size()) state_.assign(filters.size() * 2 * size_t(channels_), 0.0);
  filters_ = std::move(filters);
#if defined(__SSE2__)
  stereoCoefficients_.clear();  // made again from the new filters by the next block
#endif
}

// Drops filter memory that has decayed into slow denormals.
static double settled(double z) { return std::fabs(z) < 1e-25 ? 0.0 : z; }

#if defined(__SSE2__)
// Stereo: both channels in one register. Up to four bands run over the block
// side by side, sample after sample, so the processor works on one band's
// next sample while another band still waits for its last result; each band
// still sees its input samples in order through the very operations of the
// plain loop, in the same order, so every sample is the same.
template <int Bands>
void Equalizer::cascadeStereo(const StereoBiquad* coef, double* state, double* frames, size_t count) {
  __m128d z1[Bands], z2[Bands];
  for (int k = 0; k < Bands; ++k) {
    z1[k] = _mm_set_pd(state[k * 4 + 2], state[k * 4]);
    z2[k] = _mm_set_pd(state[k * 4 + 3], state[k * 4 + 1]);
  }
  for (size_t i = 0; i < count; ++i) {
    __m128d x = _mm_loadu_pd(frames + i * 2);
    for (int k = 0; k < Bands; ++k) {
      const StereoBiquad& q = coef[k];
      const __m128d y = _mm_add_pd(_mm_mul_pd(q.b0, x), z1[k]);
      z1[k] = _mm_add_pd(_mm_sub_pd(_mm_mul_pd(q.b1, x), _mm_mul_pd(q.a1, y)), z2[k]);
      z2[k] = _mm_sub_pd(_mm_mul_pd(q.b2, x), _mm_mul_pd(q.a2, y));
      x = y;
    }
    _mm_storeu_pd(frames + i * 2, x);
  }
  for (int k = 0; k < Bands; ++k) {
    double z1v[2], z2v[2];
    _mm_storeu_pd(z1v, z1[k]);
    _mm_storeu_pd(z2v, z2[k]);
    state[k * 4] = z1v[0];
    state[k * 4 + 1] = z2v[0];
    state[k * 4 + 2] = z1v[1];
    state[k * 4 + 3] = z2v[1];
  }
}
#endif

void Equalizer::process(double* frames, size_t count) {
  if (!block_.enabled) return;
  const double pre = block_.preamp;
  const size_t ch = size_t(channels_);
  for (size_t i = 0; i < count * ch; ++i) frames[i] *= pre;
#if defined(__SSE2__)
  if (ch == 2) {
    const size_t bands = filters_.size();
    std::vector<StereoBiquad>& coef = stereoCoefficients_;
    if (coef.size() != bands) {
      coef.resize(bands);
      for (size_t f = 0; f < bands; ++f) {
        const Biquad& q = filters_[f];
        coef[f] = {_mm_set1_pd(q.b0), _mm_set1_pd(q.b1), _mm_set1_pd(q.b2), _mm_set1_pd(q.a1), _mm_set1_pd(q.a2)};
      }
    }
    for (size_t f = 0; f < bands;) {
      const size_t group = std::min<size_t>(4, bands - f);
      const StereoBiquad* c = &coef[f];
      double* s = &state_[f * 4];
      switch (group) {
        case 4: cascadeStereo<4>(c, s, frames, count); break;
        case 3: cascadeStereo<3>(c, s, frames, count); break;
        case 2: cascadeStereo<2>(c, s, frames, count); break;
        default: cascadeStereo<1>(c, s, frames, count); break;
      }
      f += group;
    }
    // Decaying filter memory would otherwise sink into slow denormals.
    for (double& z : state_) z = settled(z);
    return;
  }
#endif
  for (size_t f = 0; f < filters_.size(); ++f) {
    const Biquad q = filters_[f];
    for (size_t c = 0; c < ch; ++c) {
      double* s = &state_[(f * ch + c) * 2];
      double z1 = s[0], z2 = s[1];
      for (size_t i = 0; i < count; ++i) {
        double& x = frames[i * ch + c];
        double y = q.b0 * x + z1;
        z1 = q.b1 * x - q.a1 * y + z2;
        z2 = q.b2 * x - q.a2 * y;
        x = y;
      }
      // Decaying filter memory would otherwise sink into slow denormals.
      s[0] = settled(z1);
      s[1] = settled(z2);
    }
  }
}

double Equalizer::responseAt(double hz) const {
  if (!block_.enabled) return 1.0;
  double w = 2 * kPi * hz / rate_;
  std::complex<double> z1 = std::polar(1.0, -w), z2 = std::polar(1.0, -2 * w);
  double g = block_.preamp;
  for (const Biquad& q : filters_) g *= std::abs((q.b0 + q.b1 * z1 + q.b2 * z2) / (1.0 + q.a1 * z1 + q.a2 * z2));
  return g;
}

}  // namespace zvdsp
