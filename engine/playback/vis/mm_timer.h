// A periodic multimedia timer that sets an event: the clock of the
// visualisation threads. Stopped when the owner goes.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <utility>

namespace zv {

class PeriodicEventTimer {
 public:
  PeriodicEventTimer() = default;
  ~PeriodicEventTimer() { stop(); }
  PeriodicEventTimer(const PeriodicEventTimer&) = delete;
  PeriodicEventTimer& operator=(const PeriodicEventTimer&) = delete;

  // Sets `event` every `periodMs` (resolution 10 ms); false if the system refuses.
  bool start(HANDLE event, UINT periodMs) {
    stop();
    id_ = timeSetEvent(periodMs, 10, reinterpret_cast<LPTIMECALLBACK>(event), 0,
                       TIME_PERIODIC | TIME_CALLBACK_EVENT_SET);
    return id_ != 0;
  }
  void stop() {
    if (id_) timeKillEvent(std::exchange(id_, 0));
  }
  bool running() const { return id_ != 0; }

 private:
  UINT id_ = 0;
};

}  // namespace zv
