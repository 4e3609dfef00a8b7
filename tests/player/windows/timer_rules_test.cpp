// The timer's record and arithmetic on an injected clock.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "timer_record.h"
#include "timer_rules.h"
#include "windows_fixture.h"
#include "zv_config.h"

using namespace zv::timer;
using wtest::moment;

TEST(TimerRules, targetMoments) {
  struct Case {
    int hour, minute;  // now
    int32_t minutes;   // given
    int day, targetHour, targetMinute;
  } cases[] = {
      {23, 50, 10, 8, 0, 10},      // 23:50 for 00:10: the next day
      {23, 50, 23 * 60 + 50, 7, 23, 50},  // the present minute: today
      {23, 50, 23 * 60 + 51, 7, 23, 51},
      {0, 0, 0, 7, 0, 0},
      {12, 0, 11 * 60 + 59, 8, 11, 59},
      {12, 0, 1439, 7, 23, 59},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.hour) + ":" + std::to_string(c.minute) + " for " + std::to_string(c.minutes));
    const double target = targetMoment(moment(2026, 12, 7, c.hour, c.minute, 20), c.minutes);
    const SYSTEMTIME t = localTimeOf(target);
    EXPECT_EQ(t.wDay, c.day);
    EXPECT_EQ(t.wHour, c.targetHour);
    EXPECT_EQ(t.wMinute, c.targetMinute);
  }
  // Minutes beyond a day wrap: 1470 is 00:30, past at noon, so tomorrow.
  EXPECT_EQ(localTimeOf(targetMoment(moment(2026, 12, 7, 12, 0), 1470)).wDay, 8);
  // Across a month and a year.
  const SYSTEMTIME newYear = localTimeOf(targetMoment(moment(2026, 12, 31, 23, 50), 10));
  EXPECT_EQ(newYear.wYear, 2027);
  EXPECT_EQ(newYear.wMonth, 1);
  EXPECT_EQ(newYear.wDay, 1);
}

TEST(TimerRules, armingForThePresentMinuteIsDueAtTheNextPoll) {
  TimerRecord r{};
  r.offTime = 14 * 60 + 5;
  r.offArmed = 1;
  const double armedAt = moment(2026, 12, 7, 14, 5, 40);
  r.offMoment = targetMoment(armedAt, r.offTime);
  EXPECT_TRUE(offDue(r, armedAt + 5.0 / 86400));
  EXPECT_EQ(r.offArmed, 0);
  EXPECT_FALSE(offDue(r, armedAt + 10.0 / 86400));  // fired once
}

TEST(TimerRules, dueOnlyFromTheMoment) {
  TimerRecord r{};
  r.onArmed = 1;
  r.onMoment = moment(2026, 12, 8, 0, 10);
  EXPECT_FALSE(onDue(r, moment(2026, 12, 7, 23, 59, 59)));
  EXPECT_FALSE(onDue(r, moment(2026, 12, 8, 0, 9, 59)));
  EXPECT_EQ(r.onArmed, 1);
  EXPECT_TRUE(onDue(r, moment(2026, 12, 8, 0, 10, 0)));
  EXPECT_EQ(r.onArmed, 0);
  TimerRecord off{};
  off.offMoment = 1;  // disarmed: never due
  EXPECT_FALSE(offDue(off, moment(2030, 1, 1, 0, 0)));
}

TEST(TimerRules, afterFieldsWrapAroundTheDay) {
  const double now = moment(2026, 12, 7, 23, 50, 30);
  struct Case {
    int32_t time, after;
  } cases[] = {{23 * 60 + 50, 0}, {10, 20}, {23 * 60 + 49, 1439}, {0, 10}, {12 * 60, 730}};
  for (const Case& c : cases) {
    EXPECT_EQ(minutesAfter(c.time, now), c.after) << c.time;
    EXPECT_EQ(timeAfter(c.after, now), c.time) << c.after;
  }
  EXPECT_EQ(timeAfter(0, now), 23 * 60 + 50);  // "after" 0 shows the present time
  EXPECT_EQ(wrapMinutes(-1), 1439);
  EXPECT_EQ(wrapMinutes(2880 + 7), 7);
}

