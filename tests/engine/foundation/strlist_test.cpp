// The string list through its exports: entry records, null entries, in-place
// and appended replacements, dead bytes and compaction, index growth and
// shrinking, reordering and copies.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "zv_containers.h"
#include "zv_memory.h"

namespace {

const char* tagOf(const void* block) {
  return reinterpret_cast<const ZvBlockHeader*>(static_cast<const char*>(block) - sizeof(ZvBlockHeader))->tag;
}

int32_t storedLength(hStrList l, int32_t offset) {
  int32_t n;
  std::memcpy(&n, l->storage + offset, 4);
  return n;
}

std::vector<std::string> texts(hStrList l) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < slCount(l); ++i) {
    const char* p = static_cast<const char*>(slGet(l, i));
    out.push_back(p ? p : "<null>");
  }
  return out;
}

hStrList listOf(std::initializer_list<const char*> items) {
  hStrList l = slAlloc();
  for (const char* t : items) slAdd(l, t);
  return l;
}

}  // namespace

TEST(StrList, newListHasItsInitialCapacitiesAndTags) {
  hStrList l = slAlloc();
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->count, 0);
  EXPECT_EQ(l->indexCapacity, 4096);
  EXPECT_EQ(l->storageCapacity, 20480);
  EXPECT_EQ(l->storageUsed, 0);
  EXPECT_EQ(l->deadBytes, 0);
  EXPECT_STREQ(tagOf(l), "hStrList");
  EXPECT_STREQ(tagOf(l->index), "slIndex");
  EXPECT_STREQ(tagOf(l->storage), "slStorage");
  EXPECT_EQ(_mgetsize(l->index), 16384);
  slFree(l);
}

TEST(StrList, entriesAreLengthPrefixedRecordsAppendedToStorage) {
  hStrList l = slAlloc();
  EXPECT_EQ(slAdd(l, "abc"), 0);
  EXPECT_EQ(slAddBuf(l, "\x01\x00\x02", 3), 1);
  EXPECT_EQ(l->index[0], 0);
  EXPECT_EQ(storedLength(l, 0), 4);
  EXPECT_EQ(std::memcmp(l->storage + 4, "abc", 4), 0);
  EXPECT_EQ(l->index[1], 8);
  EXPECT_EQ(l->storageUsed, 15);
  int32_t n = -1;
  const char* p = static_cast<const char*>(slGetBuf(l, 1, &n));
  ASSERT_EQ(n, 3);
  EXPECT_EQ(std::memcmp(p, "\x01\x00\x02", 3), 0);
  slFree(l);
}

TEST(StrList, nullAndEmptyEntriesDiffer) {
  hStrList l = slAlloc();
  slAdd(l, nullptr);
  slAddBuf(l, nullptr, 55);
  slAdd(l, "");
  EXPECT_EQ(slCount(l), 3);
  EXPECT_EQ(l->index[0], -1);
  EXPECT_EQ(l->index[1], -1);
  int32_t n = 9;
  EXPECT_EQ(slGetBuf(l, 0, &n), nullptr);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(slGet(l, 1), nullptr);
  const char* empty = static_cast<const char*>(slGetBuf(l, 2, &n));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(empty[0], 0);
  EXPECT_EQ(l->storageUsed, 5);
  slFree(l);
}

TEST(StrList, insertOutsideTheRangeAppendsAndRecordsNeverMove) {
  hStrList l = listOf({"a", "b"});
  EXPECT_EQ(slInsert(l, -1, "c"), 2);
  EXPECT_EQ(slInsert(l, slCount(l), "d"), 3);
  EXPECT_EQ(slInsert(l, 0, "z"), 0);
  EXPECT_EQ(slInsertBuf(l, 1, nullptr, 0), 1);
  EXPECT_EQ(texts(l), (std::vector<std::string>{"z", "<null>", "a", "b", "c", "d"}));
  // Records are appended whatever the position: "a" is still the first record.
  EXPECT_EQ(l->index[2], 0);
  EXPECT_EQ(l->index[0], 24);
  slFree(l);
}

TEST(StrList, setShorterRewritesInPlaceLongerAppends) {
  hStrList l = listOf({"hello", "x"});
  int32_t used = l->storageUsed;
  slSet(l, 0, "hi");
  EXPECT_EQ(l->storageUsed, used);
  EXPECT_EQ(l->index[0], 0);
  EXPECT_EQ(storedLength(l, 0), 3);
  EXPECT_EQ(l->deadBytes, 3);
  slSet(l, 1, "longer text");
  EXPECT_EQ(l->storageUsed, used + 12 + 4);
  EXPECT_EQ(l->deadBytes, 3 + 2 + 4);
  slSet(l, 0, nullptr);
  EXPECT_EQ(l->index[0], -1);
  EXPECT_EQ(l->deadBytes, 3 + 6 + 3 + 4);
  slSetBuf(l, 0, "q", 2);  // a null entry gets a new record
  EXPECT_EQ(texts(l), (std::vector<std::string>{"q", "longer text"}));
  slFree(l);
}

TEST(StrList, deletingPastOneStepOfDeadBytesCompactsOnce) {
  hStrList l = slAlloc();
  std::string text(994, 'x');  // records of 1000 bytes
  for (int i = 0; i < 40; ++i) slAdd(l, (text + std::to_string(i % 10)).c_str());
  for (int i = 0; i < 20; ++i) {
    slDelete(l, 0);
    EXPECT_EQ(l->deadBytes, (i + 1) * 1000) << i;  // 20000 bytes do not trigger it
  }
  slDelete(l, 0);  // 21000 > 20480
  EXPECT_EQ(l->deadBytes, 0);
  EXPECT_EQ(l->storageUsed, 19 * 1000);
  EXPECT_EQ(l->storageCapacity, 20480);
  EXPECT_EQ(l->index[0], 0);
  EXPECT_EQ(l->index[18], 18 * 1000);
  slDelete(l, 0);
  EXPECT_EQ(l->deadBytes, 1000);
  EXPECT_EQ(texts(l)[0], text + "2");
  slFree(l);
}

