// The processor time of a process as Linux counts it, read from /proc through
// Wine's Z: drive. Under Wine GetProcessTimes answers zero for another
// process, but every Wine process is a Linux process, and its /proc/<pid>/stat
// counts the time of all its threads.
#pragma once
#include <optional>
#include <string>

namespace zvbench {

// The Linux pid of the first process whose command line (arguments joined by
// spaces, "/" read as "\\") contains both parts, ignoring case; nullopt when
// none.
std::optional<int> findLinuxProcess(const std::string& part1, const std::string& part2 = "");

// User plus system time of the Linux process `pid` in seconds (all its
// threads); nullopt when it is gone or /proc cannot be read.
std::optional<double> linuxProcessSeconds(int pid);

}  // namespace zvbench
