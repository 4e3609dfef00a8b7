#include "display/display_clock.h"

namespace zv {

int TrayAnimation::step(bool playing, const DisplayClock& clock) {
  if (playing) {
    current_ = current_ % 4 + 1;
    shown_ = current_;
  } else {
    shown_ = clock.blankHalf() ? 0 : current_;
  }
  return shown_;
}

}  // namespace zv