TEST(StrList, indexGrowsAndShrinksInSteps) {
  hStrList l = slAlloc();
  slAdd(l, "only");
  slDelete(l, 0);  // the last entry of a fresh list: the index shrinks to nothing
  EXPECT_EQ(l->indexCapacity, 0);
  EXPECT_EQ(slAdd(l, "again"), 0);
  EXPECT_EQ(l->indexCapacity, 4096);
  for (int i = 1; i < 4097; ++i) slAdd(l, nullptr);
  EXPECT_EQ(l->indexCapacity, 8192);
  slDelete(l, 4096);
  EXPECT_EQ(l->indexCapacity, 4096);
  EXPECT_EQ(texts(l)[0], "again");
  slDelete(l, 99999);  // refused
  EXPECT_EQ(slCount(l), 4096);
  slFree(l);
}

TEST(StrList, exchangeAndReorderMoveOnlyOffsets) {
  hStrList l = listOf({"0", "1", "2", "3", "4", "5"});
  int32_t used = l->storageUsed;
  const int32_t order[] = {4, 2, 3};
  slReorder(l, order, 2, 4);
  EXPECT_EQ(texts(l), (std::vector<std::string>{"0", "1", "4", "2", "3", "5"}));
  slExchange(l, 0, 5);
  EXPECT_EQ(texts(l), (std::vector<std::string>{"5", "1", "4", "2", "3", "0"}));
  EXPECT_EQ(l->storageUsed, used);
  EXPECT_EQ(storedLength(l, l->index[0]), 2);
  slFree(l);
}

TEST(StrList, clearRestoresInitialCapacities) {
  hStrList l = slAlloc();
  for (int i = 0; i < 5000; ++i) slAdd(l, "some text of moderate length");
  EXPECT_GT(l->indexCapacity, 4096);
  EXPECT_GT(l->storageCapacity, 20480);
  slClear(l);
  EXPECT_EQ(slCount(l), 0);
  EXPECT_EQ(l->indexCapacity, 4096);
  EXPECT_EQ(l->storageCapacity, 20480);
  EXPECT_EQ(l->storageUsed, 0);
  EXPECT_EQ(slAdd(l, "x"), 0);
  slFree(l);
}

TEST(StrList, copyIsExactAndIndependent) {
  hStrList src = listOf({"a", nullptr, "ccc"});
  slSet(src, 0, "b");  // leaves dead bytes behind
  hStrList dst = listOf({"old"});
  slCopy(dst, src);
  EXPECT_EQ(texts(dst), (std::vector<std::string>{"b", "<null>", "ccc"}));
  EXPECT_EQ(dst->deadBytes, src->deadBytes);
  EXPECT_EQ(dst->storageUsed, src->storageUsed);
  EXPECT_NE(dst->storage, src->storage);
  slSet(src, 2, "changed");
  EXPECT_EQ(texts(dst)[2], "ccc");
  slCopy(dst, dst);
  EXPECT_EQ(texts(dst), (std::vector<std::string>{"b", "<null>", "ccc"}));
  slFree(src);
  slFree(dst);
}

TEST(StrList, forcedCompactionPacksRecordsInEntryOrder) {
  hStrList l = listOf({"aa", "bbbb", "c"});
  const int32_t order[] = {2, 1, 0};
  slReorder(l, order, 0, 2);
  slSet(l, 1, nullptr);
  slCompact(l, 0);  // too few dead bytes
  EXPECT_EQ(l->index[0], 16);
  slCompact(l, 1);
  EXPECT_EQ(l->deadBytes, 0);
  EXPECT_EQ(l->index[0], 0);
  EXPECT_EQ(l->index[1], -1);
  EXPECT_EQ(l->index[2], 6);
  EXPECT_EQ(l->storageUsed, 6 + 7);
  EXPECT_EQ(texts(l), (std::vector<std::string>{"c", "<null>", "aa"}));
  slFree(l);
}

TEST(StrList, textsTakenFromTheListItselfSurviveGrowth) {
  hStrList l = slAlloc();
  std::string big(20000, 'q');
  slAdd(l, big.c_str());  // storage nearly full
  EXPECT_EQ(slAdd(l, static_cast<const char*>(slGet(l, 0))), 1);
  EXPECT_EQ(texts(l)[1], big);
  slSet(l, 0, "short");
  slSet(l, 0, static_cast<const char*>(slGet(l, 1)));  // longer: appended, storage grows
  EXPECT_EQ(texts(l)[0], big);
  EXPECT_EQ(slInsert(l, 0, static_cast<const char*>(slGet(l, 1))), 0);
  EXPECT_EQ(texts(l)[0], big);
  slFree(l);
}

TEST(StrList, deletingMostOfALargeListCompactsInProportion) {
  hStrList l = slAlloc();
  std::string text(96, 't');  // records of 101 bytes
  for (int i = 0; i < 20000; ++i) slAdd(l, text.c_str());
  int compactions = 0;
  int32_t lastDead = 0;
  while (slCount(l) > 100) {
    slDelete(l, slCount(l) / 2);
    if (l->deadBytes < lastDead) ++compactions;
    lastDead = l->deadBytes;
  }
  // A fixed 20480-byte threshold would compact about 98 times, each pass
  // copying the whole remaining storage.
  EXPECT_LT(compactions, 25);
  EXPECT_GT(compactions, 3);
  EXPECT_EQ(texts(l)[50], text);
  slFree(l);
}
