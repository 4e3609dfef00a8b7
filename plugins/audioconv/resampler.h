// Sample-rate conversion by a polyphase windowed-sinc (Kaiser) filter.
// Between any two rates the band up to 90.7 % of the lower Nyquist frequency
// (20 kHz for 44.1 kHz) passes flat and everything from the lower Nyquist
// frequency up is attenuated by about 100 dB, so neither images nor aliases
// are audible.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace audioconv {

class Resampler {
 public:
  Resampler(int inRate, int outRate, int channels);

  int inRate() const { return inRate_; }
  int outRate() const { return outRate_; }
  int channels() const { return channels_; }
  // Filter length in input frames (the work per output frame and channel).
  int taps() const { return taps_; }

  // Appends the output owed for `frames` more interleaved input frames.
  // Output frame n is the input signal at time n * in/out input frames, so
  // both streams start at the same instant; output lags the input by half
  // the filter length until flush().
  void process(const float* in, size_t frames, std::vector<float>& out);

  // Appends the rest of the output: after it, input of N frames has given
  // exactly outputFrames(N) frames. The next process() starts a new signal.
  void flush(std::vector<float>& out);

  // Forgets all input (for a seek).
  void reset();

  // Output frames of a whole signal of `inFrames` input frames.
  uint64_t outputFrames(uint64_t inFrames) const;

 private:
  void produce(std::vector<float>& out, uint64_t limit);
  const float* coefsFor(uint64_t phase, std::vector<float>& scratch) const;

  int inRate_, outRate_, channels_;
  uint64_t up_ = 1, down_ = 1;  // out/gcd, in/gcd: output n sits at input n*down/up
  int half_ = 1, taps_ = 2;
  int tablePhases_ = 1;         // rows of coefs_ (up_ when exact, else fewer with interpolation)
  bool exactPhases_ = true;
  std::vector<float> coefs_;    // tablePhases_ (+1 when interpolated) rows of taps_
  std::vector<std::vector<float>> buf_;  // per channel: input from absolute frame bufStart_
  int64_t bufStart_ = 0;
  uint64_t totalIn_ = 0;
  uint64_t nextOut_ = 0;
  std::vector<float> scratch_;
};

}  // namespace audioconv
