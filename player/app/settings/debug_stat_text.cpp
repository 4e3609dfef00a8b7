#include "settings/debug_stat_text.h"

#include <cstdio>

namespace zv {

namespace {

std::string format(const char* pattern, std::initializer_list<long long> values) {
  // At most five values a line; each one formatted in turn.
  std::string out;
  auto v = values.begin();
  for (const char* p = pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 'd' && v != values.end()) {
      out += std::to_string(*v++);
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace

std::vector<std::string> memoryPageLines(const MallocStat& c, const MallocStat& p, int64_t graphicsBufferBytes) {
  // Cumulative counters only grow; taken modulo 2^32 a counter that wrapped
  // between two ticks still gives its true change.
  auto d = [&](int i) {
    return static_cast<long long>(static_cast<uint32_t>(c[i]) - static_cast<uint32_t>(p[i]));
  };
  auto k = [](long long v) { return v / 1024; };
  return {
      std::string(1, kHeadingMark) + "Memory usage:",
      format("Allocated: %dk\tPeak: %dk", {k(c[ZV_STAT_HEAP_IN_USE]), k(c[ZV_STAT_HEAP_PEAK])}),
      format("Allocated/s: %dk\tFreed/s: %dk\tCopied/s: %dk",
             {k(d(ZV_STAT_HEAP_ALLOCATED)), k(d(ZV_STAT_HEAP_FREED)), k(d(ZV_STAT_BYTES_COPIED))}),
      "",
      std::string(1, kHeadingMark) + "Suballocator:",
      format("Allocated: %d [%d]\tPeak: %d [%d]", {c[ZV_STAT_POOL_IN_USE], c[ZV_STAT_POOL_BLOCKS],
                                                   c[ZV_STAT_POOL_PEAK], c[ZV_STAT_POOL_BLOCKS_PEAK]}),
      format("Allocated/s: %d [%d]\tFreed/s: %d [%d]\tMessages/s: %d",
             {d(ZV_STAT_POOL_ALLOCATED), d(ZV_STAT_POOL_ALLOCS), d(ZV_STAT_POOL_FREED), d(ZV_STAT_POOL_RELEASES),
              d(ZV_STAT_MESSAGES_POSTED)}),
      "",
      std::string(1, kHeadingMark) + "Graphics buffers",
      format("Mem used: %dk", {k(graphicsBufferBytes)}),
  };
}

std::vector<int> threadTabStops(const std::function<int(const char*)>& textWidth) {
  std::vector<int> stops;
  int x = 0;
  for (const char* sample : {"DDDDDDDD", "AAAAAAAAAAAAAAAA", "W", "100,00%", "100,00%"}) {
    x += textWidth(sample) + 8;
    stops.push_back(x);
  }
  return stops;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end;
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

}  // namespace zv
