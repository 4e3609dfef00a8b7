// The timer record "timer2" (loadTimerRecord): whatever 30 bytes the
// configuration holds, the record the timer acts on has its times inside a
// day, flags of 0 or 1, a known off action, and armed moments that the
// schedule texts and due tests take without overflow. Loading it again
// changes nothing.
#include <cmath>
#include <cstring>

#include "config_record.h"
#include "fuzz_check.h"
#include "timer_record.h"
#include "timer_rules.h"

using namespace zv::timer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zv::host::setStoredRecord(data, size);
  TimerRecord r = loadTimerRecord();
  if (size != sizeof(TimerRecord)) {
    TimerRecord none{};
    ZV_FUZZ_CHECK(std::memcmp(&r, &none, sizeof r) == 0);
  }
  ZV_FUZZ_CHECK(r.onTime >= 0 && r.onTime < kMinutesPerDay && r.offTime >= 0 && r.offTime < kMinutesPerDay);
  ZV_FUZZ_CHECK(r.onArmed <= 1 && r.offArmed <= 1);
  ZV_FUZZ_CHECK(r.offAction >= actionStop && r.offAction <= actionShutdown);
  ZV_FUZZ_CHECK(std::isfinite(r.onMoment) && std::isfinite(r.offMoment));
  TimerRecord again = sanitized(r);
  ZV_FUZZ_CHECK(std::memcmp(&again, &r, sizeof r) == 0);

  // What the timer window and the scheduler do with the record.
  const double now = 46023.5;  // a fixed "now": the rules take it as given
  for (double moment : {r.onMoment, r.offMoment}) {
    const SYSTEMTIME t = localTimeOf(moment);
    ZV_FUZZ_CHECK(t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= 31 && t.wHour < 24 && t.wMinute < 60);
    ZV_FUZZ_CHECK(scheduleDate(moment).size() <= 10 && scheduleTime(moment).size() == 5);
    ZV_FUZZ_CHECK(minuteOfDay(moment) >= 0 && minuteOfDay(moment) < kMinutesPerDay);
  }
  for (int32_t time : {r.onTime, r.offTime}) {
    const double target = targetMoment(now, time);
    ZV_FUZZ_CHECK(target >= std::floor(now) && target < std::floor(now) + 2);
    ZV_FUZZ_CHECK(minuteOfDay(target) == time);
    ZV_FUZZ_CHECK(timeAfter(minutesAfter(time, now), now) == time);
  }
  TimerRecord due = r;
  offDue(due, now);
  onDue(due, now);
  ZV_FUZZ_CHECK(due.onArmed <= r.onArmed && due.offArmed <= r.offArmed);
  return 0;
}
