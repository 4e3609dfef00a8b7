// The volume envelope of one stream: linear or exponential fades, counted in
// the stream's own frames so a late producer pauses a fade instead of
// cutting it short.
#pragma once
#include <cstdint>

namespace zvdsp {

class Fade {
 public:
  // Full volume, no fade running.
  Fade() = default;

  // From silence to full over `frames` (modes 2 and 3: full at once).
  void startIn(int64_t frames, int mode);
  // From the present gain to silence over `frames`.
  void startOut(int64_t frames, int mode);
  // Full volume at once.
  void reset();

  // Gain for the next frame; advances the envelope.
  double next();
  // True once a fade-out has reached silence.
  bool silent() const { return out_ && done_ >= total_; }
  bool running() const { return done_ < total_; }
  double gain() const;

 private:
  double shape(double t) const;

  double from_ = 1.0;
  bool out_ = false;
  bool exponential_ = false;
  int64_t total_ = 0;
  int64_t done_ = 0;
};

}  // namespace zvdsp
