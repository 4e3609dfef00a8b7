// The main window's 250 ms tick and what falls on it: the title every tick,
// the time labels, the slider and the tray animation every 500 ms, the
// sleep-timer poll every 5 s, and the blinking of the position text and of
// the tray icon while stopped (2 s period, blank in the second half).
#pragma once
#include <cstdint>

namespace zv {

class DisplayClock {
 public:
  static constexpr uint32_t kTickMs = 250;

  // Adds one interval; call once per timer tick.
  void tick() { elapsed_ += kTickMs; }
  uint32_t elapsed() const { return elapsed_; }
  bool halfSecond() const { return elapsed_ % 500 == 0; }
  bool fiveSeconds() const { return elapsed_ % 5000 == 0; }
  // The second half of every 2 s period.
  bool blankHalf() const { return elapsed_ % 2000 >= 1000; }
  // The position text is blank in the second half while PlayIntent is off.
  bool positionBlank(bool playIntent) const { return !playIntent && blankHalf(); }

 private:
  uint32_t elapsed_ = 0;
};

// The tray icon's frames: 1 to 4 in turn while playing; while stopped the
// current frame and the still frame 0 take turns (2 s period).
class TrayAnimation {
 public:
  // Called every 500 ms with "trayAnim" on; the frame to show.
  int step(bool playing, const DisplayClock& clock);
  int frame() const { return shown_; }

 private:
  int current_ = 1;
  int shown_ = 1;
};

}  // namespace zv
