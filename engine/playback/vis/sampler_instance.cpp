// One `insampler` instance: one 2048-frame wave-in buffer, queued again as
// soon as it has been turned into visualisation data.
#include "playback/vis/sampler_instance.h"

#include <windows.h>
#include <mmsystem.h>

#include <memory>

#include "foundation/diagnostics.h"
#include "playback/host/builtin_kinds.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_memory.h"
#include "zv_plugins.h"
#include "zv_vis.h"

namespace zv {
namespace {

constexpr int32_t kFrames = 2048;
constexpr int32_t kBytes = kFrames * 4;  // 16-bit stereo

struct BlockDeleter {
  void operator()(void* block) const { _mfree(block); }
};

class SamplerInstance : public KindInstance {
 public:
  SamplerInstance()
      : event_(CreateEventA(nullptr, FALSE, FALSE, nullptr)), buffer_(mallocex(kBytes, "InSampBuf")) {}
  ~SamplerInstance() override { stopRecording(); }

  HANDLE wakeHandle() override { return event_.get(); }
  void onWake() override { onEvent(); }

  void onMessage(const MSG& msg) override {
    switch (msg.message) {
      case msgSamplerStart: startRecording(); break;
      case msgSamplerStop: stopRecording(); break;
      case msgConfigChanged: applyKindPriority("insampler"); break;
      default: break;
    }
  }

 private:
  // Without a device sampling stays off; the next start simply tries again.
  void startRecording() {
    stopRecording();
    if (!buffer_) return;
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.nAvgBytesPerSec = 176400;
    format.nBlockAlign = 4;
    format.wBitsPerSample = 16;
    // "sampler_device" picks another input than the default one (-1).
    const UINT device = UINT(configInt("sampler_device", -1));
    MMRESULT r = waveInOpen(&waveIn_, device, &format, reinterpret_cast<DWORD_PTR>(event_.get()), 0, CALLBACK_EVENT);
    if (r != MMSYSERR_NOERROR) {
      waveIn_ = nullptr;
      debugWriteLinef("Sampler: no wave-in device (error %u)", unsigned(r));
      return;
    }
    header_ = {};
    header_.lpData = static_cast<LPSTR>(buffer_.get());
    header_.dwBufferLength = kBytes;
    if (waveInPrepareHeader(waveIn_, &header_, sizeof(header_)) != MMSYSERR_NOERROR ||
        waveInAddBuffer(waveIn_, &header_, sizeof(header_)) != MMSYSERR_NOERROR || waveInStart(waveIn_) != MMSYSERR_NOERROR) {
      debugWriteLine("Sampler: the wave-in device does not record");
      stopRecording();
    }
  }

  void stopRecording() {
    if (!waveIn_) return;
    waveInReset(waveIn_);
    if (header_.dwFlags & WHDR_PREPARED) waveInUnprepareHeader(waveIn_, &header_, sizeof(header_));
    waveInClose(waveIn_);
    waveIn_ = nullptr;
    header_ = {};
  }

  void onEvent() {
    if (!waveIn_ || !(header_.dwFlags & WHDR_DONE)) return;
    waveInUnprepareHeader(waveIn_, &header_, sizeof(header_));
    header_.dwFlags = 0;
    header_.dwBytesRecorded = 0;
    if (waveInPrepareHeader(waveIn_, &header_, sizeof(header_)) != MMSYSERR_NOERROR) return;
    prepareVis(44100, 16, 2, buffer_.get(), kFrames, getVisData());
    waveInAddBuffer(waveIn_, &header_, sizeof(header_));
  }

  UniqueKernelHandle event_;
  std::unique_ptr<void, BlockDeleter> buffer_;
  HWAVEIN waveIn_ = nullptr;
  WAVEHDR header_ = {};
};

}  // namespace

DWORD WINAPI samplerInstanceThread(void* startArgument) {
  return runKindInstance<SamplerInstance>(startArgument, "insampler");
}

}  // namespace zv
