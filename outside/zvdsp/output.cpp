#include "output.h"

#include <algorithm>
#include <cmath>

namespace zvdsp {

namespace {
constexpr size_t kMaxStreams = 32;
constexpr int kCapacityFrames = 2048;  // one request's worth
constexpr int kCloseRampMs = 10;

bool validPriority(int32_t p) { return (p >= -2 && p <= 2) || p == 15 || p == -15; }
}  // namespace

ZvOutParams defaultParams() {
  ZvOutParams p{};
  p.sampleRate = 44100;
  p.bits = 16;
  p.channels = 2;
  p.device = -1;
  p.bufferMs = 200;
  p.visFrames = 1024;
  p.priority = THREAD_PRIORITY_HIGHEST;
  return p;
}

ZvOutParams sanitized(const ZvOutParams& in) {
  const ZvOutParams d = defaultParams();
  ZvOutParams p = in;
  if (p.sampleRate < 8000 || p.sampleRate > 192000) p.sampleRate = d.sampleRate;
  if (p.bits != 8 && p.bits != 16 && p.bits != 24 && p.bits != 32) p.bits = d.bits;
  if (p.channels < 1 || p.channels > 8) p.channels = d.channels;
  if (p.device < -1) p.device = d.device;
  if (p.bufferMs < 40 || p.bufferMs > 2000) p.bufferMs = d.bufferMs;
  if (p.visFrames < 64 || p.visFrames > 8192) {
    p.visFrames = d.visFrames;
  } else {
    int32_t pow2 = 64;
    while (pow2 * 2 <= p.visFrames) pow2 *= 2;
    p.visFrames = pow2;
  }
  if (!validPriority(p.priority)) p.priority = d.priority;
  return p;
}

Output& Output::instance() {
  static Output output;
  return output;
}

Output::Output() : params_(defaultParams()) {
  InitializeCriticalSection(&lock_);
  eq_.configure(flatEqualizer(), params_.sampleRate, params_.channels);
}

Output::~Output() {
  // At process end other threads are gone; a thread that still runs after a
  // FreeLibrary cannot be waited for under the loader lock, so nothing here
  // touches the device.
  DeleteCriticalSection(&lock_);
}

int64_t Output::framesOf(int32_t ms) const {
  return ms <= 0 ? 0 : static_cast<int64_t>(ms) * params_.sampleRate / 1000;
}

bool Output::init() {
  Locked l(lock_);
  return startLocked();
}

bool Output::startLocked() {
  if (thread_) return true;
  if (!wake_ || !blockDone_) return false;
  quit_ = false;
  reopen_ = true;
  thread_ = UniqueKernelHandle(CreateThread(nullptr, 0, &Output::threadEntry, this, 0, nullptr));
  if (!thread_) return false;
  // Word 4 must name the device as soon as outInit returns (the mixer opens
  // by it), so wait for the thread's first open.
  LeaveCriticalSection(&lock_);
  for (int i = 0; i < 500; ++i) {
    EnterCriticalSection(&lock_);
    bool opened = !reopen_;
    LeaveCriticalSection(&lock_);
    if (opened) break;
    Sleep(2);
  }
  EnterCriticalSection(&lock_);
  return true;
}

void Output::free() {
  UniqueKernelHandle thread;
  {
    Locked l(lock_);
    if (!thread_) return;
    quit_ = true;
    thread = std::move(thread_);
    SetEvent(wake_.get());
  }
  WaitForSingleObject(thread.get(), INFINITE);
}

ZvOutParams Output::params() {
  Locked l(lock_);
  ZvOutParams p = params_;
  p.waveOut = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(device_));
  return p;
}

void Output::setParams(const ZvOutParams& in) {
  Locked l(lock_);
  ZvOutParams p = sanitized(in);
  bool reopen = p.sampleRate != params_.sampleRate || p.bits != params_.bits || p.channels != params_.channels ||
                p.device != params_.device || p.bufferMs != params_.bufferMs;
  bool priority = p.priority != params_.priority;
  p.waveOut = params_.waveOut;
  params_ = p;
  if (priority && thread_) SetThreadPriority(thread_.get(), params_.priority);
  if (reopen) {
    reopen_ = true;
    eq_.configure(eq_.block(), params_.sampleRate, params_.channels);
    SetEvent(wake_.get());
  }
}

std::shared_ptr<Stream> Output::find(int32_t s) {
  auto it = streams_.find(s);
  return it == streams_.end() ? nullptr : it->second;
}

int32_t Output::newStream(ZvStreamRec** rec) {
  if (!rec) return -1;
  *rec = nullptr;
  Locked l(lock_);
  if (streams_.size() + closing_.size() >= kMaxStreams) return -1;
  if (!startLocked()) return -1;
  auto s = std::make_shared<Stream>();
  if (!s->needData || !s->dataReady) return -1;
  const int bytesPerFrame = params_.bits / 8 * params_.channels;
  s->buffer.assign(size_t(kCapacityFrames) * size_t(bytesPerFrame), 0);
  s->number = nextNumber_++;
  if (nextNumber_ < 0) nextNumber_ = 0;
  s->rec.needData = s->needData.get();
  s->rec.dataReady = s->dataReady.get();
  s->rec.buffer = s->buffer.data();
  s->rec.rate = params_.sampleRate;
  s->rec.bits = params_.bits;
  s->rec.channels = params_.channels;
  streams_[s->number] = s;
  *rec = &s->rec;
  SetEvent(wake_.get());
  return s->number;
}

