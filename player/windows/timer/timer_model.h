// The timer as the player keeps it: the "timer2" record, the clock it is
// tested against, the scheduled start of the on timer, and the due tests the
// main window runs at start-up and every 5 seconds. The timer window edits
// it; it survives the window.
#pragma once
#include <functional>
#include <string>

#include "scheduler_port.h"
#include "timer_record.h"
#include "timer_rules.h"

namespace zv::timer {

class TimerModel {
 public:
  using Clock = std::function<double()>;
  // `program`: the launcher "<root>\zorvak.exe" that the scheduled start runs.
  TimerModel(Clock clock, SchedulerPort& scheduler, std::string program);

  void load() { record_ = loadTimerRecord(); }
  void store() const { storeTimerRecord(record_); }
  const TimerRecord& record() const { return record_; }
  double now() const { return clock_(); }

  // Start-up: both due tests once; a moment passed while the program was
  // not running disarms its timer without acting.
  void startUp();
  struct Due {
    bool stop = false;       // run "stop"
    int32_t action = 0;      // then count down to this action when > 0
    bool play = false;       // run "play"
  };
  // The 5-second poll.
  Due poll();

  // The window's edits. The on time changes only while the on timer is
  // disarmed; an armed off timer keeps its moment.
  void setOffTime(int32_t minutes);
  bool setOnTime(int32_t minutes);
  void armOff(bool on);
  // False when zvsched could not be loaded (the caller says so); the timer
  // is armed or disarmed all the same and still fires by polling.
  bool armOn(bool on);
  void setOffAction(int32_t action);

  // Called when a due test changed the record (an open window refreshes).
  std::function<void()> onChange;

 private:
  bool testOff();
  bool testOn();

  Clock clock_;
  SchedulerPort& scheduler_;
  std::string program_;
  TimerRecord record_{};
};

}  // namespace zv::timer
