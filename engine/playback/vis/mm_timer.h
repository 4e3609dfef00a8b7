// A periodic multimedia timer that sets an event: the clock of the
// visualisation threads. Stopped when the owner goes.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include "win32/owners.h"

namespace zv {

class PeriodicEventTimer {
 public:
  // Sets `event` every `periodMs` (resolution 10 ms); false if the system refuses.
  bool start(HANDLE event, UINT periodMs) {
    stop();
    id_.reset(timeSetEvent(periodMs, 10, reinterpret_cast<LPTIMECALLBACK>(event), 0,
                           TIME_PERIODIC | TIME_CALLBACK_EVENT_SET));
    return running();
  }
  void stop() { id_.reset(); }
  bool running() const { return id_.valid(); }

 private:
  UniqueMmTimer id_;
};

}  // namespace zv
