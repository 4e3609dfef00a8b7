// The directory cache of CD-ROM volumes. The machine has no CD-ROM drive
// (a fake one needs a wineserver restart, which would disturb the tests
// running beside this one), so the cache runs with a stand-in drive table
// in which Y: and Z: are CD-ROM drives holding the same disc; the folders
// are real ones on Z:.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "files_fixture.h"
#include "playlist/dir_cache.h"
#include "testkit.h"

using pltest::dump;
using pltest::OwnedPl;
using V = std::vector<std::string>;

namespace {

constexpr uint32_t kSerial = 0xABCD0012;

const zv::DriveQueries kCdYZ = {
    [](const char* root) -> UINT {
      char c = char(root[0] | 0x20);
      return (c == 'y' || c == 'z') ? DRIVE_CDROM : DRIVE_FIXED;
    },
    [](const char*, uint32_t* serial) {
      *serial = kSerial;
      return true;
    }};

const zv::DriveQueries kNoDisc = {[](const char*) -> UINT { return DRIVE_CDROM; },
                                  [](const char*, uint32_t*) { return false; }};

using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, uint32_t v) {
  for (int k = 0; k < 4; ++k) b.push_back(uint8_t(v >> (8 * k)));
}

Bytes binaryOf(Playlist pl, const std::string& scratch) {
  EXPECT_EQ(plSave(pl, scratch.c_str(), plSaveBinary), plResultOk);
  return zvtest::readFile(scratch);
}

struct CacheCase {
  std::string cddb, disc, file;
  OwnedPl listing;
  explicit CacheCase(const char* name) {
    pltest::ensureEngine();
    std::string root = zvtest::freshDir(name);
    cddb = root + "\\cddb";
    disc = root + "\\disc";
    pltest::makeTree(disc, {"01.mp3", "02.mp3", "extra\\", "extra\\x.mp3"});
    file = zv::dirCacheFile(cddb, kSerial);
    EXPECT_EQ(plLoad(listing, disc.c_str(), 0), plResultOk);
  }
  std::string on(char drive, const std::string& path) const { return std::string(1, drive) + path.substr(1); }
};

}  // namespace

TEST(DirCache, fileNameFollowsTheVolumeSerial) {
  EXPECT_EQ(zv::dirCacheFile("C:\\db", 0x1A2B), "C:\\db\\rmedia\\00001a2b\\dircache");
  EXPECT_EQ(zv::dirCacheFile("C:\\db", 0xABCDEF01), "C:\\db\\rmedia\\abcdef01\\dircache");
}

TEST(DirCache, storedEntryHasTheLayoutAndComesBackWithTheNewDriveLetter) {
  CacheCase c("store");
  ASSERT_EQ(plGetCount(c.listing), 3);
  zv::storeDirCache(c.listing, c.disc, kCdYZ, c.cddb);
  Bytes expect = {'Z', 'V', 'D', 'C', '0', '0', '0', '2'};
  std::string key = c.disc.substr(3);
  put32(expect, uint32_t(key.size() + 1));
  expect.insert(expect.end(), key.begin(), key.end());
  expect.push_back(0);
  Bytes list = binaryOf(c.listing, c.disc + ".zpl");
  put32(expect, uint32_t(list.size()));
  expect.insert(expect.end(), list.begin(), list.end());
  EXPECT_EQ(zvtest::readFile(c.file), expect);

  // The disc moved to Y:, and the key is matched ignoring case.
  std::string moved = c.on('Y', c.disc);
  CharUpperBuffA(moved.data() + 3, DWORD(moved.size() - 3));
  OwnedPl back;
  ASSERT_TRUE(zv::lookupDirCache(back, moved, kCdYZ, c.cddb));
  V expectNames;
  for (const std::string& line : dump(c.listing)) expectNames.push_back("Y" + line.substr(1));
  EXPECT_EQ(dump(back), expectNames);

  // A second store of the same key writes nothing.
  zv::storeDirCache(c.listing, moved, kCdYZ, c.cddb);
  EXPECT_EQ(zvtest::readFile(c.file), expect);
  // Nothing for other places, a drive without a disc, or a non-CD drive.
  EXPECT_FALSE(zv::lookupDirCache(back, c.disc + "\\extra", kCdYZ, c.cddb));
  EXPECT_FALSE(zv::lookupDirCache(back, c.disc, kNoDisc, c.cddb));
  EXPECT_FALSE(zv::lookupDirCache(back, c.on('C', c.disc), kCdYZ, c.cddb));
}

