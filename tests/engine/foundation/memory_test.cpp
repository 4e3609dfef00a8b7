// The engine memory manager through its exports: pool and heap placement,
// resizing, statistics, and many threads sharing the pool.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

#include "zv_memory.h"

namespace {

const ZvBlockHeader* header(const void* block) {
  return reinterpret_cast<const ZvBlockHeader*>(static_cast<const unsigned char*>(block) - sizeof(ZvBlockHeader));
}

int32_t stat(int index) { return debugGetMallocStat()[index]; }

bool allZero(const void* p, size_t n) {
  const unsigned char* b = static_cast<const unsigned char*>(p);
  for (size_t i = 0; i < n; ++i)
    if (b[i]) return false;
  return true;
}

}  // namespace

TEST(Memory, smallBlocksComeFromThePoolLargerFromTheHeap) {
  void* pooled = mallocex(104, "x");
  void* heaped = mallocex(105, "x");
  ASSERT_NE(pooled, nullptr);
  ASSERT_NE(heaped, nullptr);
  EXPECT_GE(header(pooled)->slot, 0);
  EXPECT_LT(header(pooled)->slot, 128);
  EXPECT_EQ(header(heaped)->slot, -1);
  EXPECT_EQ(_mgetsize(pooled), 104);
  EXPECT_EQ(_mgetsize(heaped), 105);
  EXPECT_TRUE(allZero(pooled, 104));
  EXPECT_TRUE(allZero(heaped, 105));
  _mfree(pooled);
  _mfree(heaped);
  EXPECT_EQ(mallocex(0, "x"), nullptr);
}

TEST(Memory, fullPoolSendsSmallRequestsToTheHeapAndSlotsAreDistinct) {
  std::vector<void*> blocks;
  std::set<int32_t> slots;
  for (int i = 0; i < 200; ++i) {
    void* b = mallocex(16, "fill");
    ASSERT_NE(b, nullptr);
    blocks.push_back(b);
    if (header(b)->slot < 0) break;
    EXPECT_TRUE(slots.insert(header(b)->slot).second) << "slot handed out twice";
  }
  EXPECT_EQ(header(blocks.back())->slot, -1) << "the pool never filled up";
  EXPECT_LE(slots.size(), 128u);
  for (void* b : blocks) _mfree(b);
  // Once freed, the first free slot in index order is used again.
  void* again = mallocex(16, "again");
  EXPECT_GE(header(again)->slot, 0);
  _mfree(again);
}

TEST(Memory, tagsAreCutAtFifteenCharacters) {
  void* b = mallocex(8, "abcdefghijklmnopqrstuvwxyz");
  EXPECT_STREQ(header(b)->tag, "abcdefghijklmno");
  void* r = mreallocex(b, 9, "");
  EXPECT_STREQ(header(r)->tag, "abcdefghijklmno") << "an empty tag keeps the old one";
  r = mreallocex(r, 10, "newtag");
  EXPECT_STREQ(header(r)->tag, "newtag");
  _mfree(r);
}

TEST(Memory, reallocKeepsPoolBlocksInPlaceAndMovesToHeapPreservingBytes) {
  unsigned char* b = static_cast<unsigned char*>(mallocex(50, "re"));
  for (int i = 0; i < 50; ++i) b[i] = static_cast<unsigned char>(i + 1);
  unsigned char* same = static_cast<unsigned char*>(_mrealloc(b, 80));
  EXPECT_EQ(same, b);
  EXPECT_EQ(_mgetsize(same), 80);
  EXPECT_TRUE(allZero(same + 50, 30));
  unsigned char* moved = static_cast<unsigned char*>(_mrealloc(same, 200));
  EXPECT_EQ(header(moved)->slot, -1);
  EXPECT_STREQ(header(moved)->tag, "re");
  for (int i = 0; i < 50; ++i) ASSERT_EQ(moved[i], i + 1);
  EXPECT_TRUE(allZero(moved + 50, 150));
  unsigned char* grown = static_cast<unsigned char*>(_mrealloc(moved, 5000));
  for (int i = 0; i < 50; ++i) ASSERT_EQ(grown[i], i + 1);
  EXPECT_TRUE(allZero(grown + 200, 4800));
  EXPECT_EQ(_mrealloc(grown, 0), nullptr);
  void* fresh = _mrealloc(nullptr, 10);
  EXPECT_EQ(_mgetsize(fresh), 10);
  _mfree(fresh);
}

TEST(Memory, poolBlockShrunkThenGrownShowsZeros) {
  unsigned char* b = static_cast<unsigned char*>(mallocex(100, "shrink"));
  std::memset(b, 0xAB, 100);
  b = static_cast<unsigned char*>(_mrealloc(b, 10));
  b = static_cast<unsigned char*>(_mrealloc(b, 100));
  EXPECT_TRUE(allZero(b + 10, 90));
  _mfree(b);
}

