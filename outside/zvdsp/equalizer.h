// The 12-band graphic equalizer: one peaking filter per band (exact band
// gain at its centre frequency) and the preamp, run on the mixed sound.
#pragma once
#include <array>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "zvdsp.h"

namespace zvdsp {

// Centre frequencies of the bands, Hz.
extern const std::array<double, ZV_EQ_BANDS> kBandHz;

// The block as applied: gains limited to -60..+40 dB, NaN taken as 1.0.
ZvEqualizer sanitized(const ZvEqualizer& b);

// A block that is off and flat.
ZvEqualizer flatEqualizer();

class Equalizer {
 public:
  Equalizer();

  // Takes a new block and the output's format; filter memory is kept when
  // only gains change, so an edit while playing does not click.
  void configure(const ZvEqualizer& block, int sampleRate, int channels);
  const ZvEqualizer& block() const { return block_; }
  bool active() const { return block_.enabled != 0; }

  // Filters interleaved frames in place (nothing when off).
  void process(double* frames, size_t count);

  // Linear gain at `hz` of the whole curve, preamp included.
  double responseAt(double hz) const;

 private:
  struct Biquad {
    double b0, b1, b2, a1, a2;  // normalised (a0 = 1)
  };
  ZvEqualizer block_;
  int rate_ = 44100;
  int channels_ = 2;
  std::vector<Biquad> filters_;
  std::vector<double> state_;  // 2 words per filter and channel
#if defined(__SSE2__)
  // A filter's coefficients, each in both halves of a register (stereo).
  struct StereoBiquad {
    __m128d b0, b1, b2, a1, a2;
  };
  std::vector<StereoBiquad> stereoCoefficients_;
  template <int Bands>
  static void cascadeStereo(const StereoBiquad* coef, double* state, double* frames, size_t count);
#endif
};

}  // namespace zvdsp
