#include "output_stage.h"

#include <algorithm>
#include <cstring>

namespace deckit {

bool isValidOutFormat(const OutFormat& f) {
  return f.rate >= 1000 && f.rate <= 768000 && f.channels >= 1 && f.channels <= 8 &&
         (f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32);
}

void OutputStage::reset() {
  ready_.clear();
  readyPos_ = 0;
  rest_ = Block{};
  if (resampler_) resampler_->reset();
  ended_ = false;
}

Block OutputStage::packed(const Block& b) {
  if (!b.planes) return b;
  packed_.resize(b.frames * static_cast<size_t>(b.format.bytesPerFrame()));
  audioconv::convertPlanes(b.planes, b.planeFirst, b.planeShift, b.frames, b.format, b.format, packed_.data());
  Block p = b;
  p.data = packed_.data();
  p.planes = nullptr;
  p.planeFirst = 0;
  p.planeShift = 0;
  return p;
}

void OutputStage::finishResampler() {
  if (resampler_) resampler_->flush(ready_);
  resampler_.reset();
}

// Samples are converted in double precision: 32-bit integer and 64-bit float
// sources keep every bit on their way to 32-bit output, and a down-mix is
// rounded once, at the end. The resampler itself works in float.
void OutputStage::take(const Block& planar, const OutFormat& out) {
  const Block b = packed(planar);
  const size_t n = b.frames * static_cast<size_t>(b.format.channels);
  real_.resize(n);
  audioconv::toReal(b.data, b.format, b.frames, real_.data());
  const std::vector<double>* frames = &real_;
  if (b.format.channels != out.channels) {
    mapped_.resize(b.frames * static_cast<size_t>(out.channels));
    audioconv::mapChannels(real_.data(), b.format.channels, mapped_.data(), out.channels, b.frames);
    frames = &mapped_;
  }
  if (b.rate == out.rate) {
    finishResampler();  // a chained stream may come back to the output rate
    ready_.insert(ready_.end(), frames->begin(), frames->end());
    return;
  }
  if (resampler_ && (resampler_->inRate() != b.rate || resampler_->outRate() != out.rate ||
                     resampler_->channels() != out.channels))
    finishResampler();
  if (!resampler_) resampler_ = std::make_unique<audioconv::Resampler>(b.rate, out.rate, out.channels);
  toResample_.assign(frames->begin(), frames->end());
  resampler_->process(toResample_.data(), b.frames, ready_);
}

void OutputStage::convertInto(const Block& b, const OutFormat& out, void* dst) {
  const audioconv::PcmFormat outPcm{out.bits, out.channels, false};
  if (b.format.isFloat && b.format.bits == 32 && b.format.channels == out.channels) {
    audioconv::fromReal(static_cast<const float*>(b.data), b.frames, outPcm, dst);
    return;
  }
  // Integer to integer at another depth (a 24-bit file played at 16 bits):
  // the same result in integer arithmetic, without the trip through double.
  if (audioconv::convertInteger(b.data, b.format, b.frames, outPcm, dst)) return;
  real_.resize(b.frames * static_cast<size_t>(b.format.channels));
  audioconv::toReal(b.data, b.format, b.frames, real_.data());
  if (b.format.channels == out.channels) {
    audioconv::fromReal(real_.data(), b.frames, outPcm, dst);
    return;
  }
  mapped_.resize(b.frames * static_cast<size_t>(out.channels));
  audioconv::mapChannels(real_.data(), b.format.channels, mapped_.data(), out.channels, b.frames);
  audioconv::fromReal(mapped_.data(), b.frames, outPcm, dst);
}

size_t OutputStage::deliver(Block b, size_t frames, const OutFormat& out, void* dst) {
  const audioconv::PcmFormat outPcm{out.bits, out.channels, false};
  if (b.planes && audioconv::convertPlanes(b.planes, b.planeFirst, b.planeShift, frames, b.format, outPcm, dst)) {
    rest_ = b;
    rest_.planeFirst = b.planeFirst + frames;
    rest_.frames = b.frames - frames;
    return frames;
  }
  b = packed(b);
  const bool same = b.format.channels == out.channels && !b.format.isFloat && b.format.bits == out.bits;
  const size_t inFrameBytes = static_cast<size_t>(b.format.bytesPerFrame());
  Block head = b;
  head.frames = frames;
  if (same) std::memcpy(dst, b.data, frames * inFrameBytes);
  else convertInto(head, out, dst);
  rest_ = b;
  rest_.data = static_cast<const uint8_t*>(b.data) + frames * inFrameBytes;
  rest_.frames = b.frames - frames;
  return frames;
}

size_t OutputStage::pull(Decoder& dec, void* dst, size_t capacity, const OutFormat& out) {
  if (capacity == 0) return 0;
  if (readyCh_ != out.channels) {
    ready_.clear();
    readyPos_ = 0;
    readyCh_ = out.channels;
  }
  // The rest of a block at the output rate comes first; its data stays valid
  // because the decoder is not called until it is used up.
  if (rest_.frames > 0) {
    if (rest_.rate == out.rate) return deliver(rest_, std::min(capacity, rest_.frames), out, dst);
    take(rest_, out);  // the engine asked for another rate meanwhile
    rest_ = Block{};
  }
  while (pending() < capacity && !ended_) {
    Block b;
    if (!dec.read(b)) {
      finishResampler();
      ended_ = true;
      break;
    }
    if (b.frames == 0 || !audioconv::isSupported(b.format)) continue;
    // The usual case: straight into the caller's buffer, copied as it is
    // when the formats agree.
    if (pending() == 0 && b.rate == out.rate && !resampler_) return deliver(b, std::min(capacity, b.frames), out, dst);
    take(b, out);
  }
  size_t n = std::min(capacity, pending());
  if (n > 0) {
    audioconv::fromReal(ready_.data() + readyPos_, n, audioconv::PcmFormat{out.bits, out.channels, false}, dst);
    readyPos_ += n * static_cast<size_t>(out.channels);
  }
  if (readyPos_ == ready_.size() || readyPos_ > (1u << 16)) {
    ready_.erase(ready_.begin(), ready_.begin() + static_cast<std::ptrdiff_t>(readyPos_));
    readyPos_ = 0;
  }
  return n;
}

}  // namespace deckit
