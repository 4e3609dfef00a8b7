// The library's one output: the device, the stream table and the thread that
// mixes. Every public member takes the lock; the thread holds it while it
// mixes, never while it waits.
#pragma once
#include <windows.h>
// after windows.h
#include <mmsystem.h>

#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "equalizer.h"
#include "stream.h"
#include "sync.h"
#include "zvdsp.h"

namespace zvdsp {

// The parameters with every word in range (defaults where not).
ZvOutParams sanitized(const ZvOutParams& p);
ZvOutParams defaultParams();

class Output {
 public:
  static Output& instance();
  Output();
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  bool init();
  void free();
  ZvOutParams params();
  void setParams(const ZvOutParams& p);

  int32_t newStream(ZvStreamRec** rec);
  void clear(int32_t s);
  void fadeIn(int32_t s, int32_t ms, int32_t mode);
  void fadeOut(int32_t s, int32_t ms, int32_t mode);
  void closeStream(int32_t s);

  ZvEqualizer equalizer();
  void setEqualizer(const ZvEqualizer& b);
  int32_t filter(int32_t points, float* out);

 private:
  struct Credit {
    std::shared_ptr<Stream> stream;
    uint32_t generation;
    int32_t frames;
  };
  struct Block {
    WAVEHDR hdr{};
    std::vector<uint8_t> bytes;
    std::vector<Credit> credits;
    uint64_t seq = 0;
    uint64_t firstFrame = 0;  // position in everything written
    double deadline = 0;      // without a device: when it counts as heard
  };
  using VisPrepare = void(__stdcall*)(int32_t, int32_t, int32_t, const void*, int32_t, void*);
  using VisData = void*(__stdcall*)();

  static DWORD WINAPI threadEntry(void* self);
  void run();
  bool startLocked();
  std::shared_ptr<Stream> find(int32_t s);
  int64_t framesOf(int32_t ms) const;

  // Device (output_device.cpp).
  void openDevice();
  void closeDevice();
  void submit(Block& b);
  bool heard(const Block& b) const;
  DWORD waitMs() const;

  // Mixing (output_mix.cpp).
  void retireHeard();
  void collect(Stream& s);
  void request(Stream& s);
  void settle(Stream& s);
  bool wantsOutput() const;
  void mixInto(Block& b);
  void feedVis(uint64_t fromFrame);

  CRITICAL_SECTION lock_;
  ZvOutParams params_;
  Equalizer eq_;
  std::map<int32_t, std::shared_ptr<Stream>> streams_;  // by number
  std::vector<std::shared_ptr<Stream>> closing_;         // released, ramping down
  int32_t nextNumber_ = 0;

  UniqueKernelHandle thread_;
  UniqueKernelHandle wake_ = makeEvent();
  UniqueKernelHandle blockDone_ = makeEvent();
  bool quit_ = false;
  bool reopen_ = false;

  HWAVEOUT device_ = nullptr;
  int deviceRate_ = 44100, deviceBits_ = 16, deviceChannels_ = 2;
  int blockFrames_ = 1024;
  std::vector<std::unique_ptr<Block>> blocks_;
  std::deque<Block*> inFlight_;
  std::vector<Block*> spare_;
  uint64_t nextSeq_ = 1, heardSeq_ = 0;
  uint64_t written_ = 0;
  double clock_ = 0;  // end of the last block without a device, seconds
  std::vector<double> mix_;
  std::vector<HANDLE> waitHandles_;
  std::vector<std::shared_ptr<Stream>> waitStreams_;  // whose handles the thread waits on

  VisPrepare prepareVis_ = nullptr;
  VisData visData_ = nullptr;
  std::vector<int16_t> visRing_;  // last frames written, 16-bit stereo
  std::vector<int16_t> visScratch_;
};

}  // namespace zvdsp
