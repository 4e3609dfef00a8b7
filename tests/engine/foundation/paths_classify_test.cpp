// The location classifiers through the engine's exports: extension tests,
// shapes of locations, and isDir against the real file system.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "testkit.h"
#include "zv_paths.h"

namespace {

struct Row {
  const char* text;
  ZvBool expected;
};

template <class Fn, size_t N>
void expectRows(const char* name, Fn fn, const Row (&rows)[N]) {
  for (const Row& r : rows) EXPECT_EQ(fn(r.text), r.expected) << name << "(\"" << (r.text ? r.text : "<null>") << "\")";
}

}  // namespace

TEST(PathClassify, playlistExtensionsIgnoreCase) {
  const Row rows[] = {
      {".m3u", ZV_TRUE}, {".PLS", ZV_TRUE},  {".Aap", ZV_TRUE},   {".z3U", ZV_TRUE},   {"m3u", ZV_FALSE},
      {".m3u8", ZV_TRUE}, {".M3U8", ZV_TRUE}, {".m3u9", ZV_FALSE}, {".mp3", ZV_FALSE},  {".lnk", ZV_FALSE},
      {"", ZV_FALSE},     {nullptr, ZV_FALSE},
  };
  expectRows("isPlaylistExt", isPlaylistExt, rows);
}

TEST(PathClassify, isPlaylistLooksAtTheExtensionAfterTheLastSeparator) {
  const Row rows[] = {
      {"C:\\a.M3U", ZV_TRUE},          {"list.pls", ZV_TRUE},          {"\\\\srv\\s\\x.aap", ZV_TRUE},
      {"C:\\x\\y.z3u", ZV_TRUE},       {"CD:\\*.m3u", ZV_TRUE},        {"C:\\x.m3u\\a.mp3", ZV_FALSE},
      {"C:\\x\\y.M3u8", ZV_TRUE},
      {"C:\\lists.pls\\", ZV_FALSE},   {"C:\\a.m3u.bak", ZV_FALSE},    {"C:\\m3u", ZV_FALSE},
      {"", ZV_FALSE},                  {nullptr, ZV_FALSE},
  };
  expectRows("isPlaylist", isPlaylist, rows);
}

TEST(PathClassify, isZ3UAndIsLink) {
  const Row z3u[] = {{"C:\\a.z3u", ZV_TRUE}, {"C:\\a.Z3U", ZV_TRUE}, {"C:\\a.m3u", ZV_FALSE},
                     {"C:\\z3u", ZV_FALSE},   {".z3u\\x", ZV_FALSE},   {nullptr, ZV_FALSE}};
  expectRows("isZ3U", isZ3U, z3u);
  const Row lnk[] = {{"C:\\Desk\\Song.lnk", ZV_TRUE}, {"x.LNK", ZV_TRUE},     {"C:\\a.lnk.mp3", ZV_FALSE},
                     {"C:\\lnk", ZV_FALSE},            {"C:\\a.lnk\\", ZV_FALSE}, {nullptr, ZV_FALSE}};
  expectRows("isLink", isLink, lnk);
}

TEST(PathClassify, hasExtComparesTheWholeExtensionIgnoringCase) {
  const struct {
    const char* path;
    const char* ext;
    ZvBool expected;
  } rows[] = {
      {"C:\\a.Mp3", ".MP3", ZV_TRUE},  {"C:\\a.mp3", ".mp", ZV_FALSE},     {"C:\\a.mp3", "mp3", ZV_FALSE},
      {"C:\\a.b\\c", ".b", ZV_FALSE},  {"C:\\a.b\\c", "", ZV_TRUE},        {"C:\\a.tar.gz", ".gz", ZV_TRUE},
      {"C:\\a.", ".", ZV_TRUE},        {"C:\\\xE0.\xC9X", ".\xE9x", ZV_TRUE},  // accented letters fold too
      {nullptr, ".mp3", ZV_FALSE},     {"C:\\a.mp3", nullptr, ZV_FALSE},
  };
  for (const auto& r : rows) EXPECT_EQ(hasExt(r.path, r.ext), r.expected) << (r.path ? r.path : "<null>");
}

TEST(PathClassify, isLocalFileWantsADriveLetterOrUnc) {
  const Row rows[] = {
      {"C:\\a.mp3", ZV_TRUE}, {"z:", ZV_TRUE},          {"\\\\srv\\s", ZV_TRUE}, {"\\\\", ZV_TRUE},
      {"C", ZV_FALSE},        {"\\", ZV_FALSE},         {"1:\\a.mp3", ZV_FALSE}, {"\xC4:\\a", ZV_FALSE},
      {"a.mp3", ZV_FALSE},    {"\\x\\a.mp3", ZV_FALSE}, {"CD:\\*.m3u", ZV_FALSE}, {"", ZV_FALSE},
      {nullptr, ZV_FALSE},
  };
  expectRows("isLocalFile", isLocalFile, rows);
}

TEST(PathClassify, isURLMeansAPseudoLocation) {
  const Row rows[] = {
      {"CD:\\*.m3u", ZV_TRUE}, {"CD:\\1A2B\\track03.cda", ZV_TRUE}, {"http:\\x", ZV_TRUE},
      {"C:\\a.mp3", ZV_FALSE}, {"C:\\CD:\\x", ZV_FALSE},             {"http://x/a.mp3", ZV_FALSE},
      {"\\\\srv\\s", ZV_FALSE}, {"a.mp3", ZV_FALSE},                 {":\\x", ZV_FALSE},
      {"", ZV_FALSE},          {nullptr, ZV_FALSE},
  };
  expectRows("isURL", isURL, rows);
}

TEST(PathClassify, isDirAsksTheFileSystemExceptForBareDrives) {
  std::string dir = zvtest::freshDir("isDir");
  std::string file = dir + "\\a.mp3";
  ASSERT_TRUE(zvtest::writeFile(file, "x", 1));
  std::string accented = dir + "\\\xC9t\xE9";
  ASSERT_TRUE(CreateDirectoryA(accented.c_str(), nullptr));

  EXPECT_EQ(isDir(dir.c_str()), ZV_TRUE);
  EXPECT_EQ(isDir((dir + "\\").c_str()), ZV_TRUE);
  EXPECT_EQ(isDir(accented.c_str()), ZV_TRUE);
  EXPECT_EQ(isDir(file.c_str()), ZV_FALSE);
  EXPECT_EQ(isDir((dir + "\\missing").c_str()), ZV_FALSE);
  EXPECT_EQ(isDir("C:\\"), ZV_TRUE);
  EXPECT_EQ(isDir("Q:"), ZV_TRUE);  // a bare drive counts without asking
  EXPECT_EQ(GetFileAttributesA("Q:\\"), INVALID_FILE_ATTRIBUTES) << "this test expects no drive Q";
  EXPECT_EQ(isDir("Q:\\"), ZV_FALSE);
  EXPECT_EQ(isDir("CD:\\*.m3u"), ZV_FALSE);
  EXPECT_EQ(isDir(""), ZV_FALSE);
  EXPECT_EQ(isDir(nullptr), ZV_FALSE);
}
