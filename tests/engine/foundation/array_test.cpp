// The dynamic array through its exports: growth and shrinking steps, insert
// and delete semantics, copies, reordering, and items taken from the array
// itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "zv_containers.h"
#include "zv_memory.h"

namespace {

const char* tagOf(const void* block) {
  return reinterpret_cast<const ZvBlockHeader*>(static_cast<const char*>(block) - sizeof(ZvBlockHeader))->tag;
}

struct Item {
  int32_t a;
  int32_t b;
  int32_t c;
};

std::vector<int32_t> ints(hArray a) {
  std::vector<int32_t> out;
  for (int32_t i = 0; i < aCount(a); ++i) out.push_back(*static_cast<int32_t*>(aGet(a, i)));
  return out;
}

hArray intsArray(std::initializer_list<int32_t> values) {
  hArray a = aAlloc(4);
  for (int32_t v : values) aAdd(a, &v);
  return a;
}

}  // namespace

TEST(Array, newArrayHasOneStepOfBufferAndItsTags) {
  hArray a = aAlloc(sizeof(Item));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->itemSize, 12);
  EXPECT_EQ(a->usedBytes, 0);
  EXPECT_EQ(a->capacityBytes, 20480);
  EXPECT_EQ(aCount(a), 0);
  EXPECT_STREQ(tagOf(a), "hArray");
  EXPECT_EQ(_mgetsize(a->data), 20480);
  aFree(a);
  EXPECT_EQ(aAlloc(0), nullptr);
}

TEST(Array, addCopiesByValueAndReturnsTheIndex) {
  hArray a = aAlloc(sizeof(Item));
  Item x = {1, 2, 3};
  EXPECT_EQ(aAdd(a, &x), 0);
  x.a = 7;
  EXPECT_EQ(aAdd(a, &x), 1);
  EXPECT_EQ(static_cast<Item*>(aGet(a, 0))->a, 1);
  EXPECT_EQ(static_cast<Item*>(aGet(a, 1))->a, 7);
  EXPECT_EQ(static_cast<Item*>(aGet(a, 1))->c, 3);
  EXPECT_EQ(aGet(a, 1), static_cast<char*>(a->data) + 12);
  aFree(a);
}

TEST(Array, insertOutsideTheRangeAppendsAndAtZeroMovesEverythingUp) {
  hArray a = intsArray({10, 11, 12});
  int32_t v = 99;
  EXPECT_EQ(aInsert(a, -1, &v), 3);
  v = 98;
  EXPECT_EQ(aInsert(a, aCount(a), &v), 4);
  v = 5;
  EXPECT_EQ(aInsert(a, 0, &v), 0);
  v = 6;
  EXPECT_EQ(aInsert(a, 2, &v), 2);
  EXPECT_EQ(ints(a), (std::vector<int32_t>{5, 10, 6, 11, 12, 99, 98}));
  aFree(a);
}

TEST(Array, growsAndShrinksInStepsOf20480Bytes) {
  hArray a = aAlloc(4);
  for (int32_t i = 0; i < 5120; ++i) aAdd(a, &i);
  EXPECT_EQ(a->capacityBytes, 20480);
  int32_t v = 5120;
  aAdd(a, &v);
  EXPECT_EQ(a->capacityBytes, 40960);
  aDelete(a, 0);  // a whole step free again
  EXPECT_EQ(a->capacityBytes, 20480);
  EXPECT_EQ(aCount(a), 5120);
  EXPECT_EQ(*static_cast<int32_t*>(aGet(a, 0)), 1);
  EXPECT_EQ(*static_cast<int32_t*>(aGet(a, 5119)), 5120);
  aDelete(a, 0);
  EXPECT_EQ(a->capacityBytes, 20480);
  while (aCount(a) > 0) aDelete(a, aCount(a) - 1);
  EXPECT_EQ(a->capacityBytes, 0);
  EXPECT_EQ(a->data, nullptr);
  v = 1;
  EXPECT_EQ(aAdd(a, &v), 0);  // the next add allocates anew
  EXPECT_EQ(a->capacityBytes, 20480);
  aFree(a);
}

TEST(Array, largeBuffersGrowByAQuarterSoBuildingStaysLinear) {
  hArray a = aAlloc(4);
  int32_t last = 0;
  int32_t growths = 0;
  for (int32_t i = 0; i < 1000000; ++i) {
    aAdd(a, &i);
    if (a->capacityBytes != last) {
      ++growths;
      if (last >= 8 * 20480) {
        EXPECT_GE(a->capacityBytes - last, last / 4 - 20480);
      }
      EXPECT_EQ(a->capacityBytes % 20480, 0);
      last = a->capacityBytes;
    }
  }
  // Fixed steps alone would take 196 growths for 4 MB.
  EXPECT_LT(growths, 30);
  EXPECT_EQ(*static_cast<int32_t*>(aGet(a, 999999)), 999999);
  // Large buffers give memory back only once half of them is free.
  int32_t before = a->capacityBytes;
  while (aCount(a) > 900000) aDelete(a, aCount(a) - 1);
  EXPECT_EQ(a->capacityBytes, before);
  while (aCount(a) > 100000) aDelete(a, aCount(a) - 1);
  EXPECT_LT(a->capacityBytes, 800000 + 20480);
  EXPECT_EQ(ints(a).back(), 99999);
  aFree(a);
}

