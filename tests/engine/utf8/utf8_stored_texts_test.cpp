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
