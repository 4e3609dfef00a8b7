// The mixing side of the output: taking what producers deliver, asking for
// more, summing the streams with their fades, the equalizer, and accounting
// for what has been heard.
#include <algorithm>
#include <cmath>

#include "output.h"
#include "pcm_convert.h"

namespace zvdsp {

namespace {

// A 16-bit sample of the visualisation copy: lround's result (half away from
// zero), clipped, without its library call for every sample.
int16_t visSample(double x) {
  const double v = x * 32768.0;
  if (!(std::fabs(v) < 1e9)) return static_cast<int16_t>(std::clamp(std::lround(v), -32768L, 32767L));
  long r = static_cast<long>(v);  // truncated; v - r is exact
  const double frac = v - static_cast<double>(r);
  if (frac >= 0.5) ++r;
  else if (frac <= -0.5) --r;
  return static_cast<int16_t>(std::clamp(r, -32768L, 32767L));
}

// What a stream keeps delivered ahead of the mixer, in device blocks at
// least: time for its producer to answer before the stream is late.
constexpr size_t kMinLeadBlocks = 4;

}  // namespace

void Output::retireHeard() {
  bool any = false;
  while (!inFlight_.empty() && heard(*inFlight_.front())) {
    Block* b = inFlight_.front();
    inFlight_.pop_front();
    for (Credit& c : b->credits)
      if (c.generation == c.stream->generation)
        InterlockedExchangeAdd(reinterpret_cast<volatile LONG*>(&c.stream->rec.framesPlayed), c.frames);
    b->credits.clear();
    heardSeq_ = b->seq;
    spare_.push_back(b);
    any = true;
  }
  // What starts playing now is what the visualisation shows.
  if (any && !inFlight_.empty()) feedVis(inFlight_.front()->firstFrame);
}

void Output::collect(Stream& s) {
  if (!s.outstanding || !takeSignal(s.dataReady.get())) return;
  s.outstanding = false;
  audioconv::PcmFormat f{s.rec.bits, s.rec.channels, false};
  if (!audioconv::isSupported(f)) f = {deviceBits_, deviceChannels_, false};
  const int rate = s.rec.rate >= 1000 && s.rec.rate <= 768000 ? s.rec.rate : deviceRate_;
  // The producer's count is clamped to what the buffer holds, in whole frames.
  int64_t bytes = std::min<int64_t>(s.rec.byteCount, int64_t(s.buffer.size()));
  const size_t frames = bytes > 0 ? size_t(bytes) / size_t(f.bytesPerFrame()) : 0;
  if (frames == 0) {
    s.endSeen = true;
    return;
  }
  s.started = true;
  if (s.fifoRead > 0 && s.fifoRead >= s.fifo.size() / 2) {
    s.fifo.erase(s.fifo.begin(), s.fifo.begin() + static_cast<std::ptrdiff_t>(s.fifoRead));
    s.fifoRead = 0;
  }
  std::vector<double> raw(frames * size_t(f.channels));
  audioconv::toReal(s.buffer.data(), f, frames, raw.data());
  std::vector<double> mapped(frames * size_t(deviceChannels_));
  audioconv::mapChannels(raw.data(), f.channels, mapped.data(), deviceChannels_, frames);
  if (rate == deviceRate_) {
    s.resampler.reset();
    s.fifo.insert(s.fifo.end(), mapped.begin(), mapped.end());
    return;
  }
  if (!s.resampler || s.resampler->inRate() != rate || s.resampler->channels() != deviceChannels_)
    s.resampler = std::make_unique<audioconv::Resampler>(rate, deviceRate_, deviceChannels_);
  std::vector<float> in(mapped.begin(), mapped.end()), out;
  s.resampler->process(in.data(), frames, out);
  s.fifo.insert(s.fifo.end(), out.begin(), out.end());
}

void Output::request(Stream& s) {
  if (s.outstanding || s.closing || s.endSeen || s.state != Stream::State::Active || s.fade.silent()) return;
  const size_t bytesPerFrame = size_t(params_.bits / 8 * params_.channels);
  // As much as the device holds: a producer that falls behind has the whole
  // buffer's time before its stream goes silent. Fades and clears act at
  // mixing, so this lead adds no latency.
  const size_t lead = std::max(kMinLeadBlocks, blocks_.size());
  if (s.fifoValues() >= size_t(blockFrames_) * size_t(deviceChannels_) * lead) return;
  s.rec.byteCount = static_cast<int32_t>(s.buffer.size() / bytesPerFrame * bytesPerFrame);
  s.outstanding = true;
  SetEvent(s.needData.get());
}

void Output::settle(Stream& s) {
  if (s.state == Stream::State::Active && (s.fade.silent() || (s.endSeen && s.fifoValues() == 0))) {
    s.state = Stream::State::Finishing;
    s.finishSeq = s.lastSeq;
  }
  if (s.state == Stream::State::Finishing && heardSeq_ >= s.finishSeq) {
    s.state = Stream::State::Idle;
    s.rec.playedOut = 1;
  }
}

bool Output::wantsOutput() const {
  const size_t block = size_t(blockFrames_) * size_t(deviceChannels_);
  bool sound = !closing_.empty(), waiting = false, late = false;
  for (auto& [n, s] : streams_) {
    if (s->state != Stream::State::Active || s->fade.silent()) continue;
    if (s->fifoValues() >= block || (s->endSeen && s->fifoValues() > 0)) {
      sound = true;
    } else if (!s->endSeen) {
      // Asked for more (or about to be): a block mixed now would hold the
      // others without it, and a fade running against it (a cross-fade)
      // would move on alone.
      waiting = true;
      if (s->started) late = true;
    }
  }
  // A producer that is behind gets time to catch up while the device still
  // has sound queued; others are held with it, so streams stay in step.
  // Only when the device is about to run dry does the rest go out, with
  // silence for the late one: a busy machine costs latency, not gaps.
  if (waiting && inFlight_.size() >= 2) return false;
  return sound || late;
}

void Output::mixInto(Block& b) {
  const size_t ch = size_t(deviceChannels_);
  const size_t frames = size_t(blockFrames_);
  std::fill(mix_.begin(), mix_.end(), 0.0);
  b.firstFrame = written_;
  b.credits.clear();
  auto add = [&](const std::shared_ptr<Stream>& s) {
    if (s->state != Stream::State::Active) return;
    size_t n = 0;
    while (n < frames && s->fifoValues() >= ch && !s->fade.silent()) {
      double g = s->fade.next();
      if (s->closing) {
        if (s->rampLeft <= 0) break;
        g *= double(s->rampLeft--) / double(s->rampTotal + 1);
      }
      const double* src = &s->fifo[s->fifoRead];
      double* dst = &mix_[n * ch];
      if (g == 1.0) {
        for (size_t c = 0; c < ch; ++c) dst[c] += src[c];
      } else {
        for (size_t c = 0; c < ch; ++c) dst[c] += src[c] * g;
      }
      s->fifoRead += ch;
      ++n;
    }
    if (n > 0) {
      s->lastSeq = nextSeq_;  // the sequence number this block is about to get
      b.credits.push_back({s, s->generation, static_cast<int32_t>(n)});
    }
  };
  for (auto& [n, s] : streams_) add(s);
  for (auto& s : closing_) add(s);

  eq_.process(mix_.data(), frames);
  audioconv::fromReal(mix_.data(), frames, {deviceBits_, deviceChannels_, false}, b.bytes.data());

  // Keep a 16-bit stereo copy for the visualisation.
  const size_t ringFrames = visRing_.size() / 2;
  for (size_t i = 0; i < frames; ++i) {
    const size_t at = ((written_ + i) & (ringFrames - 1)) * 2;
    const double l = mix_[i * ch], r = ch > 1 ? mix_[i * ch + 1] : l;
    visRing_[at] = visSample(l);
    visRing_[at + 1] = visSample(r);
  }
  written_ += frames;
}

void Output::feedVis(uint64_t fromFrame) {
  if (!prepareVis_ || !visData_ || streams_.empty()) return;
  const uint64_t n = uint64_t(params_.visFrames);
  if (written_ < n) return;
  if (fromFrame + n > written_) fromFrame = written_ - n;
  const size_t ringFrames = visRing_.size() / 2;
  visScratch_.resize(size_t(n) * 2);
  for (uint64_t i = 0; i < n; ++i) {
    const size_t at = size_t((fromFrame + i) & (ringFrames - 1)) * 2;
    visScratch_[size_t(i) * 2] = visRing_[at];
    visScratch_[size_t(i) * 2 + 1] = visRing_[at + 1];
  }
  void* buf = visData_();
  if (buf) prepareVis_(deviceRate_, 16, 2, visScratch_.data(), static_cast<int32_t>(n), buf);
}

}  // namespace zvdsp
