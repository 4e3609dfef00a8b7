// The engine in a program that runs with the player's manifest, so with the
// UTF-8 active code page: playlists, descriptions and stored files that
// other programs (or this one before) wrote in the legacy code page (1252
// in the test prefix) are read as the characters they hold, and what the
// engine writes is UTF-8.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "testkit.h"
#include "win32/owners.h"
#include "zv_playlist.h"

namespace {

struct OwnedPl {
  Playlist pl = createPlaylist(-1);
  ~OwnedPl() { freePlaylist(pl); }
};

std::string fileText(const std::string& path) {
  auto bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string fileNamePartOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

class Utf8Engine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest sets the UTF-8 active code page";
    dir_ = zvtest::freshDir("utf8");
  }
  std::string dir_;
};

TEST_F(Utf8Engine, textPlaylistsOfEveryEncodingReadAsTheirCharacters) {
  const std::string cafe = "caf\xC3\xA9.wav";  // "café.wav" in UTF-8
  struct Row {
    const char* what;
    const char* file;
    std::string bytes;
  };
  const Row rows[] = {
      {"M3U in 1252", "a.m3u", "caf\xE9.wav\r\n"},
      {"M3U in UTF-8", "b.m3u", cafe + "\r\n"},
      {"M3U with the UTF-8 mark", "c.m3u", "\xEF\xBB\xBF" + cafe + "\r\n"},
      {"PLS in 1252", "d.pls", "[playlist]\r\nFile1=caf\xE9.wav\r\nNumberOfEntries=1\r\n"},
      {"Z3U in 1252", "e.z3u", "0:caf\xE9.wav\r\n"},
  };
  for (const Row& r : rows) {
    const std::string path = dir_ + "\\" + r.file;
    ASSERT_TRUE(zvtest::writeFile(path, r.bytes.data(), r.bytes.size()));
    OwnedPl p;
    ASSERT_EQ(plLoad(p.pl, path.c_str(), 0), plResultOk) << r.what;
    ASSERT_EQ(plGetCount(p.pl), 1) << r.what;
    EXPECT_TRUE(endsWith(plGetName(p.pl, 0), "\\" + cafe)) << r.what << ": " << plGetName(p.pl, 0);
  }
}

TEST_F(Utf8Engine, writtenPlaylistsAreUtf8WithTheMarkOnlyBeyondAscii) {
  const std::string greek = dir_ + "\\\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1.wav";
  const std::string ascii = dir_ + "\\plain.wav";
  struct Row {
    const char* what;
    const char* file;
    std::string name;
    bool mark;
  };
  const Row rows[] = {
      {"M3U beyond ASCII", "g.m3u", greek, true},
      {"PLS beyond ASCII", "g.pls", greek, true},
      {"M3U all ASCII: as before", "p.m3u", ascii, false},
      {"M3U8: UTF-8 by its name, no mark", "g.m3u8", greek, false},
  };
  for (const Row& r : rows) {
    OwnedPl p;
    PlaylistLine rec{};
    plAddLine(p.pl, &rec, r.name.c_str(), "", nullptr);
    const std::string path = dir_ + "\\" + r.file;
    ASSERT_EQ(plSave(p.pl, path.c_str(), 0), plResultOk) << r.what;
    const std::string text = fileText(path);
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0) == 0, r.mark) << r.what;
    EXPECT_NE(text.find(fileNamePartOf(r.name)), std::string::npos) << r.what << ": " << text;
    // The engine reads back what it wrote.
    OwnedPl back;
    ASSERT_EQ(plLoad(back.pl, path.c_str(), 0), plResultOk);
    ASSERT_EQ(plGetCount(back.pl), 1);
    EXPECT_EQ(std::string(plGetName(back.pl, 0)), r.name) << r.what;
  }
}

TEST_F(Utf8Engine, m3u8NamedInJapaneseIsAPlaylistOfUtf8Lines) {
  const std::string folder = dir_ + "\\\xE9\x9F\xB3\xE6\xA5\xBD";  // "音楽"
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::string list = folder + "\\\xE4\xB8\x80\xE8\xA6\xA7.m3u8";  // "一覧.m3u8"
  const std::string song = "\xE6\x9B\xB2 \xF0\x9F\x8E\xB5.wav";             // "曲 🎵.wav"
  ASSERT_TRUE(zvtest::writeFile(folder + "\\" + song, "x", 1));
  // Written by another program: UTF-8 without a mark, a byte sequence that
  // would also pass for 1252 text.
  const std::string text = "#EXTM3U\r\n" + song + "\r\n";
  ASSERT_TRUE(zvtest::writeFile(list, text.data(), text.size()));
  EXPECT_EQ(plGetFlags(list.c_str()), uint32_t(lfGroup | lfPlaylist)) << "a playlist line, expanded when played";
  OwnedPl p;
  ASSERT_EQ(plLoad(p.pl, list.c_str(), 0), plResultOk);
  ASSERT_EQ(plGetCount(p.pl), 1);
  EXPECT_EQ(std::string(plGetName(p.pl, 0)), folder + "\\" + song);
  EXPECT_EQ(plGetFlags(plGetName(p.pl, 0)), 0u) << "the song exists";
}