TEST(Array, deleteOutOfRangeChangesNothing) {
  hArray a = intsArray({1, 2, 3});
  aDelete(a, -1);
  aDelete(a, 3);
  EXPECT_EQ(ints(a), (std::vector<int32_t>{1, 2, 3}));
  aDelete(a, 1);
  EXPECT_EQ(ints(a), (std::vector<int32_t>{1, 3}));
  aFree(a);
}

TEST(Array, reallocSetsTheCountAndCapacityExactly) {
  hArray a = intsArray({1, 2, 3, 4});
  aRealloc(a, 2);
  EXPECT_EQ(a->usedBytes, 8);
  EXPECT_EQ(a->capacityBytes, 8);
  EXPECT_EQ(ints(a), (std::vector<int32_t>{1, 2}));
  aRealloc(a, 3);
  EXPECT_EQ(ints(a), (std::vector<int32_t>{1, 2, 0}));
  aRealloc(a, 0);
  EXPECT_EQ(a->data, nullptr);
  EXPECT_EQ(a->capacityBytes, 0);
  int32_t v = 42;
  EXPECT_EQ(aAdd(a, &v), 0);
  EXPECT_EQ(a->capacityBytes, 20480);
  EXPECT_EQ(ints(a), (std::vector<int32_t>{42}));
  aFree(a);
}

TEST(Array, clearKeepsTheItemSize) {
  hArray a = intsArray({1, 2});
  aClear(a);
  EXPECT_EQ(a->data, nullptr);
  EXPECT_EQ(a->usedBytes, 0);
  EXPECT_EQ(a->capacityBytes, 0);
  EXPECT_EQ(a->itemSize, 4);
  int32_t v = 3;
  aAdd(a, &v);
  EXPECT_EQ(ints(a), (std::vector<int32_t>{3}));
  aFree(a);
}

TEST(Array, copyTakesSizesAndElementsAndIsIndependent) {
  hArray src = intsArray({4, 5, 6});
  hArray dst = aAlloc(12);
  aCopy(dst, src);
  EXPECT_EQ(dst->itemSize, 4);
  EXPECT_EQ(dst->capacityBytes, src->capacityBytes);
  EXPECT_NE(dst->data, src->data);
  EXPECT_EQ(ints(dst), (std::vector<int32_t>{4, 5, 6}));
  *static_cast<int32_t*>(aGet(src, 0)) = 9;
  EXPECT_EQ(ints(dst)[0], 4);
  aCopy(dst, dst);  // a copy onto itself keeps everything
  EXPECT_EQ(ints(dst), (std::vector<int32_t>{4, 5, 6}));
  aFree(src);
  aFree(dst);
}

TEST(Array, reorderReadsEverySourceFromTheOldOrder) {
  hArray a = intsArray({0, 1, 2, 3, 4, 5});
  const int32_t order[] = {4, 2, 3};
  aReorder(a, order, 2, 4);
  EXPECT_EQ(ints(a), (std::vector<int32_t>{0, 1, 4, 2, 3, 5}));
  const int32_t reverse[] = {5, 4, 3, 2, 1, 0};
  aReorder(a, reverse, 0, 5);
  EXPECT_EQ(ints(a), (std::vector<int32_t>{5, 3, 2, 4, 1, 0}));
  const int32_t selection[] = {0, 0};
  aReorder(a, selection, 4, 5);
  EXPECT_EQ(ints(a), (std::vector<int32_t>{5, 3, 2, 4, 5, 5}));
  void* before = a->data;
  aReorder(a, nullptr, 3, 2);  // nothing moves
  EXPECT_EQ(ints(a), (std::vector<int32_t>{5, 3, 2, 4, 5, 5}));
  EXPECT_NE(a->data, nullptr);
  (void)before;
  aFree(a);
}

TEST(Array, itemsTakenFromTheArrayItselfSurviveGrowthAndMoves) {
  hArray a = aAlloc(4);
  for (int32_t i = 0; i < 5120; ++i) aAdd(a, &i);  // exactly full
  EXPECT_EQ(aAdd(a, aGet(a, 7)), 5120);            // grows: the buffer moves
  EXPECT_EQ(*static_cast<int32_t*>(aGet(a, 5120)), 7);
  EXPECT_EQ(aInsert(a, 0, aGet(a, 5)), 0);  // the source moves up on insertion
  EXPECT_EQ(*static_cast<int32_t*>(aGet(a, 0)), 5);
  EXPECT_EQ(*static_cast<int32_t*>(aGet(a, 6)), 5);
  aFree(a);
}
