// The serialised forms of arrays and string lists in real files: the bytes
// written, read-back, and files that are truncated or lie about their sizes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "testkit.h"
#include "win32/owners.h"
#include "zv_containers.h"

namespace {

using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(uint32_t(v) >> (8 * i)));
}
void putText(Bytes& b, const char* s, size_t n) { b.insert(b.end(), s, s + n); }

struct File {
  zv::UniqueFile owner;
  HANDLE h;
  explicit File(const std::string& path, bool write)
      : owner(CreateFileA(path.c_str(), write ? GENERIC_WRITE | GENERIC_READ : GENERIC_READ, 0, nullptr,
                          write ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr)),
        h(owner.get()) {}
  int64_t position() const {
    LARGE_INTEGER zero{}, pos{};
    SetFilePointerEx(h, zero, &pos, FILE_CURRENT);
    return pos.QuadPart;
  }
};

std::string path(const char* name) { return zvtest::testDir() + "\\" + name; }

std::vector<std::string> texts(hStrList l) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < slCount(l); ++i) {
    const char* p = static_cast<const char*>(slGet(l, i));
    out.push_back(p ? p : "<null>");
  }
  return out;
}

// A list in the written form, built by hand: count, index capacity, bytes
// used, storage capacity, offsets, records.
Bytes listBytes() {
  Bytes b;
  put32(b, 3);
  put32(b, 4096);
  put32(b, 4 + 2 + 4 + 4);
  put32(b, 20480);
  put32(b, 0);
  put32(b, -1);
  put32(b, 6);
  put32(b, 2);
  putText(b, "a", 2);
  put32(b, 4);
  putText(b, "xyz", 4);
  return b;
}

}  // namespace

TEST(ContainerFile, arrayWritesCountItemSizeAndElements) {
  hArray a = aAlloc(6);
  aAdd(a, "abcdef");
  aAdd(a, "ghijkl");
  std::string p = path("array.bin");
  {
    File f(p, true);
    ASSERT_EQ(aWrite(a, f.h), ZV_TRUE);
    EXPECT_EQ(f.position(), 8 + 12);
  }
  Bytes want;
  put32(want, 2);
  put32(want, 6);
  putText(want, "abcdefghijkl", 12);
  EXPECT_EQ(zvtest::readFile(p), want);
  aFree(a);
}

TEST(ContainerFile, arrayReadAdoptsTheStoredItemSize) {
  Bytes b;
  put32(b, 3);
  put32(b, 2);
  putText(b, "aabbcc", 6);
  std::string p = path("array2.bin");
  ASSERT_TRUE(zvtest::writeFile(p, b.data(), b.size()));
  hArray a = aAlloc(28);
  File f(p, false);
  EXPECT_EQ(aRead(a, f.h), ZV_TRUE);
  EXPECT_EQ(a->itemSize, 2);
  EXPECT_EQ(aCount(a), 3);
  EXPECT_EQ(a->capacityBytes, 6);
  EXPECT_EQ(std::memcmp(aGet(a, 2), "cc", 2), 0);
  EXPECT_EQ(f.position(), 14);
  aFree(a);
}

TEST(ContainerFile, listWriteCompactsAndMatchesTheLayout) {
  hStrList l = slAlloc();
  slAdd(l, "gone");
  slAdd(l, "a");
  slAdd(l, nullptr);
  slAdd(l, "xyz");
  slDelete(l, 0);
  slExchange(l, 1, 2);  // a, xyz, null
  slExchange(l, 1, 2);  // back: a, null, xyz
  std::string p = path("list.bin");
  {
    File f(p, true);
    ASSERT_EQ(slWrite(l, f.h), ZV_TRUE);
  }
  EXPECT_EQ(zvtest::readFile(p), listBytes());
  slFree(l);
}