TEST(DirCache, noCacheIsWrittenForWhatIsNotOnACd) {
  CacheCase c("noncd");
  zv::storeDirCache(c.listing, c.on('C', c.disc), kCdYZ, c.cddb);
  zv::storeDirCache(c.listing, c.disc, kNoDisc, c.cddb);
  zv::storeDirCache(c.listing, "Z:", kCdYZ, c.cddb);
  EXPECT_FALSE(pltest::exists(c.cddb));
  // Through plLoad: Z: is a hard disk to the engine, so its cache folder
  // (the test's own "cddbDir") stays empty.
  OwnedPl pl;
  ASSERT_EQ(plLoad(pl, c.disc.c_str(), 0), plResultOk);
  EXPECT_FALSE(pltest::exists(zvtest::testDir() + "\\cddb\\rmedia"));
}

TEST(DirCache, overLongKeysAreNeitherWrittenNorRead) {
  CacheCase c("longkey");
  std::string longLocation = "Z:\\" + std::string(260, 'k');
  zv::storeDirCache(c.listing, longLocation, kCdYZ, c.cddb);
  EXPECT_FALSE(pltest::exists(c.file)) << "260 characters and the NUL do not fit";
  std::string fits = longLocation.substr(0, 3 + 259);
  zv::storeDirCache(c.listing, fits, kCdYZ, c.cddb);
  EXPECT_TRUE(pltest::exists(c.file)) << "259 characters and the NUL do";
  OwnedPl back;
  EXPECT_TRUE(zv::lookupDirCache(back, fits, kCdYZ, c.cddb));
  EXPECT_FALSE(zv::lookupDirCache(back, longLocation, kCdYZ, c.cddb));
}

// Damaged cache files: every walk ends or skips, none reads past the file.
TEST(DirCache, damagedEntriesEndTheWalkOrAreSkipped) {
  CacheCase c("damaged");
  std::string second = c.disc + "\\extra";
  OwnedPl extra;
  ASSERT_EQ(plLoad(extra, second.c_str(), 0), plResultOk);
  zv::storeDirCache(c.listing, c.disc, kCdYZ, c.cddb);
  size_t firstEnd = zvtest::readFile(c.file).size();
  zv::storeDirCache(extra, second, kCdYZ, c.cddb);
  const Bytes good = zvtest::readFile(c.file);
  ASSERT_GT(good.size(), firstEnd);
  OwnedPl pl;
  ASSERT_TRUE(zv::lookupDirCache(pl, second, kCdYZ, c.cddb));
  EXPECT_EQ(dump(pl), dump(extra));

  auto at32 = [](Bytes& b, size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = uint8_t(v >> (8 * k));
  };
  size_t keyLen = c.disc.size() - 3 + 1;
  struct Row {
    const char* what;
    std::function<void(Bytes&)> damage;
    bool firstFound, secondFound;
  };
  const Row rows[] = {
      {"cut inside the second entry", [&](Bytes& b) { b.resize(b.size() - 7); }, true, false},
      {"cut inside the first key", [&](Bytes& b) { b.resize(8 + 4 + 3); }, false, false},
      {"first key length huge", [&](Bytes& b) { at32(b, 8, 0xFFFFFFF0u); }, false, false},
      {"first key length zero", [&](Bytes& b) { at32(b, 8, 0); }, false, false},
      {"first playlist length past the end", [&](Bytes& b) { at32(b, 12 + keyLen, 0x7FFFFFFF); }, false, false},
      {"first playlist length too short for its playlist",
       [&](Bytes& b) { at32(b, 12 + keyLen, 20); }, false, false},
      {"wrong magic", [&](Bytes& b) { b[0] = 'X'; }, false, false},
  };
  for (const Row& r : rows) {
    Bytes bad = good;
    r.damage(bad);
    zvtest::writeFile(c.file, bad.data(), bad.size());
    OwnedPl a, b;
    EXPECT_EQ(zv::lookupDirCache(a, c.disc, kCdYZ, c.cddb), r.firstFound) << r.what;
    EXPECT_EQ(zv::lookupDirCache(b, second, kCdYZ, c.cddb), r.secondFound) << r.what;
    if (!r.secondFound) {
      EXPECT_EQ(plGetCount(b), 0) << r.what;
    }
    // Storing again repairs the file: the damaged tail is cut off (or a
    // foreign file started afresh) and the entry is reachable.
    zv::storeDirCache(extra, second, kCdYZ, c.cddb);
    OwnedPl again;
    EXPECT_TRUE(zv::lookupDirCache(again, second, kCdYZ, c.cddb)) << r.what;
    EXPECT_EQ(dump(again), dump(extra)) << r.what;
  }

  // An over-long stored key (longer than any key may be) is stepped over.
  Bytes skip = {'Z', 'V', 'D', 'C', '0', '0', '0', '2'};
  put32(skip, 300);
  skip.insert(skip.end(), 300, 'q');
  put32(skip, 0);
  skip.insert(skip.end(), good.begin() + 8, good.end());
  zvtest::writeFile(c.file, skip.data(), skip.size());
  OwnedPl found;
  EXPECT_TRUE(zv::lookupDirCache(found, second, kCdYZ, c.cddb));
  EXPECT_EQ(dump(found), dump(extra));
}
