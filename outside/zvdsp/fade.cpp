#include "fade.h"

#include <cmath>

namespace zvdsp {

namespace {
// The exponential curve spans 60 dB: perceived loudness moves evenly.
const double kExpK = std::log(1000.0);
const double kExpNorm = 1000.0 - 1.0;
}  // namespace

void Fade::startIn(int64_t frames, int mode) {
  out_ = false;
  exponential_ = (mode & 1) != 0;
  from_ = 0.0;
  if (mode == 2 || mode == 3 || frames <= 0) {
    reset();
    return;
  }
  total_ = frames;
  done_ = 0;
}

void Fade::startOut(int64_t frames, int mode) {
  from_ = gain();
  out_ = true;
  exponential_ = (mode & 1) != 0;
  total_ = frames > 0 ? frames : 0;
  done_ = 0;
}

void Fade::reset() {
  from_ = 1.0;
  out_ = false;
  total_ = 0;
  done_ = 0;
}

// Rising curve from 0 at t = 0 to 1 at t = 1.
double Fade::shape(double t) const {
  if (!exponential_) return t;
  return (std::exp(kExpK * t) - 1.0) / kExpNorm;
}

double Fade::gain() const {
  if (done_ >= total_) return out_ ? 0.0 : 1.0;
  double t = static_cast<double>(done_) / static_cast<double>(total_);
  if (out_) return from_ * shape(1.0 - t);
  return shape(t);
}

double Fade::next() {
  double g = gain();
  if (done_ < total_) ++done_;
  return g;
}

}  // namespace zvdsp
