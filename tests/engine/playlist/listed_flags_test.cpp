// A text playlist's lines are classified from one listing per folder. These
// tests hold that to the previous rule, line by line: plGetFlags for each
// path (and GetFileAttributesA for each listing's answer), on the inputs
// where the two could part, and the whole loaded playlist byte for byte
// against the header reader run with its defaults (per-line plGetFlags,
// lines added one by one).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "files_fixture.h"
#include "playlist/folder_listings.h"
#include "playlist/text_playlist_read.h"
#include "testkit.h"
#include "zv_playlist.h"

using pltest::OwnedPl;

namespace {

std::string savedBinary(Playlist pl, const std::string& path) {
  EXPECT_EQ(plSave(pl, path.c_str(), plSaveBinary), plResultOk);
  return pltest::readText(path);
}

// Loads `m3u` through the engine and through the per-line reader; both
// must give the same lines, flags and stored form.
void expectSameAsPerLineRule(const std::string& m3u) {
  OwnedPl fast, reference;
  ASSERT_EQ(plLoad(fast, m3u.c_str(), plLoadNoCache), plResultOk);
  zv::parseTextPlaylist(reference, m3u, pltest::readText(m3u), false);
  ASSERT_GT(plGetCount(reference), 0);
  EXPECT_EQ(pltest::dump(fast, true), pltest::dump(reference, true));
  EXPECT_EQ(savedBinary(fast, m3u + ".fast.zpl"), savedBinary(reference, m3u + ".reference.zpl"));
}

// What a listing says must be what the system says for that location.
void expectListingAgrees(zv::FolderListings& listings, const std::string& path) {
  zv::Presence p = listings.presence(path);
  if (p == zv::Presence::unknown) return;
  DWORD attributes = GetFileAttributesA(path.c_str());
  zv::Presence system = attributes == INVALID_FILE_ATTRIBUTES          ? zv::Presence::missing
                        : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? zv::Presence::directory
                                                                       : zv::Presence::file;
  EXPECT_EQ(int(p), int(system)) << path;
}

std::string shortNameOf(const std::string& path) {
  char out[MAX_PATH] = {};
  DWORD n = GetShortPathNameA(path.c_str(), out, sizeof(out));
  return n > 0 && n < sizeof(out) ? std::string(out, n) : std::string();
}

std::string lower(std::string s) {
  CharLowerBuffA(s.data(), DWORD(s.size()));
  return s;
}

// Names in code page 1252: "Ça va", "Ünïcödé", "µ" (whose upper case is
// Greek), "Œuvre".
const char kCedilla[] = "\xC7" "a va.mp3";
const char kUmlauts[] = "\xDCn\xEF" "c\xF6" "d\xE9.mp3";
const char kMicro[] = "\xB5.mp3";
const char kOe[] = "\x8Cuvre.mp3";

struct Tree {
  std::string dir;
  std::vector<std::string> lines;  // as written into the playlist
};

// A folder of awkward names and the lines that name them every way the
// system accepts (and some it does not).
Tree awkwardTree(const std::string& name) {
  Tree t{zvtest::freshDir(name), {}};
  pltest::makeTree(t.dir, {"Music\\", "Music\\Song One.mp3", "Music\\UPPER.MP3", std::string("Music\\") + kCedilla,
                           std::string("Music\\") + kUmlauts, std::string("Music\\") + kMicro,
                           std::string("Music\\") + kOe, "Music\\Long File Name Here.mp3", "Music\\Sub\\",
                           "Music\\list.m3u", "Music\\Dir.m3u\\", "Music\\noext", "Music\\a.b.c"});
  std::string shortName = shortNameOf(t.dir + "\\Music\\Long File Name Here.mp3");
  std::string shortLeaf = shortName.substr(shortName.rfind('\\') + 1);
  t.lines = {
      "Music\\Song One.mp3", "music\\SONG ONE.mp3", "MUSIC\\upper.mp3", "Music\\Upper.Mp3",
      std::string("Music\\") + kCedilla, std::string("Music\\") + lower(kCedilla), std::string("Music\\\xE7" "A VA.MP3"),
      std::string("Music\\") + kUmlauts, std::string("Music\\\xFCN\xCF" "C\xD6" "D\xC9.mp3"),
      std::string("Music\\") + kMicro, std::string("Music\\\xB5.MP3"), std::string("Music\\") + kOe,
      std::string("Music\\\x9C" "UVRE.mp3"), "Music\\Long File Name Here.mp3", "Music\\" + shortLeaf,
      "Music\\" + lower(shortLeaf), "Music\\LONGFI~9.MP3",
      "Music\\Song One.mp3.", "Music\\Song One.mp3..", "Music\\Sub.", "Music.\\Song One.mp3", "Music \\Song One.mp3",
      "Music\\Sub", "Music\\sub", "Music\\SUB", "Music\\Sub\\none.mp3", "Music\\list.m3u", "Music\\LIST.M3U",
      "Music\\Dir.m3u", "Music\\dir.M3U", "Music\\absent.m3u", "Music\\absent.z3u", "Music\\noext", "Music\\NOEXT",
      "Music\\absent", "Music\\a.b.c", "Music\\A.B.C", "Music\\absent.mp3",
      "Gone\\x.mp3", "Gone\\list.m3u", "Gone\\noext", "Gone\\Deeper\\x.mp3", "gone\\X.MP3",
      "Music\\nul.mp3", "Music\\CON", "Music\\com1.txt", "Music\\*.mp3", "Music\\so?g.mp3", "Music\\..\\Music\\UPPER.MP3",
      "Music\\.\\UPPER.MP3", ".\\Music\\UPPER.MP3", "..\\" + t.dir.substr(t.dir.rfind('\\') + 1) + "\\Music\\UPPER.MP3",
      "CD:\\*.m3u", "CD:\\8A09BC0B.m3u", "CD:\\8A09BC0B\\track03.cda", "Z:", "Z:\\", "Z:\\no-such-zv-file.mp3",
      "\\\\no-such-server\\share\\a.mp3", "Music\\Sub\\"};
  if (shortName.empty()) ADD_FAILURE() << "no short name";
  return t;
}

std::string writeM3u(const Tree& t, const std::string& name) {
  std::string text;
  for (const std::string& l : t.lines) text += l + "\r\n";
  std::string m3u = t.dir + "\\" + name;
  pltest::writeText(m3u, text);
  return m3u;
}

}  // namespace

