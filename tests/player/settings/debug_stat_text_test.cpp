// The resources usage window's memory page and tab stops.
#include <gtest/gtest.h>

#include "settings/debug_stat_text.h"

using namespace zv;

namespace {

MallocStat record(std::initializer_list<int32_t> v) {
  MallocStat s{};
  int i = 0;
  for (int32_t x : v) s[i++] = x;
  return s;
}

TEST(DebugStatText, memoryPageHasTheFifteenValuesInOrder) {
  //                    alloc  freed  inUse  copied peak   pAlloc pFreed pInUse pPeak pAllocs pRel pBlk pBlkPk msgs
  const MallocStat prev = record({10240, 4096, 6144, 1024, 8192, 300, 100, 200, 250, 30, 10, 20, 25, 1000});
  const MallocStat cur = record({30720, 8192, 22528, 5120, 40960, 900, 400, 500, 600, 90, 40, 50, 60, 1450});
  const std::vector<std::string> expected = {
      "\x01Memory usage:",
      "Allocated: 22k\tPeak: 40k",
      "Allocated/s: 20k\tFreed/s: 4k\tCopied/s: 4k",
      "",
      "\x01Suballocator:",
      "Allocated: 500 [50]\tPeak: 600 [60]",
      "Allocated/s: 600 [60]\tFreed/s: 300 [30]\tMessages/s: 450",
      "",
      "\x01Graphics buffers",
      "Mem used: 3k",
  };
  EXPECT_EQ(memoryPageLines(cur, prev, 3 * 1024 + 1023), expected);
}

TEST(DebugStatText, firstTickComparesWithZerosSoRatesEqualTotals) {
  const MallocStat cur = record({2048, 1024, 1024, 3072, 1024, 64, 32, 32, 64, 4, 2, 2, 4, 7});
  const auto lines = memoryPageLines(cur, MallocStat{}, 0);
  EXPECT_EQ(lines[2], "Allocated/s: 2k\tFreed/s: 1k\tCopied/s: 3k");
  EXPECT_EQ(lines[6], "Allocated/s: 64 [4]\tFreed/s: 32 [2]\tMessages/s: 7");
}

TEST(DebugStatText, aCounterThatWrappedStillGivesItsChange) {
  MallocStat prev{}, cur{};
  prev[ZV_STAT_MESSAGES_POSTED] = 0x7ffffff0;
  cur[ZV_STAT_MESSAGES_POSTED] = static_cast<int32_t>(0x80000010u);
  EXPECT_EQ(memoryPageLines(cur, prev, 0)[6], "Allocated/s: 0 [0]\tFreed/s: 0 [0]\tMessages/s: 32");
}

TEST(DebugStatText, threadTabStopsAddUpSampleWidthsPlusEight) {
  auto width = [](const char* s) { return static_cast<int>(std::string(s).size()) * 5; };
  EXPECT_EQ(threadTabStops(width), (std::vector<int>{48, 136, 149, 192, 235}));
}

TEST(DebugStatText, threadListSplitsIntoLines) {
  EXPECT_EQ(splitLines("\x01ID\tName\n12\tdecode\r\n\x02" "7\tvis\n"),
            (std::vector<std::string>{"\x01ID\tName", "12\tdecode", "\x02" "7\tvis"}));
}

}  // namespace