TEST(TimerRules, scheduleTexts) {
  const double m = moment(2027, 3, 4, 7, 5);
  EXPECT_EQ(scheduleDate(m), "04/03/2027");
  EXPECT_EQ(scheduleTime(m), "07:05");
  EXPECT_EQ(scheduleDate(moment(2026, 12, 31, 23, 59)), "31/12/2026");
  EXPECT_EQ(scheduleTime(moment(2026, 12, 31, 23, 59)), "23:59");
  // Day 0 is 30 December 1899.
  EXPECT_EQ(scheduleDate(0.0), "30/12/1899");
  EXPECT_DOUBLE_EQ(moment(1900, 1, 1, 12, 0), 2.5);
}

TEST(TimerRecord, layoutOfTheThirtyBytes) {
  TimerRecord r{};
  r.onTime = 0x0102;
  r.offTime = 0x0304;
  r.offMoment = 2.5;
  r.onMoment = 3.25;
  r.onArmed = 1;
  r.offArmed = 1;
  r.offAction = 3;
  uint8_t bytes[30];
  std::memcpy(bytes, &r, 30);
  EXPECT_EQ(bytes[0], 0x02);
  EXPECT_EQ(bytes[1], 0x01);
  EXPECT_EQ(bytes[4], 0x04);
  double d;
  std::memcpy(&d, bytes + 8, 8);
  EXPECT_EQ(d, 2.5);
  std::memcpy(&d, bytes + 16, 8);
  EXPECT_EQ(d, 3.25);
  EXPECT_EQ(bytes[24], 1);
  EXPECT_EQ(bytes[25], 1);
  EXPECT_EQ(bytes[26], 3);
}

TEST(TimerRecord, storedValuesAreMadeSafe) {
  wtest::ensureEngine();
  TimerRecord bad{};
  bad.onTime = 1500;
  bad.offTime = -30;
  bad.offMoment = std::numeric_limits<double>::quiet_NaN();
  bad.offArmed = 1;
  bad.onMoment = std::numeric_limits<double>::infinity();
  bad.onArmed = 9;
  bad.offAction = 7;
  setConfigRec("timer2", &bad, sizeof(bad));
  const TimerRecord r = loadTimerRecord();
  EXPECT_EQ(r.onTime, 60);
  EXPECT_EQ(r.offTime, 1410);
  EXPECT_EQ(r.offArmed, 0);
  EXPECT_EQ(r.onArmed, 0);
  EXPECT_EQ(r.offAction, 0);
  bad.offAction = -2;
  EXPECT_EQ(sanitized(bad).offAction, 0);
  // Finite moments beyond any date disarm too: their minutes fit no integer.
  for (double distant : {-8.01948e306, 1e300, 2958466.0, -657435.0}) {
    bad.offMoment = distant;
    bad.offArmed = 1;
    const TimerRecord safe = sanitized(bad);
    EXPECT_EQ(safe.offArmed, 0) << distant;
    EXPECT_EQ(safe.offMoment, 0) << distant;
  }
  bad.onMoment = 2958465.5;  // 31 December 9999, noon: still a date
  bad.onArmed = 1;
  EXPECT_EQ(sanitized(bad).onArmed, 1);
  EXPECT_EQ(scheduleDate(2958465.5), "31/12/9999");
  EXPECT_EQ(scheduleTime(2958465.5), "12:00");
  // The last minute of the dates does not round into the year 10000, and
  // the schedule texts of a moment that is no date hold at that minute.
  EXPECT_EQ(scheduleDate(2958465.9999999995), "31/12/9999");
  EXPECT_EQ(scheduleTime(2958465.9999999995), "23:59");
  EXPECT_EQ(scheduleDate(1e300), "31/12/9999");
  EXPECT_EQ(scheduleDate(-1e300), "01/01/0100");
  // A record of another size is absent: all zero.
  setConfigRec("timer2", &bad, 29);
  const TimerRecord absent = loadTimerRecord();
  EXPECT_EQ(absent.onTime, 0);
  EXPECT_EQ(absent.offAction, 0);
  EXPECT_EQ(absent.offArmed, 0);
}
