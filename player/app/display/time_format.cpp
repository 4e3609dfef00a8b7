#include "display/time_format.h"

#include <cctype>
#include <cstdio>

namespace zv {

const char kNoTime[] = "\x96\x96:\x96\x96";

namespace {

constexpr const char* kDefault = "%d:%.2d";

// Counts the conversions of a format; -1 when one is not an accepted form.
int countConversions(const std::string& f) {
  int count = 0;
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != '%') continue;
    if (++i >= f.size()) return -1;
    if (f[i] == '%') continue;
    if (f[i] == '0') ++i;
    if (i < f.size() && std::isdigit(static_cast<unsigned char>(f[i]))) ++i;
    if (i < f.size() && f[i] == '.') {
      ++i;
      if (i >= f.size() || !std::isdigit(static_cast<unsigned char>(f[i]))) return -1;
      ++i;
    }
    if (i >= f.size() || f[i] != 'd') return -1;
    ++count;
  }
  return count;
}

}  // namespace

std::string checkedTimeFormat(const std::string& f) {
  if (f.empty() || f.size() > 64) return kDefault;
  const int n = countConversions(f);
  return n >= 1 && n <= 3 ? f : kDefault;
}

std::string formatTime(const std::string& checkedFormat, int32_t ms) {
  if (ms < 0) ms = 0;
  const int seconds = ms / 1000;
  const std::string& f = checkedFormat;
  char text[160];
  switch (countConversions(f)) {
    case 1:
      std::snprintf(text, sizeof(text), f.c_str(), seconds / 60);
      break;
    case 2:
      std::snprintf(text, sizeof(text), f.c_str(), seconds / 60, seconds % 60);
      break;
    case 3:
      std::snprintf(text, sizeof(text), f.c_str(), seconds / 3600, (seconds / 60) % 60, seconds % 60);
      break;
    default:
      std::snprintf(text, sizeof(text), kDefault, seconds / 60, seconds % 60);
      break;
  }
  return text;
}

}  // namespace zv