void Output::clear(int32_t n) {
  Locked l(lock_);
  auto s = find(n);
  if (!s) return;
  s->dropFifo();
  if (s->resampler) s->resampler->reset();
  // Sound the producer finished before this call is stale now; the request
  // itself stays open, its next answer is fresh.
  if (s->outstanding && takeSignal(s->dataReady.get())) s->outstanding = false;
  ++s->generation;
  s->endSeen = false;
  s->started = false;
  s->rec.framesPlayed = 0;
  s->rec.playedOut = 0;
  if (s->state != Stream::State::Active || s->fade.silent()) s->fade.reset();
  s->state = Stream::State::Active;
  SetEvent(wake_.get());
}

void Output::fadeIn(int32_t n, int32_t ms, int32_t mode) {
  Locked l(lock_);
  auto s = find(n);
  if (!s) return;
  s->fade.startIn(framesOf(ms), mode);
  s->rec.playedOut = 0;
  s->endSeen = false;
  s->state = Stream::State::Active;
  SetEvent(wake_.get());
}

void Output::fadeOut(int32_t n, int32_t ms, int32_t mode) {
  Locked l(lock_);
  auto s = find(n);
  if (!s) return;
  s->fade.startOut(framesOf(ms), mode);
  SetEvent(wake_.get());
}

void Output::closeStream(int32_t n) {
  Locked l(lock_);
  auto s = find(n);
  if (!s) return;
  streams_.erase(n);
  collect(*s);  // an answer already given is part of the ramp
  s->closing = true;
  const int64_t queued = static_cast<int64_t>(s->fifoValues() / size_t(deviceChannels_));
  s->rampTotal = s->rampLeft = std::max<int64_t>(1, std::min(queued, framesOf(kCloseRampMs)));
  // Still sounding: ramp what is queued down to silence instead of a click.
  if (s->state == Stream::State::Active && s->fifoValues() > 0 && !s->fade.silent()) closing_.push_back(s);
  SetEvent(wake_.get());
}

ZvEqualizer Output::equalizer() {
  Locked l(lock_);
  return eq_.block();
}

void Output::setEqualizer(const ZvEqualizer& b) {
  Locked l(lock_);
  eq_.configure(b, params_.sampleRate, params_.channels);
}

int32_t Output::filter(int32_t points, float* out) {
  if (!out || points <= 0) return 0;
  points = std::min(points, 65536);
  Locked l(lock_);
  for (int32_t i = 0; i < points; ++i) {
    double hz = points == 1 ? 20.0 : 20.0 * std::pow(1000.0, double(i) / (points - 1));
    out[i] = static_cast<float>(eq_.responseAt(hz));
  }
  return points;
}

DWORD WINAPI Output::threadEntry(void* self) {
  try {
    static_cast<Output*>(self)->run();
  } catch (...) {
    // Out of memory in the mixer: stop output rather than take the host down.
  }
  return 0;
}

void Output::run() {
  if (HMODULE engine = GetModuleHandleA("zvengine.dll")) {
    prepareVis_ = reinterpret_cast<VisPrepare>(reinterpret_cast<void*>(GetProcAddress(engine, "prepareVis")));
    visData_ = reinterpret_cast<VisData>(reinterpret_cast<void*>(GetProcAddress(engine, "getVisData")));
  }
  EnterCriticalSection(&lock_);
  SetThreadPriority(GetCurrentThread(), params_.priority);
  while (!quit_) {
    if (reopen_) {
      closeDevice();
      openDevice();
      reopen_ = false;
    }
    retireHeard();
    for (auto& [n, s] : streams_) {
      collect(*s);
      settle(*s);
      request(*s);
    }
    while (!spare_.empty() && wantsOutput()) {
      Block* b = spare_.back();
      spare_.pop_back();
      mixInto(*b);
      submit(*b);
    }
    for (auto& [n, s] : streams_) {
      settle(*s);
      request(*s);
    }
    closing_.erase(std::remove_if(closing_.begin(), closing_.end(),
                                  [](const std::shared_ptr<Stream>& s) { return s->rampLeft <= 0 || s->fifoValues() == 0; }),
                   closing_.end());
    // Asleep until a command, a block coming back from the device or an
    // answer to an open request: nothing here runs on a timer while a
    // device plays.
    DWORD timeout = waitMs();
    // The streams waited for stay alive until the wait is over: a stream
    // closed meanwhile must not close a handle in the wait.
    std::vector<HANDLE>& handles = waitHandles_;
    handles.assign({wake_.get(), blockDone_.get()});
    for (auto& [n, s] : streams_)
      if (s->outstanding) {
        handles.push_back(s->dataReady.get());
        waitStreams_.push_back(s);
      }
    LeaveCriticalSection(&lock_);
    WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, timeout);
    EnterCriticalSection(&lock_);
    waitStreams_.clear();
  }
  closeDevice();
  LeaveCriticalSection(&lock_);
}

}  // namespace zvdsp