TEST(ListedFlags, awkwardNamesGetTheFlagsOfThePerLineRule) {
  pltest::ensureEngine();
  Tree t = awkwardTree("listed_awkward");
  expectSameAsPerLineRule(writeM3u(t, "awkward.m3u"));
}

TEST(ListedFlags, listingsAnswerLikeTheSystemAndAnswerTheCommonShapes) {
  Tree t = awkwardTree("listed_direct");
  zv::FolderListings listings;
  for (const std::string& line : t.lines) {
    if (line.find(':') != std::string::npos || line[0] == '\\' || line[0] == '.') continue;
    expectListingAgrees(listings, t.dir + "\\" + line);
  }
  // "Music" holds a name whose case rule is not modelled (the micro sign):
  // any spelling but the exact one is left to the system there.
  EXPECT_EQ(int(listings.presence(t.dir + "\\Music\\Song One.mp3")), int(zv::Presence::file));
  EXPECT_EQ(int(listings.presence(t.dir + "\\Music\\SONG ONE.mp3")), int(zv::Presence::unknown));
}

TEST(ListedFlags, listingsAnswerExactOtherCaseAndShortNames) {
  std::string dir = zvtest::freshDir("listed_plain");
  pltest::makeTree(dir, {"Plain\\", "Plain\\Song One.mp3", "Plain\\Long File Name Here.mp3", "Plain\\Sub\\",
                         std::string("Plain\\") + kUmlauts});
  std::string shortName = shortNameOf(dir + "\\Plain\\Long File Name Here.mp3");
  ASSERT_FALSE(shortName.empty());
  struct Case {
    std::string line;
    zv::Presence expected;
  } cases[] = {{"Plain\\Song One.mp3", zv::Presence::file},
               {"plain\\SONG ONE.MP3", zv::Presence::file},
               {std::string("Plain\\\xFCN\xCF" "C\xD6" "D\xC9.mp3"), zv::Presence::file},
               {"Plain\\" + lower(shortName.substr(shortName.rfind('\\') + 1)), zv::Presence::file},
               {"Plain\\sub", zv::Presence::directory},
               {"Plain\\absent.mp3", zv::Presence::missing},
               {"Gone\\x.mp3", zv::Presence::missing},
               {"Gone\\Deeper\\x.mp3", zv::Presence::missing},
               {"Plain\\Song One.mp3.", zv::Presence::unknown},
               {"Plain\\nul.mp3", zv::Presence::unknown},
               {"Plain\\..\\Plain\\Song One.mp3", zv::Presence::unknown}};
  zv::FolderListings listings;
  for (const Case& c : cases) {
    EXPECT_EQ(int(listings.presence(dir + "\\" + c.line)), int(c.expected)) << c.line;
    expectListingAgrees(listings, dir + "\\" + c.line);
  }
}

