// The timer's configuration record "timer2": 30 bytes, little-endian, no
// gaps. Moments are local dates as day counts with fraction (day 0 =
// 30 December 1899).
#pragma once
#include <cstddef>
#include <cstdint>

namespace zv::timer {

enum OffAction : int32_t { actionStop = 0, actionStandby = 1, actionHibernate = 2, actionShutdown = 3 };

#pragma pack(push, 1)
struct TimerRecord {
  int32_t onTime = 0;      // minutes after midnight of the on timer
  int32_t offTime = 0;     // minutes after midnight of the off timer
  double offMoment = 0;    // when the armed off timer fires
  double onMoment = 0;     // when the armed on timer fires
  uint8_t onArmed = 0;
  uint8_t offArmed = 0;
  int32_t offAction = 0;   // OffAction
};
#pragma pack(pop)
static_assert(sizeof(TimerRecord) == 30);
static_assert(offsetof(TimerRecord, offMoment) == 8);
static_assert(offsetof(TimerRecord, onMoment) == 16);
static_assert(offsetof(TimerRecord, onArmed) == 24);
static_assert(offsetof(TimerRecord, offArmed) == 25);
static_assert(offsetof(TimerRecord, offAction) == 26);

// A record as the timer can act on it: times taken modulo 1440, a moment
// that is not a finite number disarms its timer, an off action outside 0..3
// is "stop music only", armed flags are 0 or 1.
TimerRecord sanitized(const TimerRecord& stored);

// "timer2" from the configuration (all zero when absent or of another
// size), made safe; and back.
TimerRecord loadTimerRecord();
void storeTimerRecord(const TimerRecord& record);

}  // namespace zv::timer
