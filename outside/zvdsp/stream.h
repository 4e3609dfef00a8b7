// One output stream: the record shared with its producer, the sound it has
// delivered but not yet mixed, and its place in the play-out.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "fade.h"
#include "resampler.h"
#include "sync.h"
#include "zvdsp.h"

namespace zvdsp {

struct Stream {
  enum class State {
    Active,     // mixing what arrives, asking for more
    Finishing,  // all given (or faded out); waiting until it has been heard
    Idle,       // played out; waits for a clear or a fade-in
  };

  int32_t number = -1;
  ZvStreamRec rec{};
  UniqueKernelHandle needData = makeEvent();
  // Manual reset: the output thread waits for it among other handles and
  // takes the answer later under its lock (a wait that took an auto-reset
  // signal could not tell a clear in between whether the answer is stale).
  UniqueKernelHandle dataReady = makeManualEvent();
  std::vector<uint8_t> buffer;  // rec.buffer

  // Delivered sound in the device's rate and channel layout, -1..1.
  std::vector<double> fifo;
  size_t fifoRead = 0;  // in values, not frames
  std::unique_ptr<audioconv::Resampler> resampler;

  State state = State::Active;
  uint32_t generation = 0;  // bumped by each clear: older credits no longer count
  bool outstanding = false; // needData signalled, dataReady not yet seen
  bool endSeen = false;     // the producer answered with 0 bytes
  bool started = false;     // sound has arrived since the last clear
  Fade fade;
  uint64_t lastSeq = 0;     // last device block holding its sound
  uint64_t finishSeq = 0;   // played out once this block has been heard

  bool closing = false;     // released by its producer: ramping down
  int64_t rampLeft = 0, rampTotal = 0;

  size_t fifoValues() const { return fifo.size() - fifoRead; }
  void dropFifo() {
    fifo.clear();
    fifoRead = 0;
  }
};

}  // namespace zvdsp
