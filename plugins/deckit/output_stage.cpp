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
  direct_ = nullptr;
  directFrames_ = 0;
  if (resampler_) resampler_->reset();
  ended_ = false;
}

void OutputStage::finishResampler() {
  if (resampler_) resampler_->flush(ready_);
  resampler_.reset();
}

// Float is exact for every integer sample of up to 24 bits; 32-bit sources
// going unconverted take the direct path instead.
void OutputStage::take(const Block& b, const OutFormat& out) {
  const size_t n = b.frames * static_cast<size_t>(b.format.channels);
  real_.resize(n);
  audioconv::toReal(b.data, b.format, b.frames, real_.data());
  const std::vector<float>* frames = &real_;
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
  resampler_->process(frames->data(), b.frames, ready_);
}

void OutputStage::convertInto(const Block& b, const OutFormat& out, void* dst) {
  const audioconv::PcmFormat outPcm{out.bits, out.channels, false};
  if (b.format.isFloat && b.format.bits == 32 && b.format.channels == out.channels) {
    audioconv::fromReal(static_cast<const float*>(b.data), b.frames, outPcm, dst);
    return;
  }
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

size_t OutputStage::pull(Decoder& dec, void* dst, size_t capacity, const OutFormat& out) {
  if (capacity == 0) return 0;
  if (readyCh_ != out.channels) {
    ready_.clear();
    readyPos_ = 0;
    readyCh_ = out.channels;
  }
  const audioconv::PcmFormat outPcm{out.bits, out.channels, false};
  const size_t outFrameBytes = static_cast<size_t>(outPcm.bytesPerFrame());

  // The rest of a block that went through unchanged comes first.
  if (directFrames_ > 0) {
    size_t n = std::min(capacity, directFrames_);
    std::memcpy(dst, direct_, n * directFrameBytes_);
    direct_ += n * directFrameBytes_;
    directFrames_ -= n;
    return n;
  }
  while (pending() < capacity && !ended_) {
    Block b;
    if (!dec.read(b)) {
      finishResampler();
      ended_ = true;
      break;
    }
    if (b.frames == 0 || !audioconv::isSupported(b.format)) continue;
    const bool same = b.rate == out.rate && b.format.channels == out.channels && !b.format.isFloat &&
                      b.format.bits == out.bits && !resampler_;
    if (same && pending() == 0) {
      size_t n = std::min(capacity, b.frames);
      std::memcpy(dst, b.data, n * outFrameBytes);
      direct_ = static_cast<const uint8_t*>(b.data) + n * outFrameBytes;
      directFrames_ = b.frames - n;
      directFrameBytes_ = outFrameBytes;
      return n;
    }
    if (pending() == 0 && b.rate == out.rate && !resampler_) {
      // The usual case: straight into the caller's buffer, only a rest that
      // does not fit waits in ready_.
      Block head = b, rest = b;
      head.frames = std::min(capacity, b.frames);
      convertInto(head, out, dst);
      rest.frames = b.frames - head.frames;
      rest.data = static_cast<const uint8_t*>(b.data) + head.frames * static_cast<size_t>(b.format.bytesPerFrame());
      if (rest.frames > 0) take(rest, out);
      return head.frames;
    }
    take(b, out);
  }
  size_t n = std::min(capacity, pending());
  if (n > 0) {
    audioconv::fromReal(ready_.data() + readyPos_, n, outPcm, dst);
    readyPos_ += n * static_cast<size_t>(out.channels);
  }
  if (readyPos_ == ready_.size() || readyPos_ > (1u << 16)) {
    ready_.erase(ready_.begin(), ready_.begin() + static_cast<std::ptrdiff_t>(readyPos_));
    readyPos_ = 0;
  }
  return n;
}

}  // namespace deckit