TEST(ContainerFile, listReadsBackWithNullEntriesAndLeavesThePositionBehindIt) {
  std::string p = path("two.bin");
  Bytes b = listBytes();
  Bytes twice = b;
  twice.insert(twice.end(), b.begin(), b.end());
  ASSERT_TRUE(zvtest::writeFile(p, twice.data(), twice.size()));
  hStrList l = slAlloc();
  hStrList m = slAlloc();
  slAdd(l, "previous");
  File f(p, false);
  EXPECT_EQ(slRead(l, f.h), ZV_TRUE);
  EXPECT_EQ(f.position(), int64_t(b.size()));
  EXPECT_EQ(slRead(m, f.h), ZV_TRUE);
  EXPECT_EQ(texts(l), (std::vector<std::string>{"a", "<null>", "xyz"}));
  EXPECT_EQ(texts(m), texts(l));
  EXPECT_EQ(l->indexCapacity, 4096);
  EXPECT_EQ(l->storageCapacity, 20480);
  EXPECT_EQ(l->deadBytes, 0);
  slAdd(l, "more");  // the list goes on working after a read
  EXPECT_EQ(texts(l)[3], "more");
  slFree(l);
  slFree(m);
}

TEST(ContainerFile, truncatedFilesAreRefusedAndLeaveEmptyContainers) {
  Bytes list = listBytes();
  Bytes array;
  put32(array, 2);
  put32(array, 4);
  put32(array, 7);
  put32(array, 8);
  std::string p = path("cut.bin");
  for (size_t n = 0; n < list.size(); ++n) {
    ASSERT_TRUE(zvtest::writeFile(p, list.data(), n));
    hStrList l = slAlloc();
    slAdd(l, "before");
    File f(p, false);
    EXPECT_EQ(slRead(l, f.h), ZV_FALSE) << n;
    EXPECT_EQ(slCount(l), 0) << n;
    EXPECT_EQ(slAdd(l, "after"), 0);
    slFree(l);
  }
  for (size_t n = 0; n < array.size(); ++n) {
    ASSERT_TRUE(zvtest::writeFile(p, array.data(), n));
    hArray a = aAlloc(4);
    int32_t v = 1;
    aAdd(a, &v);
    File f(p, false);
    EXPECT_EQ(aRead(a, f.h), ZV_FALSE) << n;
    EXPECT_EQ(aCount(a), 0) << n;
    aFree(a);
  }
}

TEST(ContainerFile, listsThatLieAboutTheirSizesAreRefused) {
  struct Case {
    const char* what;
    int field;  // int32 index into listBytes()
    int32_t value;
  };
  const Case cases[] = {
      {"negative count", 0, -1},
      {"count beyond the index capacity", 0, 5000},
      {"count beyond the file", 1, 0x7fffffff},  // with the next row's count
      {"bytes used beyond the storage capacity", 2, 30000},
      {"bytes used beyond the file", 3, 0x7fff0000},
      {"offset past the storage", 4, 14},
      {"negative offset other than -1", 5, -2},
      {"record running past the storage", 6, 8},
      // Entries sharing a record add up to more than the storage holds;
      // the compaction before a write would copy them past its end.
      {"two entries sharing one record", 5, 0},
  };
  std::string p = path("lying.bin");
  for (const Case& c : cases) {
    Bytes b = listBytes();
    std::memcpy(&b[c.field * 4], &c.value, 4);
    if (c.field == 1) {
      int32_t count = 100000000;
      std::memcpy(&b[0], &count, 4);
    }
    if (c.field == 3) {
      int32_t used = 0x7fff0000;
      std::memcpy(&b[8], &used, 4);
    }
    ASSERT_TRUE(zvtest::writeFile(p, b.data(), b.size()));
    hStrList l = slAlloc();
    File f(p, false);
    EXPECT_EQ(slRead(l, f.h), ZV_FALSE) << c.what;
    EXPECT_EQ(slCount(l), 0) << c.what;
    slFree(l);
  }
  // A record length that is negative.
  Bytes b = listBytes();
  int32_t negative = -5;
  std::memcpy(&b[8 * 4], &negative, 4);
  ASSERT_TRUE(zvtest::writeFile(p, b.data(), b.size()));
  hStrList l = slAlloc();
  File f(p, false);
  EXPECT_EQ(slRead(l, f.h), ZV_FALSE);
  slFree(l);
}

