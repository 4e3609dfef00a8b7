// Small helpers for benchmarks: a steady clock, a way to run a body until
// enough time has passed, and one line of output per figure.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace zvbench {

// Seconds on a monotonic clock.
double now();

// Runs body(n) with growing n until one run takes at least minSeconds;
// returns the seconds per unit of n of that run.
double secondsPerItem(const std::function<void(int64_t n)>& body, double minSeconds = 0.2);

// Prints "name: value unit" on one line.
void report(const std::string& name, double value, const std::string& unit);

// Folder for files a benchmark writes (ZV_BENCH_DIR, else the temp folder).
std::string workDir();

// Writes `size` bytes as the whole file; false when it could not.
bool writeFile(const std::string& path, const void* data, size_t size);

// Removes a folder with everything in it (read-only files too).
void removeTree(const std::string& dir);

}  // namespace zvbench
