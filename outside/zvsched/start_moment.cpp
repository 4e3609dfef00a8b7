#include "start_moment.h"

#include <cstdio>
#include <cwchar>

namespace zv {

namespace {

// Reads up to `maxDigits` decimal digits after optional spaces; at least `minDigits`.
bool readNumber(const char*& p, int minDigits, int maxDigits, int& out) {
  while (*p == ' ') ++p;
  int n = 0, value = 0;
  while (n < maxDigits && *p >= '0' && *p <= '9') {
    value = value * 10 + (*p++ - '0');
    ++n;
  }
  while (*p == ' ') ++p;
  out = value;
  return n >= minDigits;
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int month, int year) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

}  // namespace

std::optional<StartMoment> parseStartMoment(const char* date, const char* time) {
  if (!date || !time) return std::nullopt;
  StartMoment m{};
  const char* p = date;
  if (!readNumber(p, 1, 2, m.day) || *p++ != '/') return std::nullopt;
  if (!readNumber(p, 1, 2, m.month) || *p++ != '/') return std::nullopt;
  if (!readNumber(p, 4, 4, m.year) || *p) return std::nullopt;
  p = time;
  if (!readNumber(p, 1, 2, m.hour) || *p++ != ':') return std::nullopt;
  if (!readNumber(p, 1, 2, m.minute) || *p) return std::nullopt;
  if (m.year < 1601 || m.month < 1 || m.month > 12) return std::nullopt;
  if (m.day < 1 || m.day > daysInMonth(m.month, m.year)) return std::nullopt;
  if (m.hour > 23 || m.minute > 59) return std::nullopt;
  return m;
}

std::wstring startBoundary(const StartMoment& m) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%04d-%02d-%02dT%02d:%02d:00", m.year, m.month, m.day, m.hour, m.minute);
  return text;
}

}  // namespace zv
