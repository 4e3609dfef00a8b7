#include "wav_decoder.h"

#include <algorithm>

namespace wav {

Decoder::Decoder(const char* path) : file_(path) { ok_ = file_.ok() && readLayout(file_, layout_) && layout_.playable(); }

uint32_t Decoder::lengthMs() const {
  return layout_.rate > 0 ? static_cast<uint32_t>(layout_.frames * 1000 / uint64_t(layout_.rate)) : 0;
}

size_t Decoder::readSource(size_t frames, std::vector<double>& dst) {
  frames = static_cast<size_t>(std::min<uint64_t>(frames, layout_.frames - next_));
  const size_t bpf = size_t(layout_.format.bytesPerFrame());
  raw_.resize(frames * bpf);
  size_t got = file_.readAt(layout_.dataOffset + next_ * bpf, raw_.data(), raw_.size()) / bpf;
  if (got < frames) layout_.frames = next_ + got;  // the file shrank under us: end there
  dst.resize(got * size_t(layout_.format.channels));
  audioconv::toReal(raw_.data(), layout_.format, got, dst.data());
  next_ += got;
  return got;
}

size_t Decoder::read(void* dst, size_t capacity, int rate, const audioconv::PcmFormat& out) {
  if (!ok_ || capacity == 0 || rate <= 0 || out.isFloat || !audioconv::isSupported(out)) return 0;
  const size_t outCh = size_t(out.channels);
  std::vector<double> src, mapped;
  if (rate == layout_.rate) {
    size_t n = readSource(capacity, src);
    mapped.resize(n * outCh);
    audioconv::mapChannels(src.data(), layout_.format.channels, mapped.data(), out.channels, n);
    audioconv::fromReal(mapped.data(), n, out, dst);
    return n;
  }
  if (!resampler_ || resampler_->outRate() != rate || resampler_->channels() != out.channels) {
    resampler_ = std::make_unique<audioconv::Resampler>(layout_.rate, rate, out.channels);
    pending_.clear();
    pendingRead_ = 0;
    flushed_ = false;
  }
  while ((pending_.size() - pendingRead_) / outCh < capacity && !flushed_) {
    size_t n = readSource(4096, src);
    if (n == 0) {
      resampler_->flush(pending_);
      flushed_ = true;
      break;
    }
    mapped.resize(n * outCh);
    audioconv::mapChannels(src.data(), layout_.format.channels, mapped.data(), out.channels, n);
    std::vector<float> f(mapped.begin(), mapped.end());
    resampler_->process(f.data(), n, pending_);
  }
  const size_t n = std::min(capacity, (pending_.size() - pendingRead_) / outCh);
  audioconv::fromReal(&pending_[pendingRead_], n, out, dst);
  pendingRead_ += n * outCh;
  if (pendingRead_ > 65536) {
    pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(pendingRead_));
    pendingRead_ = 0;
  }
  return n;
}

void Decoder::seekMs(int64_t ms) {
  if (!ok_) return;
  ms = std::max<int64_t>(0, ms);
  next_ = std::min<uint64_t>(layout_.frames, uint64_t(ms) * uint64_t(layout_.rate) / 1000);
  if (resampler_) resampler_->reset();
  pending_.clear();
  pendingRead_ = 0;
  flushed_ = false;
}

}  // namespace wav
