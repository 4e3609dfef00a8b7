// Test helpers for zvdsp: a producer thread that serves one output stream
// from a prepared signal the way the engine's decode instance does, and the
// captured sound of the test's ALSA device.
#pragma once
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "testkit.h"
#include "zvdsp.h"

namespace zvdsptest {

struct Frame {
  int16_t l, r;
  bool operator==(const Frame& o) const { return l == o.l && r == o.r; }
};

// Serves `signal` (16-bit stereo, 44.1 kHz) to the stream behind `rec`,
// answering 0 bytes at the end. With stallAt >= 0 it stops answering once
// that many frames have been delivered until `resumeWhen` holds: a late
// producer. With `loop` the signal starts over at its end and never runs out.
class Feeder {
 public:
  Feeder(ZvStreamRec* rec, std::vector<Frame> signal, int64_t stallAt = -1, std::function<bool()> resumeWhen = {},
         bool loop = false)
      : rec_(rec), signal_(std::move(signal)), stallAt_(stallAt), resumeWhen_(std::move(resumeWhen)), loop_(loop),
        stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), thread_([this] { run(); }) {}
  ~Feeder() {
    SetEvent(stop_);
    thread_.join();
    CloseHandle(stop_);
  }
  Feeder(const Feeder&) = delete;
  Feeder& operator=(const Feeder&) = delete;

  int64_t delivered() const { return pos_.load(); }

 private:
  void run() {
    HANDLE h[2] = {stop_, rec_->needData};
    while (WaitForMultipleObjects(2, h, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
      int64_t pos = pos_.load();
      if (stallAt_ >= 0 && pos >= stallAt_) {
        stallAt_ = -1;
        while (resumeWhen_ && !resumeWhen_())
          if (WaitForSingleObject(stop_, 1) == WAIT_OBJECT_0) return;
      }
      int64_t room = rec_->byteCount / 4;
      if (loop_ && pos >= int64_t(signal_.size())) pos = 0;
      int64_t n = std::min<int64_t>(room, int64_t(signal_.size()) - pos);
      if (n > 0) memcpy(rec_->buffer, &signal_[size_t(pos)], size_t(n) * 4);
      rec_->byteCount = static_cast<int32_t>(std::max<int64_t>(n, 0) * 4);
      rec_->rate = 44100;
      rec_->bits = 16;
      rec_->channels = 2;
      pos_ = pos + std::max<int64_t>(n, 0);
      SetEvent(rec_->dataReady);
    }
  }

  ZvStreamRec* rec_;
  std::vector<Frame> signal_;
  int64_t stallAt_;
  std::function<bool()> resumeWhen_;
  bool loop_;
  std::atomic<int64_t> pos_{0};
  HANDLE stop_;
  std::thread thread_;
};

// The part of the capture file written after construction, without the
// all-zero frames Wine pads with.
class Capture {
 public:
  // The device writes to the file a little after a block counts as heard,
  // so first wait until the sound of earlier tests has ended there.
  Capture() {
    waitSilent();
    mark_ = zvtest::readFile(zvtest::captureFile()).size() / 4 * 4;
  }
  // Everything captured once the device has gone quiet.
  std::vector<Frame> settled() const {
    waitSilent();
    return frames();
  }
  static void waitSilent() {
    zvtest::waitFor([] {
      std::vector<uint8_t> bytes = zvtest::readFile(zvtest::captureFile());
      size_t tail = std::min<size_t>(bytes.size() / 4 * 4, 4 * 8192);
      return std::all_of(bytes.end() - std::ptrdiff_t(tail), bytes.end(), [](uint8_t b) { return b == 0; });
    }, 5000);
  }
  std::vector<Frame> frames() const {
    std::vector<uint8_t> bytes = zvtest::readFile(zvtest::captureFile());
    std::vector<Frame> out;
    for (size_t i = mark_; i + 4 <= bytes.size(); i += 4) {
      Frame f;
      memcpy(&f, &bytes[i], 4);
      if (f.l != 0 || f.r != 0) out.push_back(f);
    }
    return out;
  }
  // Waits until at least n non-zero frames have arrived.
  std::vector<Frame> waitFrames(size_t n, int ms = 15000) const {
    std::vector<Frame> f;
    zvtest::waitFor([&] { return (f = frames()).size() >= n; }, ms);
    return f;
  }

 private:
  size_t mark_;
};

// A stream started at full volume with the equalizer off.
inline int32_t openStream(ZvStreamRec** rec) {
  ZvEqualizer off{};
  off.preamp = 1.0f;
  for (float& g : off.gains) g = 1.0f;
  outSetEqualizer(&off);
  int32_t s = outNewStream(rec);
  if (s >= 0) {
    outClear(s);
    outFadeIn(s, 0, 0);
  }
  return s;
}

inline bool waitPlayedOut(ZvStreamRec* rec, int ms = 15000) {
  return zvtest::waitFor([&] { return rec->playedOut != 0; }, ms);
}

inline bool haveDevice() {
  ZvOutParams p{};
  outInit();
  outGetParams(&p);
  return p.waveOut != 0;
}

}  // namespace zvdsptest