TEST(ContainerFile, absurdCapacitiesAreCutDownNotAllocated) {
  Bytes b = listBytes();
  int32_t huge = 0x7ff00000;
  std::memcpy(&b[4], &huge, 4);   // index capacity
  std::memcpy(&b[12], &huge, 4);  // storage capacity
  std::string p = path("capacity.bin");
  ASSERT_TRUE(zvtest::writeFile(p, b.data(), b.size()));
  hStrList l = slAlloc();
  File f(p, false);
  EXPECT_EQ(slRead(l, f.h), ZV_TRUE);
  EXPECT_EQ(texts(l), (std::vector<std::string>{"a", "<null>", "xyz"}));
  EXPECT_LE(l->indexCapacity, 3 + 4096);
  EXPECT_LE(l->storageCapacity, 14 + 20480);
  slFree(l);
}

TEST(ContainerFile, arraysThatLieAboutTheirSizesAreRefused) {
  struct Case {
    const char* what;
    int32_t count, itemSize;
  };
  const Case cases[] = {
      {"negative count", -1, 4},
      {"zero item size", 2, 0},
      {"negative item size", 2, -4},
      {"size overflowing 32 bits", 0x10000, 0x10000},
      {"more elements than the file holds", 3, 4},
  };
  std::string p = path("lyingarray.bin");
  for (const Case& c : cases) {
    Bytes b;
    put32(b, c.count);
    put32(b, c.itemSize);
    put32(b, 1);
    put32(b, 2);
    ASSERT_TRUE(zvtest::writeFile(p, b.data(), b.size()));
    hArray a = aAlloc(4);
    File f(p, false);
    EXPECT_EQ(aRead(a, f.h), ZV_FALSE) << c.what;
    EXPECT_EQ(aCount(a), 0) << c.what;
    aFree(a);
  }
}

TEST(ContainerFile, aLargeListRoundTripsThroughAFile) {
  hStrList l = slAlloc();
  for (int i = 0; i < 30000; ++i) slAdd(l, i % 7 == 0 ? nullptr : ("entry " + std::to_string(i)).c_str());
  for (int i = 0; i < 30000; i += 3) slSet(l, i, ("changed " + std::to_string(i)).c_str());
  std::string p = path("large.bin");
  {
    File f(p, true);
    ASSERT_EQ(slWrite(l, f.h), ZV_TRUE);
  }
  EXPECT_LT(l->storageCapacity - l->storageUsed, 20480);
  hStrList back = slAlloc();
  File f(p, false);
  ASSERT_EQ(slRead(back, f.h), ZV_TRUE);
  EXPECT_EQ(texts(back), texts(l));
  slFree(l);
  slFree(back);
}

TEST(ContainerFile, listsOfMoreThan32768EntriesRoundTrip) {
  // Counts and offsets past every 16-bit boundary: entry numbers, the index
  // capacity and the storage offsets are 32-bit in the file.
  for (int32_t count : {32768, 32769, 65537}) {
    SCOPED_TRACE(count);
    hStrList l = slAlloc();
    for (int32_t i = 0; i < count; ++i)
      slAdd(l, i % 1000 == 999 ? nullptr : ("entry number " + std::to_string(i)).c_str());
    ASSERT_EQ(slCount(l), count);
    std::string p = path("over32768.bin");
    {
      File f(p, true);
      ASSERT_EQ(slWrite(l, f.h), ZV_TRUE);
    }
    Bytes head = zvtest::readFile(p);
    ASSERT_GE(head.size(), 16u);
    int32_t stored = 0;
    std::memcpy(&stored, head.data(), 4);
    EXPECT_EQ(stored, count);
    hStrList back = slAlloc();
    {
      File f(p, false);
      ASSERT_EQ(slRead(back, f.h), ZV_TRUE);
      EXPECT_EQ(f.position(), int64_t(head.size())) << "the whole list was read";
    }
    ASSERT_EQ(slCount(back), count);
    for (int32_t i : {0, 32766, 32767, count - 2, count - 1}) {
      const char* want = static_cast<const char*>(slGet(l, i));
      const char* got = static_cast<const char*>(slGet(back, i));
      if (!want) {
        EXPECT_EQ(got, nullptr) << i;
      } else {
        ASSERT_NE(got, nullptr) << i;
        EXPECT_STREQ(got, want) << i;
      }
    }
    EXPECT_EQ(texts(back), texts(l));
    slFree(l);
    slFree(back);
  }
}
