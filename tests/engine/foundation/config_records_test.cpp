// Binary records of the configuration store: registry values and ".dat"
// files of the user directory, exact lengths only, replaced whole.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "store_fixture.h"
#include "testkit.h"
#include "zv_config.h"

namespace {

std::vector<char> pattern(size_t n, int seed) {
  std::vector<char> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<char>(seed + i * 7);
  return v;
}

std::string datFile(const std::string& name) { return fnd::userDir() + "\\" + name + ".dat"; }

std::vector<char> fileBytes(const std::string& path) {
  auto bytes = zvtest::readFile(path);
  return std::vector<char>(bytes.begin(), bytes.end());
}

// Nothing but the record itself carries its name in the user directory (no
// temporary copy left behind). Other test programs share that directory, so
// only names of this record count.
bool onlyTheRecord(const std::string& name) {
  auto names = fnd::listDir(fnd::userDir());
  return std::none_of(names.begin(), names.end(), [&](const std::string& n) {
    return n.find(name) != std::string::npos && _stricmp(n.c_str(), (name + ".dat").c_str()) != 0;
  });
}

void useFileBacking() { ASSERT_EQ(setConfigMode("zvtest_fnd_records", -1), 1); }

}  // namespace

TEST(ConfigRecords, registryRecordNeedsTheExactLength) {
  const std::string section = "zvtest_fnd_records_reg";
  fnd::deleteSection(section);
  ASSERT_EQ(setConfigMode(section.c_str(), 0), 0);
  std::vector<char> rec = pattern(36, 3);
  setConfigRec("outParams", rec.data(), 36);

  DWORD type = 0;
  std::vector<char> stored;
  ASSERT_TRUE(fnd::regRead(section, "outParams", type, stored));
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(stored, rec);

  std::vector<char> in(64, 'z');
  EXPECT_EQ(configRec("outParams", in.data(), 36), -1);
  EXPECT_TRUE(std::equal(rec.begin(), rec.end(), in.begin()));
  for (int32_t wrong : {35, 37, 0}) {
    std::vector<char> other(64, 'q');
    EXPECT_EQ(configRec("outParams", other.data(), wrong), 0) << wrong;
    EXPECT_EQ(other, std::vector<char>(64, 'q')) << "buffer touched for length " << wrong;
  }
  EXPECT_EQ(configRec("noSuchRecord", in.data(), 36), 0);
  // A string value of the same name is no record.
  fnd::regWriteString(section, "text", std::string(35, 'a'));
  EXPECT_EQ(configRec("text", in.data(), 36), 0);
}

TEST(ConfigRecords, fileRecordIsTheWholeDatFile) {
  useFileBacking();
  const std::string name = "zvtest_fnd_eqSave";
  DeleteFileA(datFile(name).c_str());
  std::vector<char> rec = pattern(52, 11);
  setConfigRec(name.c_str(), rec.data(), 52);
  EXPECT_EQ(fileBytes(datFile(name)), rec);

  std::vector<char> in(52, 0);
  EXPECT_EQ(configRec(name.c_str(), in.data(), 52), -1);
  EXPECT_EQ(in, rec);
  // One byte shorter or longer than stored: ignored, not misread.
  for (int32_t wrong : {51, 53}) {
    std::vector<char> other(64, 'q');
    EXPECT_EQ(configRec(name.c_str(), other.data(), wrong), 0) << wrong;
    EXPECT_EQ(other, std::vector<char>(64, 'q')) << wrong;
  }
  EXPECT_EQ(configRec("zvtest_fnd_absent", in.data(), 52), 0);
  // A record of the registry backing is not seen in file backing.
  EXPECT_EQ(setConfigMode("zvtest_fnd_records_reg", 0), 0);
  setConfigRec("zvtest_fnd_regonly", rec.data(), 52);
  useFileBacking();
  EXPECT_EQ(configRec("zvtest_fnd_regonly", in.data(), 52), 0);
  EXPECT_TRUE(onlyTheRecord(name));
}

TEST(ConfigRecords, readOnlyRecordIsReplaced) {
  useFileBacking();
  const std::string name = "zvtest_fnd_timer2";
  std::string path = datFile(name);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::vector<char> old = pattern(30, 1);
  ASSERT_TRUE(zvtest::writeFile(path, old.data(), old.size()));
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));

  std::vector<char> rec = pattern(30, 99);
  setConfigRec(name.c_str(), rec.data(), 30);
  EXPECT_EQ(fileBytes(path), rec);
  std::vector<char> in(30);
  EXPECT_EQ(configRec(name.c_str(), in.data(), 30), -1);
  EXPECT_EQ(in, rec);
  EXPECT_TRUE(onlyTheRecord(name));
}

TEST(ConfigRecords, failedWriteKeepsTheOldRecord) {
  useFileBacking();
  const std::string name = "zvtest_fnd_visData";
  std::string path = datFile(name);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::vector<char> old = pattern(392, 5);
  setConfigRec(name.c_str(), old.data(), 392);
  ASSERT_EQ(fileBytes(path), old);

  // New data that cannot be read to the end: the write fails half-way, as
  // on a full disk. Truncating the record first would lose it.
  SYSTEM_INFO si;
  GetSystemInfo(&si);
  char* pages = static_cast<char*>(VirtualAlloc(nullptr, 2 * si.dwPageSize, MEM_RESERVE, PAGE_NOACCESS));
  ASSERT_NE(pages, nullptr);
  ASSERT_NE(VirtualAlloc(pages, si.dwPageSize, MEM_COMMIT, PAGE_READWRITE), nullptr);
  char* tail = pages + si.dwPageSize - 100;  // 100 readable bytes, then no access
  std::memset(tail, 'N', 100);
  setConfigRec(name.c_str(), tail, 392);
  VirtualFree(pages, 0, MEM_RELEASE);

  EXPECT_EQ(fileBytes(path), old);
  std::vector<char> in(392);
  EXPECT_EQ(configRec(name.c_str(), in.data(), 392), -1);
  EXPECT_EQ(in, old);
  EXPECT_TRUE(onlyTheRecord(name));
}

TEST(ConfigRecords, recordNamedLikeAFolderIsLeftAlone) {
  useFileBacking();
  const std::string name = "zvtest_fnd_folder";
  std::string path = datFile(name);
  CreateDirectoryA(path.c_str(), nullptr);
  ASSERT_TRUE(fnd::attributes(path) & FILE_ATTRIBUTE_DIRECTORY);
  std::vector<char> rec = pattern(16, 2);
  setConfigRec(name.c_str(), rec.data(), 16);
  EXPECT_TRUE(fnd::attributes(path) & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_TRUE(onlyTheRecord(name));
  std::vector<char> in(16);
  EXPECT_EQ(configRec(name.c_str(), in.data(), 16), 0);
  RemoveDirectoryA(path.c_str());
}