TEST_F(Utf8Engine, binaryPlaylistWithLegacyTextsIsConvertedAndSavedInUtf8) {
  // Written as a player in the legacy code page wrote it: the same bytes.
  const std::string path = dir_ + "\\old.dat";
  {
    OwnedPl old;
    PlaylistLine rec{};
    plAddLine(old.pl, &rec, "C:\\M\\caf\xE9.wav", "Bj\xF6rk \x96 Live", nullptr);
    plAddLine(old.pl, &rec, "C:\\M\\\xCE\x91.wav", "\xCE\x91 already UTF-8", nullptr);
    zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_EQ(plSaveToHandle(old.pl, f.get()), 1);
  }
  OwnedPl p;
  {
    zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_EQ(plLoadFromHandle(p.pl, f.get()), 1);
  }
  ASSERT_EQ(plGetCount(p.pl), 2);
  EXPECT_EQ(std::string(plGetName(p.pl, 0)), "C:\\M\\caf\xC3\xA9.wav");
  EXPECT_EQ(std::string(plGetDesc(p.pl, 0)), "Bj\xC3\xB6rk \xE2\x80\x93 Live");
  EXPECT_EQ(std::string(plGetName(p.pl, 1)), "C:\\M\\\xCE\x91.wav") << "valid UTF-8 stays as it is";
  EXPECT_EQ(std::string(plGetDesc(p.pl, 1)), "\xCE\x91 already UTF-8");
  // The next save writes UTF-8, with the format unchanged.
  {
    zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_EQ(plSaveToHandle(p.pl, f.get()), 1);
  }
  const std::string saved = fileText(path);
  EXPECT_EQ(saved.rfind("ZVPL0010", 0), 0u);
  EXPECT_NE(saved.find("caf\xC3\xA9.wav"), std::string::npos);
  EXPECT_EQ(saved.find("caf\xE9.wav"), std::string::npos);
}

}  // namespace

namespace {

// plFind searches an index that plSortIndex sorted by full name (mode 1):
// its comparison must order UTF-8 names as the sort did, whatever case.
TEST_F(Utf8Engine, namesBeyondAsciiAreFoundInASortedIndexInAnyCase) {
  const std::vector<std::string> names = {
      "C:\\\xCF\x89\xCE\xB4\xCE\xAE.mp3",       // ωδή
      "C:\\zebra.mp3",
      "C:\\\xC3\xA9mile.mp3",                   // émile
      "C:\\apple.mp3",
      "C:\\\xE6\x9B\xB2.mp3",                   // 曲
      "C:\\\xD0\xB0\xD0\xBB\xD1\x8C\xD0\xB1\xD0\xBE\xD0\xBC.mp3",  // альбом
  };
  const std::vector<std::string> asked = {
      "c:\\\xCE\xA9\xCE\x94\xCE\x89.MP3",       // ΩΔΉ
      "C:\\ZEBRA.mp3",
      "c:\\\xC3\x89MILE.mp3",                   // ÉMILE
      "C:\\Apple.mp3",
      "C:\\\xE6\x9B\xB2.MP3",
      "C:\\\xD0\x90\xD0\x9B\xD0\xAC\xD0\x91\xD0\x9E\xD0\x9C.mp3",  // АЛЬБОМ
  };
  OwnedPl p;
  for (const std::string& name : names) {
    PlaylistLine rec{};
    plAddLine(p.pl, &rec, name.c_str(), "", nullptr);
  }
  std::vector<int32_t> index(names.size());
  for (size_t i = 0; i < index.size(); ++i) index[i] = int32_t(i);
  plSortIndex(p.pl, 1, index.data(), int32_t(index.size()));
  for (size_t i = 0; i < names.size(); ++i) {
    int32_t lo = -2, hi = -2;
    plFind(p.pl, asked[i].c_str(), index.data(), &lo, &hi);
    ASSERT_GE(lo, 0) << names[i];
    EXPECT_EQ(lo, hi);
    EXPECT_EQ(std::string(plGetName(p.pl, index[size_t(lo)])), names[i]);
  }
}

}  // namespace
