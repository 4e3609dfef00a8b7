// The information cache through its exports: where records land, the
// "zvcache" files byte by byte, the table of open files, damaged files.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "meta_fixture.h"
#include "testkit.h"
#include "zv_infocache.h"
#include "zv_memory.h"

using metatest::Entry;

namespace {

std::string cacheText(const std::string& path, const char* name, int32_t size = 255) {
  std::vector<char> buffer(size_t(size) + 1, '#');
  cacheRec(path.c_str(), name, buffer.data(), size);
  return buffer.data();
}

std::string recordBytes(const std::string& path, const char* name, bool* found) {
  void* block = nullptr;
  int32_t length = -1;
  cacheRecBuf(path.c_str(), name, &block, &length);
  *found = block != nullptr;
  std::string bytes = block ? std::string(static_cast<char*>(block), size_t(length)) : std::string();
  if (!block) {
    EXPECT_EQ(length, 0);
  }
  _mfree(block);
  return bytes;
}

}  // namespace

TEST(InfoCache, recordIsFoundUnderAnyCaseOfPathAndRecordName) {
  std::string dir = zvtest::freshDir("Music");
  setCacheRec((dir + "\\a.mp3").c_str(), "DESC", "Song");
  std::string lower = dir;
  for (char& c : lower) c = char(tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(cacheText(lower + "\\A.MP3", "desc"), "Song");
  EXPECT_EQ(cacheText(dir + "\\b.mp3", "DESC"), "");
  EXPECT_EQ(cacheText(dir + "\\a.mp3", "INFO"), "");
}

TEST(InfoCache, fileOnDiskHoldsTheEntryByteForByte) {
  std::string dir = zvtest::freshDir("bytes");
  const char data[] = {'a', 0, 'b', 0, char(0xFF)};
  setCacheRecBuf((dir + "\\tune.mp3").c_str(), "EQ", data, sizeof(data));
  setCacheRec((dir + "\\tune.mp3").c_str(), "DESC", "T");
  std::string file = dir + "\\zvcache";
  EXPECT_TRUE(zvtest::readFile(file).empty()) << "written lazily, not at once";
  metatest::flushCacheTable();
  std::vector<uint8_t> onDisk = zvtest::readFile(file);
  std::string expected = metatest::cacheFileBytes(
      {{"tune.mp3", "EQ", std::string(data, sizeof(data))}, {"tune.mp3", "DESC", std::string("T\0", 2)}});
  ASSERT_GE(onDisk.size(), 24u);
  // Capacities (bytes 12..15 and 20..23) follow the list's growth; the rest is fixed.
  EXPECT_EQ(std::string(onDisk.begin(), onDisk.begin() + 12), expected.substr(0, 12));
  EXPECT_EQ(std::string(onDisk.begin() + 16, onDisk.begin() + 20), expected.substr(16, 4));
  EXPECT_EQ(std::string(onDisk.begin() + 24, onDisk.end()), expected.substr(24));
  EXPECT_TRUE(metatest::isHiddenFile(file));
}

TEST(InfoCache, handWrittenFileIsRead) {
  std::string dir = zvtest::freshDir("handwritten");
  std::string bytes = metatest::cacheFileBytes(
      {{"one.mp3", "DESC", std::string("first\0", 6)}, {"Two.MP3", "vidset", std::string("\x01\x02", 2)}});
  zvtest::writeFile(dir + "\\zvcache", bytes.data(), bytes.size());
  EXPECT_EQ(cacheText(dir + "\\ONE.mp3", "DESC"), "first");
  bool found = false;
  EXPECT_EQ(recordBytes(dir + "\\two.mp3", "VIDSET", &found), std::string("\x01\x02", 2));
  EXPECT_TRUE(found);
}

TEST(InfoCache, settingTwiceKeepsOneEntryAtItsPlace) {
  std::string dir = zvtest::freshDir("twice");
  setCacheRec((dir + "\\a.mp3").c_str(), "DESC", "one");
  setCacheRec((dir + "\\b.mp3").c_str(), "DESC", "two");
  setCacheRec((dir + "\\A.mp3").c_str(), "desc", "a longer third text");
  metatest::flushCacheTable();
  std::vector<Entry> entries;
  ASSERT_TRUE(metatest::readCacheFile(dir + "\\zvcache", &entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].file, "A.mp3");  // the entry is rebuilt under the name given last
  EXPECT_EQ(entries[0].data, std::string("a longer third text\0", 20));
  EXPECT_EQ(entries[1].file, "b.mp3");
}

TEST(InfoCache, buffersCopiesCutsAndDeletes) {
  std::string dir = zvtest::freshDir("buffers");
  std::string path = dir + "\\x.ogg";
  bool found = true;
  EXPECT_EQ(recordBytes(path, "EQ", &found), "");
  EXPECT_FALSE(found);
  setCacheRecBuf(path.c_str(), "EQ", "\0\0\x07", 3);
  EXPECT_EQ(recordBytes(path, "EQ", &found), std::string("\0\0\x07", 3));
  EXPECT_TRUE(found);
  setCacheRec(path.c_str(), "NAME", "abcdef");
  EXPECT_EQ(cacheText(path, "NAME", 3), "abc");
  EXPECT_EQ(cacheText(path, "NAME", 0), "");
  delCacheRec(path.c_str(), "eq");
  EXPECT_EQ(recordBytes(path, "EQ", &found), "");
  EXPECT_FALSE(found);
  EXPECT_EQ(cacheText(path, "NAME"), "abcdef");
  delCacheRec(path.c_str(), "missing");  // nothing to do
  delCacheRec((dir + "\\nofolder\\y.ogg").c_str(), "EQ");
  EXPECT_EQ(GetFileAttributesA((dir + "\\nofolder").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(InfoCacheDir, folderOfLocalRootUrlAndNothing) {
  char out[260];
  getCacheDir("C:\\a.mp3", out, 0);
  EXPECT_STREQ(out, "C:");
  getCacheDir("C:\\Music\\Rock\\a.mp3", out, 0);
  EXPECT_STREQ(out, "C:\\Music\\Rock");
  getCacheDir("\\\\server\\share\\a.mp3", out, 0);
  EXPECT_STREQ(out, "\\\\server\\share");

  // The data directory lies in the base directory, which the engine gives in
  // the system's lower case whatever the case of the folder it runs from.
  std::string cache = zvtest::rootDir() + "\\data\\cache";
  CharLowerBuffA(cache.data(), static_cast<DWORD>(cache.size()));
  getCacheDir("http://host:8000/dir/a.mp3", out, 0);
  EXPECT_EQ(std::string(out), cache + "\\http-\\host-8000\\dir");
  // Dot components cannot lead out of the cache folder.
  getCacheDir("http://h/../../../x/a.mp3", out, 0);
  EXPECT_EQ(std::string(out), cache + "\\http-\\h\\--\\--\\--\\x");
  getCacheDir("a.mp3", out, 0);
  EXPECT_EQ(std::string(out), cache);
}

TEST(InfoCacheDir, urlRecordsLiveUnderTheDataDirectory) {
  std::string url = "http://example.org/zvtest" + std::to_string(GetCurrentProcessId()) + "/song.mp3";
  char folder[260];
  getCacheDir(url.c_str(), folder, 1);
  EXPECT_NE(GetFileAttributesA(folder), INVALID_FILE_ATTRIBUTES) << folder;
  setCacheRec(url.c_str(), "DESC", "stream");
  EXPECT_EQ(cacheText(url, "DESC"), "stream");
  metatest::flushCacheTable();
  std::vector<Entry> entries;
  ASSERT_TRUE(metatest::readCacheFile(std::string(folder) + "\\zvcache", &entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].file, url);  // no backslash: the whole name
}

TEST(InfoCacheTable, seventeenthFolderEvictsTheOldestAndWritesIt) {
  metatest::flushCacheTable();  // the table now holds only scratch folders
  std::vector<std::string> dirs;
  for (int i = 0; i < 17; ++i) dirs.push_back(zvtest::freshDir("evict" + std::to_string(i)));
  for (int i = 0; i < 16; ++i) setCacheRec((dirs[size_t(i)] + "\\f.mp3").c_str(), "DESC", "x");
  EXPECT_TRUE(zvtest::readFile(dirs[0] + "\\zvcache").empty());
  setCacheRec((dirs[16] + "\\f.mp3").c_str(), "DESC", "x");
  std::vector<Entry> entries;
  EXPECT_TRUE(metatest::readCacheFile(dirs[0] + "\\zvcache", &entries));
  EXPECT_TRUE(zvtest::readFile(dirs[1] + "\\zvcache").empty());
  // A read of an evicted folder loads it again from disk.
  EXPECT_EQ(cacheText(dirs[0] + "\\f.mp3", "DESC"), "x");
}

TEST(InfoCacheTable, twoThreadsOnMoreFoldersThanSlotsLoseNothing) {
  std::vector<std::string> dirs;
  for (int i = 0; i < 24; ++i) dirs.push_back(zvtest::freshDir("race" + std::to_string(i)));
  constexpr int kRounds = 6;
  auto writer = [&](const char* who) {
    for (int round = 0; round < kRounds; ++round)
      for (size_t d = 0; d < dirs.size(); ++d) {
        std::string path = dirs[d] + "\\" + who + std::to_string(round) + ".mp3";
        setCacheRec(path.c_str(), "DESC", (std::string(who) + std::to_string(d)).c_str());
        cacheText(dirs[(d + 7) % dirs.size()] + "\\a0.mp3", "DESC");
      }
  };
  std::thread other(writer, "b");
  writer("a");
  other.join();
  metatest::flushCacheTable();
  for (size_t d = 0; d < dirs.size(); ++d) {
    std::vector<Entry> entries;
    ASSERT_TRUE(metatest::readCacheFile(dirs[d] + "\\zvcache", &entries)) << dirs[d];
    EXPECT_EQ(entries.size(), size_t(2 * kRounds)) << dirs[d];
    for (const Entry& e : entries) EXPECT_EQ(e.data, std::string(1, e.file[0]) + std::to_string(d) + '\0');
  }
}

// Damaged cache files: every one reads as empty and the next save replaces it.
TEST(InfoCacheFile, damagedFilesReadAsEmptyAndAreReplaced) {
  auto le = [](int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  std::string good = metatest::cacheFileBytes({{"a.mp3", "DESC", std::string("kept\0", 5)}});
  std::string entryOverrun = "ZVCH0005" + le(1) + le(4096) + le(22) + le(20480) + le(0) + le(18) +
                             std::string("a.mp3\0DESC\0", 11) + le(1000) + "xyz";
  std::string noZeros = "ZVCH0005" + le(1) + le(4096) + le(12) + le(20480) + le(0) + le(8) + "a.mp3DES";
  std::string negativeLength = "ZVCH0005" + le(1) + le(4096) + le(18) + le(20480) + le(0) + le(14) +
                               std::string("a.mp3\0DESC\0", 11) + le(-5);
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"wrong magic", "ZVCH0004" + good.substr(8)},
      {"magic only", "ZVCH0005"},
      {"cut in the head", good.substr(0, 14)},
      {"cut in the storage", good.substr(0, good.size() - 3)},
      {"lying count", "ZVCH0005" + le(0x7FFFFFF0) + le(0x7FFFFFF0) + le(4) + le(20480) + le(0)},
      {"lying capacity", "ZVCH0005" + le(0) + le(0x7FFFFFFF) + le(0) + le(0x7FFFFFFF)},
      {"index out of storage", "ZVCH0005" + le(1) + le(4096) + le(4) + le(20480) + le(400) + le(0)},
      {"record length past the entry", entryOverrun},
      {"entry without zeros", noZeros},
      {"negative record length", negativeLength},
  };
  std::vector<std::string> dirs;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string dir = zvtest::freshDir("damaged" + std::to_string(dirs.size()));
    dirs.push_back(dir);
    zvtest::writeFile(dir + "\\zvcache", c.bytes.data(), c.bytes.size());
    EXPECT_EQ(cacheText(dir + "\\a.mp3", "DESC"), "");
    setCacheRec((dir + "\\b.mp3").c_str(), "DESC", "new");
    EXPECT_EQ(cacheText(dir + "\\b.mp3", "DESC"), "new");
  }
  metatest::flushCacheTable();
  for (size_t i = 0; i < dirs.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(cacheText(dirs[i] + "\\b.mp3", "DESC"), "new") << "read back from disk";
    // Lists that failed to load were replaced whole; damaged entries of a
    // sound list stay beside the new one.
    std::vector<Entry> entries;
    if (i < 8) {
      ASSERT_TRUE(metatest::readCacheFile(dirs[i] + "\\zvcache", &entries));
      EXPECT_EQ(entries.size(), 1u);
    }
  }
}
