// The date and time texts that "add" receives, checked and turned into the
// local start boundary the task scheduler takes.
#pragma once
#include <optional>
#include <string>

namespace zv {

struct StartMoment {
  int day, month, year, hour, minute;
};

// Nullopt unless `date` is "d/m/yyyy" and `time` "h:m" with one- or
// two-digit fields (surrounding spaces allowed, as a left-justified field
// may leave them) naming a real calendar day and a time of day.
std::optional<StartMoment> parseStartMoment(const char* date, const char* time);

// "yyyy-mm-ddThh:mm:00": local time, no zone, as the scheduler's trigger reads it.
std::wstring startBoundary(const StartMoment& m);

}  // namespace zv
