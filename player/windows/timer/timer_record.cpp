#include "timer_record.h"

#include "timer_rules.h"
#include "zv_config.h"

namespace zv::timer {

TimerRecord sanitized(const TimerRecord& stored) {
  TimerRecord r = stored;
  r.onTime = wrapMinutes(r.onTime);
  r.offTime = wrapMinutes(r.offTime);
  if (!validMoment(r.offMoment)) r.offMoment = 0, r.offArmed = 0;
  if (!validMoment(r.onMoment)) r.onMoment = 0, r.onArmed = 0;
  r.onArmed = r.onArmed ? 1 : 0;
  r.offArmed = r.offArmed ? 1 : 0;
  if (r.offAction < actionStop || r.offAction > actionShutdown) r.offAction = actionStop;
  return r;
}

TimerRecord loadTimerRecord() {
  TimerRecord r{};
  if (!configRec("timer2", &r, sizeof(r))) r = TimerRecord{};
  return sanitized(r);
}

void storeTimerRecord(const TimerRecord& record) { setConfigRec("timer2", &record, sizeof(record)); }

}  // namespace zv::timer