TEST(ListedFlags, namesThatDifferOnlyInCaseOnDisk) {
  pltest::ensureEngine();
  // Made by the fixture script: Song.mp3 and SONG.mp3, a folder Mix and a file MIX.
  std::string dir = zvtest::testDir() + "\\casefold";
  ASSERT_NE(GetFileAttributesA((dir + "\\MIX").c_str()), INVALID_FILE_ATTRIBUTES);
  Tree t{dir, {"Song.mp3", "SONG.mp3", "song.mp3", "sOnG.MP3", "Mix", "MIX", "mix", "Mix\\a.mp3", "mix\\a.mp3"}};
  expectSameAsPerLineRule(writeM3u(t, "case.m3u"));
  zv::FolderListings listings;
  for (const std::string& line : t.lines) expectListingAgrees(listings, dir + "\\" + line);
}

TEST(ListedFlags, foldersThatVanishBetweenLinesAndBetweenLoads) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("listed_vanish");
  pltest::makeTree(dir, {"A\\", "A\\1.mp3", "A\\2.mp3", "B\\", "B\\1.mp3", "B\\list.m3u"});
  Tree t{dir, {"A\\1.mp3", "Gone\\1.mp3", "A\\2.mp3", "B\\1.mp3", "Gone\\2.mp3", "A\\3.mp3", "B\\list.m3u",
               "Gone2\\list.m3u", "A\\1.mp3", "B", "A"}};
  std::string m3u = writeM3u(t, "vanish.m3u");
  expectSameAsPerLineRule(m3u);
  // Folder A goes away: the next load must not answer from an old listing.
  DeleteFileA((dir + "\\A\\1.mp3").c_str());
  DeleteFileA((dir + "\\A\\2.mp3").c_str());
  ASSERT_TRUE(RemoveDirectoryA((dir + "\\A").c_str()));
  expectSameAsPerLineRule(m3u);
  OwnedPl after;
  ASSERT_EQ(plLoad(after, m3u.c_str(), plLoadNoCache), plResultOk);
  EXPECT_TRUE(plGetRec(after, 0)->flags & lfMissing);
  // And back again.
  pltest::makeTree(dir, {"A\\", "A\\1.mp3"});
  ASSERT_EQ(plLoad(after, m3u.c_str(), plLoadNoCache), plResultOk);
  EXPECT_FALSE(plGetRec(after, 0)->flags & lfMissing);
}

TEST(ListedFlags, hundredThousandLinesInAThousandFolders) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("listed_scale");
  // 900 folders with three files each, 100 folders missing; 100 lines per
  // folder naming those files, other files and other cases.
  std::vector<std::string> entries;
  for (int f = 0; f < 900; ++f) {
    std::string folder = "Artist " + std::to_string(f % 90) + " - Album " + std::to_string(f);
    entries.push_back(folder + "\\");
    for (int k = 0; k < 3; ++k) entries.push_back(folder + "\\" + std::to_string(k) + " Track.mp3");
  }
  pltest::makeTree(dir, entries);
  Tree t{dir, {}};
  for (int f = 0; f < 1000; ++f) {
    std::string folder = "Artist " + std::to_string(f % 90) + " - Album " + std::to_string(f);
    for (int k = 0; k < 100; ++k) {
      std::string name = std::to_string(k) + " Track.mp3";
      t.lines.push_back(folder + "\\" + (k % 7 == 6 ? lower(name) : name));
    }
  }
  ASSERT_EQ(t.lines.size(), 100000u);
  expectSameAsPerLineRule(writeM3u(t, "scale.m3u"));
}

// A folder listed as a playlist takes each entry's flags from the listing;
// every line must still carry what plGetFlags says of its name. The
// "oddnames" folder (made by the fixture script) holds the names where the
// two could part: trailing dots and spaces, a name outside the code page,
// a device name, names that differ only in case.
namespace {
void expectListedLinesHavePerLineFlags(Playlist pl) {
  ASSERT_GT(plGetCount(pl), 0);
  for (int32_t i = 0; i < plGetCount(pl); ++i) {
    const char* name = plGetName(pl, i);
    EXPECT_EQ(plGetRec(pl, i)->flags, plGetFlags(name)) << name;
  }
}
}  // namespace

TEST(ListedFlags, aListedFolderGivesEveryEntryThePerLineFlags) {
  pltest::ensureEngine();
  std::string odd = zvtest::testDir() + "\\oddnames";
  ASSERT_NE(GetFileAttributesA((odd + "\\plain.mp3").c_str()), INVALID_FILE_ATTRIBUTES);
  Tree t = awkwardTree("listed_folder");
  for (const std::string& folder : {odd, t.dir + "\\Music", zvtest::testDir() + "\\casefold"}) {
    OwnedPl listed;
    ASSERT_EQ(plLoad(listed, folder.c_str(), plLoadNoCache), plResultOk) << folder;
    expectListedLinesHavePerLineFlags(listed);
  }
  // The same through a whole tree added at once.
  OwnedPl added;
  plAddFile(added, odd.c_str(), 0);
  EXPECT_GT(plGetCount(added), 4);
  expectListedLinesHavePerLineFlags(added);
}
