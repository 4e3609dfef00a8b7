// "playlist.dat" at start and shutdown: a damaged file is kept aside, never
// overwritten, and the save replaces the file only when complete.
#include <gtest/gtest.h>

#include <windows.h>

#include "player_fixture.h"
#include "startup/stored_playlists.h"
#include "testkit.h"

using namespace zv;

namespace {

std::string text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
bool exists(const std::string& p) { return GetFileAttributesA(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(StoredPlaylists, aSavedPlaylistLoadsBack) {
  ptest::ensureEngine();
  std::string path = zvtest::freshDir("stored") + "\\playlist.dat";
  ptest::OwnedPl pl, back;
  ptest::fill(pl, {"G root@0", "C:\\a.mp3@1", "C:\\b.mp3@1"});
  ASSERT_TRUE(saveStoredPlaylist(pl, path));
  EXPECT_EQ(text(zvtest::readFile(path)).substr(0, 8), "ZVPL0010");
  EXPECT_FALSE(exists(path + ".tmp"));
  StoredLoadResult r = loadStoredPlaylist(back, path);
  EXPECT_EQ(r.outcome, StoredLoad::loaded);
  ASSERT_EQ(plGetCount(back), 3);
  EXPECT_STREQ(plGetName(back, 2), "C:\\b.mp3");
}

TEST(StoredPlaylists, aMissingFileGivesAnEmptyPlaylist) {
  ptest::ensureEngine();
  ptest::OwnedPl pl;
  ptest::fill(pl, {"old@0"});
  StoredLoadResult r = loadStoredPlaylist(pl, zvtest::freshDir("missing") + "\\recent.dat");
  EXPECT_EQ(r.outcome, StoredLoad::missing);
  EXPECT_EQ(plGetCount(pl), 0);
  EXPECT_TRUE(r.saveAllowed());
}

TEST(StoredPlaylists, aDamagedFileIsKeptAsideAndNeverOverwritten) {
  ptest::ensureEngine();
  std::string dir = zvtest::freshDir("damaged");
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"truncated.dat", std::string("ZVPL0010\x1c\0\0\0\x05\0\0\0", 16)},
      {"foreign.dat", "#EXTM3U\r\nC:\\a.mp3\r\n"},
      {"empty.dat", ""},
  };
  for (const Case& c : cases) {
    std::string path = dir + "\\" + c.name;
    zvtest::writeFile(path, c.bytes.data(), c.bytes.size());
    ptest::OwnedPl pl;
    StoredLoadResult r = loadStoredPlaylist(pl, path);
    EXPECT_EQ(r.outcome, StoredLoad::keptAside) << c.name;
    EXPECT_EQ(plGetCount(pl), 0) << c.name;
    EXPECT_EQ(r.asidePath, path + ".damaged");
    EXPECT_EQ(text(zvtest::readFile(r.asidePath)), c.bytes) << "the damaged bytes are kept as they were";
    EXPECT_FALSE(exists(path));
    // The shutdown save writes a new file and leaves the one kept aside alone.
    ptest::fill(pl, {"G root@0"});
    ASSERT_TRUE(saveStoredPlaylist(pl, path));
    EXPECT_EQ(text(zvtest::readFile(r.asidePath)), c.bytes);
  }
  // A second damaged start does not replace the first one kept aside.
  std::string path = dir + "\\truncated.dat";
  zvtest::writeFile(path, "garbage", 7);
  ptest::OwnedPl pl;
  EXPECT_EQ(loadStoredPlaylist(pl, path).asidePath, path + ".damaged2");
}

}  // namespace
