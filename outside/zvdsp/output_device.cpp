// The wave-out side of the output: opening the device in the mixing format,
// the ring of blocks it plays, and a stand-in clock when there is no device
// so that streams still play out (silently) at real-time speed.
#include <algorithm>


#include "output.h"
// after windows.h and mmsystem.h
#include <mmreg.h>

namespace zvdsp {

namespace {

// KSDATAFORMAT_SUBTYPE_PCM, spelled out to spare the kernel-streaming headers.
const GUID kSubtypePcm = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

double seconds() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return double(c.QuadPart) / double(f.QuadPart);
}

WAVEFORMATEXTENSIBLE formatOf(int rate, int bits, int channels) {
  WAVEFORMATEXTENSIBLE x{};
  WAVEFORMATEX& f = x.Format;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = static_cast<WORD>(channels);
  f.nSamplesPerSec = static_cast<DWORD>(rate);
  f.wBitsPerSample = static_cast<WORD>(bits);
  f.nBlockAlign = static_cast<WORD>(bits / 8 * channels);
  f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
  if (bits > 16 || channels > 2) {
    f.wFormatTag = WAVE_FORMAT_EXTENSIBLE;
    f.cbSize = sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX);
    x.Samples.wValidBitsPerSample = static_cast<WORD>(bits);
    x.dwChannelMask = channels == 1 ? 0x4 : (1u << channels) - 1;
    x.SubFormat = kSubtypePcm;
  }
  return x;
}

}  // namespace

void Output::openDevice() {
  deviceRate_ = params_.sampleRate;
  deviceBits_ = params_.bits;
  deviceChannels_ = params_.channels;
  // Sound kept in the old layout cannot be played in the new one.
  for (auto& [n, s] : streams_) {
    s->dropFifo();
    s->resampler.reset();
  }
  closing_.clear();

  WAVEFORMATEXTENSIBLE fmt = formatOf(deviceRate_, deviceBits_, deviceChannels_);
  UINT id = params_.device < 0 ? WAVE_MAPPER : static_cast<UINT>(params_.device);
  auto open = [&](UINT dev) {
    return waveOutOpen(&device_, dev, &fmt.Format, reinterpret_cast<DWORD_PTR>(blockDone_.get()), 0,
                       CALLBACK_EVENT) == MMSYSERR_NOERROR;
  };
  if (!open(id) && !(id != WAVE_MAPPER && open(WAVE_MAPPER))) device_ = nullptr;

  // Blocks of about 23 ms at 44.1 kHz; enough of them to cover bufferMs.
  blockFrames_ = std::max(256, deviceRate_ / 43 / 256 * 256);
  const int count = std::max(3, static_cast<int>(int64_t(params_.bufferMs) * deviceRate_ / 1000 / blockFrames_) + 1);
  const size_t bytes = size_t(blockFrames_) * size_t(deviceBits_ / 8 * deviceChannels_);
  blocks_.clear();
  spare_.clear();
  for (int i = 0; i < count; ++i) {
    auto b = std::make_unique<Block>();
    b->bytes.assign(bytes, 0);
    b->hdr.lpData = reinterpret_cast<LPSTR>(b->bytes.data());
    b->hdr.dwBufferLength = static_cast<DWORD>(bytes);
    if (device_) waveOutPrepareHeader(device_, &b->hdr, sizeof(b->hdr));
    spare_.push_back(b.get());
    blocks_.push_back(std::move(b));
  }
  mix_.assign(size_t(blockFrames_) * size_t(deviceChannels_), 0.0);
  size_t ring = 1;
  while (ring < size_t(count + 2) * size_t(blockFrames_) + 8192) ring <<= 1;
  visRing_.assign(ring * 2, 0);
  written_ = 0;
  clock_ = seconds();
  eq_.configure(eq_.block(), deviceRate_, deviceChannels_);
}

void Output::closeDevice() {
  if (device_) waveOutReset(device_);
  // Whatever was queued counts as heard: positions move on and streams
  // waiting for their last block still play out.
  while (!inFlight_.empty()) {
    inFlight_.front()->hdr.dwFlags |= WHDR_DONE;
    retireHeard();
  }
  if (device_) {
    for (auto& b : blocks_) waveOutUnprepareHeader(device_, &b->hdr, sizeof(b->hdr));
    waveOutClose(device_);
    device_ = nullptr;
  }
  spare_.clear();
  blocks_.clear();
}

void Output::submit(Block& b) {
  b.seq = nextSeq_++;
  if (device_) {
    b.hdr.dwFlags &= ~WHDR_DONE;
    // A block the device refused counts as heard at once; the thread is woken
    // as the device would have woken it.
    if (waveOutWrite(device_, &b.hdr, sizeof(b.hdr)) != MMSYSERR_NOERROR) {
      b.hdr.dwFlags |= WHDR_DONE;
      SetEvent(blockDone_.get());
    }
  } else {
    clock_ = std::max(clock_, seconds()) + double(blockFrames_) / deviceRate_;
    b.deadline = clock_;
  }
  inFlight_.push_back(&b);
}

bool Output::heard(const Block& b) const {
  if (device_) return (b.hdr.dwFlags & WHDR_DONE) != 0;
  return (b.hdr.dwFlags & WHDR_DONE) != 0 || seconds() >= b.deadline;
}

// Answers and returned blocks wake the thread by their events. A request
// still unanswered after 5 ms is looked at again as before answers were
// waited for (a producer running late), and the stand-in clock without a
// device needs its deadline.
DWORD Output::waitMs() const {
  DWORD timeout = INFINITE;
  for (auto& [n, s] : streams_)
    if (s->outstanding) timeout = 5;
  if (!device_ && !inFlight_.empty()) {
    double left = inFlight_.front()->deadline - seconds();
    DWORD ms = left <= 0 ? 0 : static_cast<DWORD>(left * 1000) + 1;
    timeout = std::min(timeout, ms);
  }
  return timeout;
}

}  // namespace zvdsp