TEST(Memory, statisticsFollowEveryChange) {
  int32_t poolInUse = stat(ZV_STAT_POOL_IN_USE), poolBlocks = stat(ZV_STAT_POOL_BLOCKS);
  int32_t poolAllocs = stat(ZV_STAT_POOL_ALLOCS), poolReleases = stat(ZV_STAT_POOL_RELEASES);
  int32_t heapInUse = stat(ZV_STAT_HEAP_IN_USE), heapAllocated = stat(ZV_STAT_HEAP_ALLOCATED);
  int32_t heapFreed = stat(ZV_STAT_HEAP_FREED);

  void* p = mallocex(40, "s");
  EXPECT_EQ(stat(ZV_STAT_POOL_IN_USE), poolInUse + 40);
  EXPECT_EQ(stat(ZV_STAT_POOL_BLOCKS), poolBlocks + 1);
  EXPECT_EQ(stat(ZV_STAT_POOL_ALLOCS), poolAllocs + 1);
  EXPECT_GE(stat(ZV_STAT_POOL_PEAK), stat(ZV_STAT_POOL_IN_USE));
  EXPECT_GE(stat(ZV_STAT_POOL_BLOCKS_PEAK), stat(ZV_STAT_POOL_BLOCKS));
  p = _mrealloc(p, 60);
  EXPECT_EQ(stat(ZV_STAT_POOL_IN_USE), poolInUse + 60);
  _mfree(p);
  EXPECT_EQ(stat(ZV_STAT_POOL_IN_USE), poolInUse);
  EXPECT_EQ(stat(ZV_STAT_POOL_BLOCKS), poolBlocks);
  EXPECT_EQ(stat(ZV_STAT_POOL_RELEASES), poolReleases + 1);

  void* h = mallocex(1000, "s");
  EXPECT_EQ(stat(ZV_STAT_HEAP_IN_USE), heapInUse + 1000);
  EXPECT_EQ(stat(ZV_STAT_HEAP_ALLOCATED), heapAllocated + 1000);
  EXPECT_GE(stat(ZV_STAT_HEAP_PEAK), stat(ZV_STAT_HEAP_IN_USE));
  h = _mrealloc(h, 3000);
  EXPECT_EQ(stat(ZV_STAT_HEAP_IN_USE), heapInUse + 3000);
  EXPECT_EQ(stat(ZV_STAT_HEAP_ALLOCATED), heapAllocated + 4000);
  EXPECT_EQ(stat(ZV_STAT_HEAP_FREED), heapFreed + 1000);
  _mfree(h);
  EXPECT_EQ(stat(ZV_STAT_HEAP_IN_USE), heapInUse);
  EXPECT_EQ(stat(ZV_STAT_HEAP_FREED), heapFreed + 4000);

  int32_t before[ZV_STAT_COUNT];
  std::memcpy(before, debugGetMallocStat(), sizeof(before));
  _mfree(nullptr);
  EXPECT_EQ(std::memcmp(before, debugGetMallocStat(), sizeof(before)), 0);
  EXPECT_EQ(_mgetsize(nullptr), 0);
  EXPECT_EQ(_mdidalloc(), 1);
}

TEST(Memory, copiesAreOverlapSafeAndCounted) {
  char text[] = "0123456789";
  int32_t copied = stat(ZV_STAT_BYTES_COPIED);
  _memcpy(text + 2, text, 6);
  EXPECT_STREQ(text, "0101234589");
  _memcpy(text, text + 2, 6);
  EXPECT_STREQ(text, "0123454589");
  _memcpy(text, "zz", 0);
  EXPECT_STREQ(text, "0123454589");
  EXPECT_EQ(stat(ZV_STAT_BYTES_COPIED), copied + 12);

  char* s = strallocex("hello", "str");
  EXPECT_STREQ(s, "hello");
  EXPECT_EQ(_mgetsize(s), 6);
  const unsigned char raw[3] = {1, 0, 2};
  unsigned char* v = static_cast<unsigned char*>(_varalloc(raw, 3));
  EXPECT_EQ(std::memcmp(v, raw, 3), 0);
  _mfree(s);
  _mfree(v);
}

// Many threads claiming and releasing pool slots at once: each thread stamps
// its block with its own pattern and checks it before freeing, so a slot
// handed to two threads shows up as a damaged pattern.
TEST(Memory, manyThreadsNeverShareAPoolSlot) {
  constexpr int kThreads = 8, kRounds = 20000, kHeld = 12;
  int32_t poolBlocks = stat(ZV_STAT_POOL_BLOCKS), heapInUse = stat(ZV_STAT_HEAP_IN_USE);
  std::atomic<int> damaged{0}, nonZero{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      unsigned char* held[kHeld] = {};
      int sizes[kHeld] = {};
      unsigned seed = 12345u + static_cast<unsigned>(t);
      for (int r = 0; r < kRounds; ++r) {
        seed = seed * 1103515245u + 12345u;
        int k = static_cast<int>((seed >> 16) % kHeld);
        if (held[k]) {
          for (int i = 0; i < sizes[k]; ++i)
            if (held[k][i] != static_cast<unsigned char>(t + 1)) {
              ++damaged;
              break;
            }
          _mfree(held[k]);
          held[k] = nullptr;
        } else {
          sizes[k] = 1 + static_cast<int>((seed >> 8) % 104);
          held[k] = static_cast<unsigned char*>(mallocex(sizes[k], "mt"));
          if (!allZero(held[k], static_cast<size_t>(sizes[k]))) ++nonZero;
          std::memset(held[k], t + 1, static_cast<size_t>(sizes[k]));
        }
      }
      for (unsigned char* b : held) _mfree(b);
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(damaged.load(), 0);
  EXPECT_EQ(nonZero.load(), 0);
  EXPECT_EQ(stat(ZV_STAT_POOL_BLOCKS), poolBlocks);
  EXPECT_EQ(stat(ZV_STAT_HEAP_IN_USE), heapInUse);
}
