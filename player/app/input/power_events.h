// Suspend and resume (WM_POWERBROADCAST): playback stops before the machine
// sleeps and starts again after it wakes, when it was playing before.
#pragma once

namespace zv {

enum class PowerAction { none, stop, play };

class PowerResume {
 public:
  // `event` is the broadcast's wParam; `playIntent` the PlayIntent flag and
  // `playingNow` whether a stream plays at this moment.
  PowerAction onEvent(unsigned event, bool playIntent, bool playingNow);
  bool suspended() const { return suspended_; }

 private:
  bool suspended_ = false;
  bool wasPlaying_ = false;
};

}  // namespace zv
