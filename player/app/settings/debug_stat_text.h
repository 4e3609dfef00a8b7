// The texts of the resources usage window: the memory page from two
// statistics records a second apart, and the thread list's tab stops.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "zv_memory.h"

namespace zv {

using MallocStat = std::array<int32_t, ZV_STAT_COUNT>;

// A line that starts with the character 1 is a heading.
inline constexpr char kHeadingMark = '\x01';

// The memory page: three headed groups with an empty line between them.
// Rates are the current record less the previous one (the first tick after
// opening compares with a record of zeros); "k" values are divided by 1024.
std::vector<std::string> memoryPageLines(const MallocStat& current, const MallocStat& previous,
                                         int64_t graphicsBufferBytes);

// The thread list's tab stops: each column the width of its sample text
// ("DDDDDDDD", "AAAAAAAAAAAAAAAA", "W", "100,00%", "100,00%") plus 8 pixels,
// added up from the left. `textWidth` measures in the list's font.
std::vector<int> threadTabStops(const std::function<int(const char*)>& textWidth);
inline constexpr int kMemoryTabStops[] = {110, 200};

// The text of debugGetThreadList split into its lines.
std::vector<std::string> splitLines(const std::string& text);

}  // namespace zv
