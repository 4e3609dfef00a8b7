#include "linux_process_times.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "win32/owners.h"

namespace zvbench {
namespace {

// Linux's clock ticks per second for these counters (USER_HZ), 100 on every
// x86 kernel; sysconf cannot be asked from the Windows side.
constexpr double kTicksPerSecond = 100;

std::string readProcFile(const std::string& path) {
  zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               0, nullptr));
  if (!f) return {};
  std::string text;
  char chunk[4096];
  DWORD got = 0;
  // /proc files report no size: read until the end.
  while (ReadFile(f.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) text.append(chunk, got);
  return text;
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return s;
}

}  // namespace

std::optional<int> findLinuxProcess(const std::string& part1, const std::string& part2) {
  WIN32_FIND_DATAA fd;
  zv::UniqueFind find(FindFirstFileA("Z:\\proc\\*", &fd));
  if (!find) return std::nullopt;
  const std::string a = lower(part1), b = lower(part2);
  do {
    if (!std::isdigit(static_cast<unsigned char>(fd.cFileName[0]))) continue;
    std::string line = readProcFile(std::string("Z:\\proc\\") + fd.cFileName + "\\cmdline");
    std::replace(line.begin(), line.end(), '\0', ' ');
    std::replace(line.begin(), line.end(), '/', '\\');  // a Linux path as a Windows one
    line = lower(line);
    if (line.find(a) != std::string::npos && line.find(b) != std::string::npos) return std::atoi(fd.cFileName);
  } while (FindNextFileA(find.get(), &fd));
  return std::nullopt;
}

std::optional<double> linuxProcessSeconds(int pid) {
  const std::string stat = readProcFile("Z:\\proc\\" + std::to_string(pid) + "\\stat");
  // "pid (name) state ..." : the name may hold spaces and parentheses, so the
  // fields are counted from the last ")". utime and stime are fields 14 and 15,
  // the 12th and 13th after it.
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(stat.substr(close + 1));
  std::string field;
  unsigned long long utime = 0, stime = 0;
  for (int k = 1; k <= 13 && fields >> field; ++k) {
    if (k == 12) utime = std::strtoull(field.c_str(), nullptr, 10);
    if (k == 13) stime = std::strtoull(field.c_str(), nullptr, 10);
  }
  if (!fields) return std::nullopt;
  return double(utime + stime) / kTicksPerSecond;
}

}  // namespace zvbench
