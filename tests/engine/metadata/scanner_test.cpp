// Descriptions and the file scanner through the exports, with real files,
// description files and this thread's own message queue as the target.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "meta_fixture.h"
#include "testkit.h"
#include "zv_desc.h"
#include "zv_infocache.h"
#include "win32/owners.h"

namespace {

ZvTarget me() { return ZvTarget(GetCurrentThreadId()); }

void writeText(const std::string& path, const std::string& text) { zvtest::writeFile(path, text.data(), text.size()); }

std::string descOf(const std::string& path) {
  char out[ZV_DESC_SIZE];
  EXPECT_TRUE(desc(path.c_str(), out));
  return out;
}

void setWriteTime(const std::string& path, uint64_t time) {
  zv::UniqueFile f(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(f);
  FILETIME t = {DWORD(time), DWORD(time >> 32)};
  SetFileTime(f.get(), nullptr, nullptr, &t);
}

uint64_t now() {
  FILETIME t;
  GetSystemTimeAsFileTime(&t);
  return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

}  // namespace

TEST(Desc, descriptionFilesInTheirOrderThenFileName) {
  std::string dir = zvtest::freshDir("descfiles");
  for (const char* f : {"a.wav", "b.wav", "c.wav", "d.wav", "e.wav"}) writeText(dir + "\\" + f, "RIFF");
  writeText(dir + "\\descript.ion", "a.wav from descript.ion\r\n");
  writeText(dir + "\\files.bbs", "a.wav from files.bbs\r\nb.wav from files.bbs\r\n");
  writeText(dir + "\\0index", "\"c.wav\" from 0index\r\n");
  CreateDirectoryA((dir + "\\00index").c_str(), nullptr);  // a folder is no description file
  EXPECT_EQ(descOf(dir + "\\a.wav"), "from descript.ion");
  EXPECT_EQ(descOf(dir + "\\B.WAV"), "from files.bbs");
  EXPECT_EQ(descOf(dir + "\\c.wav"), "from 0index");
  EXPECT_EQ(descOf(dir + "\\d.wav"), "d");
  EXPECT_EQ(descOf(dir + "\\missing.wav"), "missing");
}

TEST(Desc, storedDescriptionIsUsedUntilTheFileChanges) {
  std::string dir = zvtest::freshDir("stale");
  std::string path = dir + "\\song.wav";
  writeText(path, "RIFF");
  setWriteTime(path, now() - 10'000'000ull * 3600);  // an hour ago
  EXPECT_TRUE(setDesc(path.c_str(), "Mine"));
  char out[ZV_DESC_SIZE];
  EXPECT_TRUE(cachedDesc(path.c_str(), out));
  EXPECT_STREQ(out, "Mine");
  EXPECT_EQ(descOf(path), "Mine");
  // Written after the record: the record is ignored and replaced.
  setWriteTime(path, now() + 10'000'000ull * 3600);
  EXPECT_FALSE(cachedDesc(path.c_str(), out));
  EXPECT_STREQ(out, "");
  EXPECT_EQ(descOf(path), "song");
  setWriteTime(path, now() - 10'000'000ull * 60);
  EXPECT_TRUE(cachedDesc(path.c_str(), out));
  EXPECT_STREQ(out, "song");
}

TEST(Desc, missingFileHasNoValidRecord) {
  std::string dir = zvtest::freshDir("missing");
  std::string path = dir + "\\gone.wav";
  setDesc(path.c_str(), "Gone");
  char out[ZV_DESC_SIZE];
  EXPECT_FALSE(cachedDesc(path.c_str(), out));
  EXPECT_EQ(descOf(path), "gone");
}

TEST(Scanner, answersInOrderThenEndMarker) {
  std::string dir = zvtest::freshDir("order");
  std::vector<std::string> paths;
  writeText(dir + "\\descript.ion", "t0.wav zero\r\nt2.wav two\r\n");
  for (int i = 0; i < 4; ++i) {
    paths.push_back(dir + "\\t" + std::to_string(i) + ".wav");
    std::string body(size_t(1024 * i + 600), 'x');  // 0.6, 1.6, 2.6, 3.6 KiB
    writeText(paths.back(), body);
  }
  for (int i = 0; i < 4; ++i) queryInfo(paths[size_t(i)].c_str(), me(), 40 + i, i * 10);
  queryInfo((dir + "\\none.wav").c_str(), me(), 44, 40);
  finishQueryInfo(me(), 7);
  std::vector<ZvQueryResult> got;
  ASSERT_TRUE(metatest::collectAnswers(6, &got));
  const char* descs[] = {"zero", "t1", "two", "t3"};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(std::string(got[size_t(i)].path), paths[size_t(i)]);
    EXPECT_STREQ(got[size_t(i)].description, descs[i]);
    EXPECT_EQ(got[size_t(i)].tag, 40 + i);
    EXPECT_EQ(got[size_t(i)].line, i * 10);
    EXPECT_EQ(got[size_t(i)].sizeKb, i + 1);  // rounded, not cut
    EXPECT_EQ(got[size_t(i)].lengthMs, 0);
  }
  EXPECT_STREQ(got[4].description, "none");
  EXPECT_EQ(got[4].sizeKb, -1);
  EXPECT_STREQ(got[5].path, "");
  EXPECT_STREQ(got[5].description, "");
  EXPECT_EQ(got[5].tag, 7);
  EXPECT_EQ(got[5].line, 0);
  // What was found is stored: the description-file text, not the file name.
  char out[ZV_DESC_SIZE];
  EXPECT_TRUE(cachedDesc(paths[0].c_str(), out));
  EXPECT_STREQ(out, "zero");
  EXPECT_FALSE(cachedDesc(paths[1].c_str(), out));
}

TEST(Scanner, cancelRemovesOnlyThatTagWhereverItStands) {
  std::string dir = zvtest::freshDir("cancel");
  std::string path = dir + "\\x.wav";
  writeText(path, "RIFF");
  // Enough work ahead that the scanner is still busy when the cancel comes.
  constexpr int kAhead = 300;
  for (int i = 0; i < kAhead; ++i) queryInfo(path.c_str(), me(), 1, i);
  for (int i = 0; i < 6; ++i) queryInfo(path.c_str(), me(), i % 2 ? -666 : 5, i);
  cancelQueryInfo(-666);
  finishQueryInfo(me(), 9);
  std::vector<ZvQueryResult> got;
  ASSERT_TRUE(metatest::collectAnswers(kAhead + 4, &got, 60000));
  std::vector<int32_t> fives;
  for (const auto& r : got) {
    EXPECT_NE(r.tag, -666);
    if (r.tag == 5) fives.push_back(r.line);
  }
  EXPECT_EQ(fives, (std::vector<int32_t>{0, 2, 4}));
  EXPECT_EQ(got.back().tag, 9);
  EXPECT_STREQ(got.back().path, "");
}

TEST(Scanner, setDescBroadcastsTheNewDescription) {
  std::string dir = zvtest::freshDir("setdesc");
  std::string path = dir + "\\tune.wav";
  writeText(path, "RIFF");
  setWriteTime(path, now() - 10'000'000ull * 3600);
  // A broadcast reaches the instances and the filters registered for the code.
  addBroadcastFilter(me(), msgInfoReady);
  EXPECT_TRUE(setDesc(path.c_str(), "Given"));
  std::vector<ZvQueryResult> got;
  ASSERT_TRUE(metatest::collectAnswers(1, &got));
  EXPECT_EQ(std::string(got[0].path), path);
  EXPECT_STREQ(got[0].description, "Given");
  EXPECT_EQ(got[0].tag, -1);
  EXPECT_EQ(got[0].line, -1);
  // An empty text deletes the record; the broadcast carries the file name.
  EXPECT_TRUE(setDesc(path.c_str(), ""));
  got.clear();
  ASSERT_TRUE(metatest::collectAnswers(1, &got));
  EXPECT_STREQ(got[0].description, "tune");
  char out[ZV_DESC_SIZE];
  EXPECT_FALSE(cachedDesc(path.c_str(), out));
  delBroadcastFilter(me(), msgInfoReady);
}

TEST(Scanner, scannerAndThisThreadOnMoreFoldersThanSlots) {
  std::vector<std::string> paths;
  for (int d = 0; d < 24; ++d) {
    std::string dir = zvtest::freshDir("busy" + std::to_string(d));
    for (int f = 0; f < 3; ++f) {
      paths.push_back(dir + "\\f" + std::to_string(f) + ".wav");
      writeText(paths.back(), "RIFF");
    }
  }
  for (const auto& p : paths) queryInfo(p.c_str(), me(), 77, 0);
  for (int round = 0; round < 3; ++round)
    for (const auto& p : paths) setCacheRec(p.c_str(), "MINE", (p + std::to_string(round)).c_str());
  std::vector<ZvQueryResult> got;
  ASSERT_TRUE(metatest::collectAnswers(paths.size(), &got, 60000));
  metatest::flushCacheTable();
  for (const auto& p : paths) {
    std::vector<metatest::Entry> entries;
    std::string folder = p.substr(0, p.rfind('\\'));
    ASSERT_TRUE(metatest::readCacheFile(folder + "\\zvcache", &entries)) << folder;
    std::string name = p.substr(p.rfind('\\') + 1);
    bool mine = false, info = false;
    for (const auto& e : entries) {
      if (e.file != name) continue;
      if (e.record == "MINE") mine = e.data == p + "2" + '\0';
      if (e.record == "INFO") info = e.data.size() == 17;  // size, length, stamp, empty text
    }
    EXPECT_TRUE(mine) << p;
    EXPECT_TRUE(info) << p;
  }
}
