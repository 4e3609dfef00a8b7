#include "timer_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zv::timer {
namespace {

// Days from 1970-01-01 of a civil date and back (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (month <= 2));
}

// 1899-12-30 counted from 1970-01-01.
constexpr int64_t kEpochShift = -25569;

// Whole minutes since day 0, rounded to the nearest, so that a moment made
// from a time of day reads back as exactly that minute. The result stays
// inside the dates (a moment outside them would not even fit an integer;
// one in the last minute must not round into the year 10000).
int64_t totalMinutes(double moment) {
  constexpr int64_t first = static_cast<int64_t>(kFirstMoment) * kMinutesPerDay;
  constexpr int64_t last = static_cast<int64_t>(kLastMoment) * kMinutesPerDay - 1;
  if (!validMoment(moment)) return moment > 0 ? last : first;
  return std::clamp(static_cast<int64_t>(std::floor(moment * kMinutesPerDay + 1e-6)), first, last);
}

}  // namespace

bool validMoment(double moment) { return std::isfinite(moment) && moment >= kFirstMoment && moment < kLastMoment; }

int32_t wrapMinutes(int64_t minutes) {
  const int64_t m = minutes % kMinutesPerDay;
  return static_cast<int32_t>(m < 0 ? m + kMinutesPerDay : m);
}

double momentOf(const SYSTEMTIME& t) {
  const int64_t days = daysFromCivil(t.wYear, t.wMonth, t.wDay) - kEpochShift;
  const double seconds = t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
  return static_cast<double>(days) + seconds / 86400.0;
}

SYSTEMTIME localTimeOf(double moment) {
  SYSTEMTIME t{};
  const int64_t minutes = totalMinutes(moment);
  const int64_t days = minutes / kMinutesPerDay - (minutes % kMinutesPerDay < 0 ? 1 : 0);
  int year = 0, month = 0, day = 0;
  civilFromDays(days + kEpochShift, year, month, day);
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  const int32_t ofDay = wrapMinutes(minutes);
  t.wHour = static_cast<WORD>(ofDay / 60);
  t.wMinute = static_cast<WORD>(ofDay % 60);
  return t;
}

int32_t minuteOfDay(double moment) { return wrapMinutes(totalMinutes(moment)); }

double targetMoment(double now, int32_t minutes) {
  minutes = wrapMinutes(minutes);
  double day = std::floor(now);
  if (minuteOfDay(now) > minutes) day += 1;
  return day + static_cast<double>(minutes) / kMinutesPerDay;
}

int32_t minutesAfter(int32_t time, double now) { return wrapMinutes(int64_t(time) - minuteOfDay(now)); }
int32_t timeAfter(int32_t after, double now) { return wrapMinutes(int64_t(after) + minuteOfDay(now)); }

bool offDue(TimerRecord& record, double now) {
  if (!record.offArmed || now < record.offMoment) return false;
  record.offArmed = 0;
  return true;
}

bool onDue(TimerRecord& record, double now) {
  if (!record.onArmed || now < record.onMoment) return false;
  record.onArmed = 0;
  return true;
}

std::string scheduleDate(double moment) {
  const SYSTEMTIME t = localTimeOf(moment);
  char text[32];
  std::snprintf(text, sizeof(text), "%-2.2d/%-2.2d/%-4.4d", t.wDay, t.wMonth, t.wYear);
  return text;
}

std::string scheduleTime(double moment) {
  const SYSTEMTIME t = localTimeOf(moment);
  char text[16];
  std::snprintf(text, sizeof(text), "%-2.2d:%-2.2d", t.wHour, t.wMinute);
  return text;
}

double localNow() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return momentOf(t);
}

}  // namespace zv::timer
