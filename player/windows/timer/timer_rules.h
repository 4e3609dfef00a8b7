// The timer's arithmetic on local moments (day counts with fraction, day 0 =
// 30 December 1899): the target moment of a time of day, the "after" fields,
// the due tests, and the date and time texts of a scheduled start. "Now" is
// always passed in, so that the rules run on any clock.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "timer_record.h"

namespace zv::timer {

constexpr int kMinutesPerDay = 1440;
// The moments a date can have: 1 January 100 to 31 December 9999.
constexpr double kFirstMoment = -657434.0, kLastMoment = 2958466.0;
// Finite and inside those dates; a stored moment outside them cannot be
// turned into a date or a count of minutes.
bool validMoment(double moment);

// Into 0..1439.
int32_t wrapMinutes(int64_t minutes);

double momentOf(const SYSTEMTIME& local);
SYSTEMTIME localTimeOf(double moment);
// The minute of the day of a moment (0..1439).
int32_t minuteOfDay(double moment);

// Today's date plus `minutes`; one day later when the present minute of
// the day is past `minutes`. So the present minute gives a moment already
// reached (it fires at the next poll).
double targetMoment(double now, int32_t minutes);

// The "after" field of a time of day and back.
int32_t minutesAfter(int32_t time, double now);
int32_t timeAfter(int32_t after, double now);

// Due tests: an armed timer whose moment has come is disarmed and true is
// returned (the caller stores the record and acts).
bool offDue(TimerRecord& record, double now);
bool onDue(TimerRecord& record, double now);

// "add"'s texts of a moment: "dd/mm/yyyy" and "hh:mm".
std::string scheduleDate(double moment);
std::string scheduleTime(double moment);

// The system's clock (local time) as a moment.
double localNow();

}  // namespace zv::timer
