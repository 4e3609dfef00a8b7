// The engine's caches and CD title files under the UTF-8 active code page
// (this program has the player's manifest): the information cache
// ("zvcache", "ZVCH0005") of a folder named in Greek, Japanese and with an
// emoji stores its names as UTF-8 and finds them in any case; a cache that
// a player in the legacy code page wrote is read by its converted names and
// rewritten in UTF-8; the directory cache ("ZVDC0002") finds a folder by a
// key stored in UTF-8 or, from before, in 1252; the CD database's xmcd
// files carry UTF-8; a cdplayer.ini that the CD Player wrote in 1252 gives
// its titles as their characters.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "playlist/dir_cache.h"
#include "testkit.h"
#include "win32/owners.h"
#include "zv_cddb.h"
#include "zv_infocache.h"
#include "zv_memory.h"
#include "zv_playlist.h"

namespace {

// "Μουσική 音楽 🎵": a folder name no legacy code page holds.
const std::string kFolderName = "\xCE\x9C\xCE\xBF\xCF\x85\xCF\x83\xCE\xB9\xCE\xBA\xCE\xAE \xE9\x9F\xB3\xE6\xA5\xBD \xF0\x9F\x8E\xB5";
const std::string kSong = "\xCF\x89\xCE\xB4\xCE\xAE \xE6\x9B\xB2.mp3";       // "ωδή 曲.mp3"
const std::string kSongUpper = "\xCE\xA9\xCE\x94\xCE\x89 \xE6\x9B\xB2.MP3";  // "ΩΔΉ 曲.MP3"

struct OwnedPl {
  Playlist pl = createPlaylist(-1);
  ~OwnedPl() { freePlaylist(pl); }
};

void put32(std::string& out, uint32_t v) {
  for (int k = 0; k < 4; ++k) out += char(uint8_t(v >> (8 * k)));
}
uint32_t get32(const std::string& in, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, in.data() + at, 4);
  return v;
}

std::string fileText(const std::string& path) {
  auto bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

// A "ZVCH0005" file of (file name, record name, text) entries.
struct CacheEntry {
  std::string file, record, data;
};
std::string cacheFileBytes(const std::vector<CacheEntry>& entries) {
  std::string index, storage;
  for (const CacheEntry& e : entries) {
    std::string body = e.file + '\0' + e.record + '\0';
    put32(body, uint32_t(e.data.size()));
    body += e.data;
    put32(index, uint32_t(storage.size()));
    put32(storage, uint32_t(body.size()));
    storage += body;
  }
  std::string out = "ZVCH0005";
  put32(out, uint32_t(entries.size()));
  put32(out, 4096);
  put32(out, uint32_t(storage.size()));
  put32(out, 20480);
  return out + index + storage;
}
// The media file names of a cache file, in order.
std::vector<std::string> cachedNames(const std::string& path) {
  const std::string b = fileText(path);
  std::vector<std::string> names;
  if (b.size() < 24 || b.compare(0, 8, "ZVCH0005") != 0) return names;
  const uint32_t count = get32(b, 8);
  const size_t storage = 24 + size_t(count) * 4;
  for (uint32_t i = 0; i < count && storage <= b.size(); ++i) {
    const size_t at = storage + get32(b, 24 + size_t(i) * 4) + 4;
    if (at < b.size()) names.push_back(std::string(b.c_str() + at));
  }
  return names;
}

// The engine keeps a few folders' caches open and writes one when it
// drops it: records set in other folders push these out.
void flushCaches() {
  static int round = 0;
  ++round;
  for (int i = 0; i < 16; ++i) {
    const std::string dir = zvtest::freshDir("flush" + std::to_string(round) + "_" + std::to_string(i));
    setCacheRec((dir + "\\scratch.mp3").c_str(), "FLUSH", "x");
  }
}

std::string cacheText(const std::string& path, const char* record) {
  char text[256] = {};
  cacheRec(path.c_str(), record, text, sizeof text - 1);
  return text;
}

class Utf8Caches : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest sets UTF-8"; }
};

TEST_F(Utf8Caches, informationCacheOfSuchAFolderStoresUtf8AndFindsAnyCase) {
  const std::string dir = zvtest::freshDir("infocache") + "\\" + kFolderName;
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  setCacheRec((dir + "\\" + kSong).c_str(), "DESC", "\xE5\xA4\x9C");
  EXPECT_EQ(cacheText(dir + "\\" + kSongUpper, "desc"), "\xE5\xA4\x9C") << "Greek letters fold case too";
  flushCaches();
  EXPECT_EQ(cachedNames(dir + "\\zvcache"), std::vector<std::string>{kSong});
  EXPECT_EQ(cacheText(dir + "\\" + kSong, "DESC"), "\xE5\xA4\x9C") << "read back from the file";
}

TEST_F(Utf8Caches, legacyInformationCacheIsReadConvertedAndRewrittenInUtf8) {
  const std::string dir = zvtest::freshDir("legacycache") + "\\caf\xC3\xA9";
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  // "résumé.mp3" as a player in code page 1252 stored it.
  const std::string bytes = cacheFileBytes({{"r\xE9sum\xE9.mp3", "DESC", std::string("Sch\xF6n\0", 6)}});
  ASSERT_TRUE(zvtest::writeFile(dir + "\\zvcache", bytes.data(), bytes.size()));
  const std::string song = dir + "\\r\xC3\xA9sum\xC3\xA9.mp3";
  EXPECT_EQ(cacheText(song, "DESC"), "Sch\xF6n") << "found by the converted name; the record's bytes stay";
  setCacheRec(song.c_str(), "INFO", "x");
  flushCaches();
  EXPECT_EQ(cachedNames(dir + "\\zvcache"), (std::vector<std::string>{"r\xC3\xA9sum\xC3\xA9.mp3",
                                                                      "r\xC3\xA9sum\xC3\xA9.mp3"}));
}

// The directory cache runs with a stand-in drive table in which Z: is a
// CD-ROM drive (no CD-ROM drive exists here).
constexpr uint32_t kSerial = 0x20260020;
const zv::DriveQueries kCdZ = {[](const char* root) -> UINT { return (root[0] | 0x20) == 'z' ? DRIVE_CDROM : DRIVE_FIXED; },
                               [](const char*, uint32_t* serial) {
                                 *serial = kSerial;
                                 return true;
                               }};

struct DiscFolder {
  std::string cddb, disc;
  OwnedPl listing;
  DiscFolder(const char* name, const std::string& folder) {
    const std::string root = zvtest::freshDir(name);
    cddb = root + "\\cddb";
    disc = root + "\\" + folder;
    EXPECT_TRUE(CreateDirectoryA(disc.c_str(), nullptr));
    EXPECT_TRUE(zvtest::writeFile(disc + "\\" + kSong, "x", 1));
    EXPECT_EQ(plLoad(listing.pl, disc.c_str(), 0), plResultOk);
  }
};

TEST_F(Utf8Caches, directoryCacheKeyedByAUtf8FolderName) {
  DiscFolder d("dircache", kFolderName);
  zv::storeDirCache(d.listing.pl, d.disc, kCdZ, d.cddb);
  const std::string file = zv::dirCacheFile(d.cddb, kSerial);
  const std::string stored = fileText(file);
  EXPECT_NE(stored.find(d.disc.substr(3) + '\0'), std::string::npos) << "the key in UTF-8";
  OwnedPl back;
  ASSERT_TRUE(zv::lookupDirCache(back.pl, d.disc, kCdZ, d.cddb));
  ASSERT_EQ(plGetCount(back.pl), plGetCount(d.listing.pl));
  EXPECT_EQ(std::string(plGetName(back.pl, 0)), std::string(plGetName(d.listing.pl, 0)));
}

TEST_F(Utf8Caches, directoryCacheKeyStoredIn1252IsStillFound) {
  DiscFolder d("dircache1252", "caf\xC3\xA9");
  // The entry as the program stored it in code page 1252: the key and the
  // binary playlist's name in 1252.
  const std::string legacyDisc = d.disc.substr(0, d.disc.size() - 2) + "\xE9";
  const std::string scratch = d.disc + ".zpl";
  OwnedPl legacy;
  PlaylistLine rec{};
  plAddLine(legacy.pl, &rec, (legacyDisc + "\\song.mp3").c_str(), nullptr, nullptr);
  ASSERT_EQ(plSave(legacy.pl, scratch.c_str(), plSaveBinary | plSaveNoNotify), plResultOk);
  const std::string key = legacyDisc.substr(3);
  std::string bytes = "ZVDC0002";
  put32(bytes, uint32_t(key.size() + 1));
  bytes += key + '\0';
  const std::string list = fileText(scratch);
  put32(bytes, uint32_t(list.size()));
  bytes += list;
  const std::string file = zv::dirCacheFile(d.cddb, kSerial);
  ASSERT_EQ(SHCreateDirectoryExA(nullptr, file.substr(0, file.rfind('\\')).c_str(), nullptr), ERROR_SUCCESS);
  ASSERT_TRUE(zvtest::writeFile(file, bytes.data(), bytes.size()));

  OwnedPl back;
  ASSERT_TRUE(zv::lookupDirCache(back.pl, d.disc, kCdZ, d.cddb)) << "the 1252 key names this folder";
  ASSERT_EQ(plGetCount(back.pl), 1);
  EXPECT_EQ(std::string(plGetName(back.pl, 0)), d.disc + "\\song.mp3") << "the stored name converted";
  zv::storeDirCache(d.listing.pl, d.disc, kCdZ, d.cddb);
  EXPECT_EQ(fileText(file), bytes) << "the folder is there already: nothing appended";
}

TEST_F(Utf8Caches, xmcdFileCarriesUtf8Titles) {
  const uint32_t id = 0x20202001;
  ZvCddbInfo info = {};
  info.trackCount = 2;
  info.frameOffsets[0] = 150, info.frameOffsets[1] = 3150, info.leadOut = 6150;
  std::strcpy(info.discTitle, "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC / \xE5\xA4\x9C");
  info.trackTitles[1] = _stralloc("\xE6\x9B\xB2 \xF0\x9F\x8E\xB8");
  ASSERT_TRUE(cddbSetInfo(id, &info));
  cddbFreeInfo(&info);
  const std::string text = fileText(zvtest::rootDir() + "\\cddb\\20202001.cdb");
  EXPECT_NE(text.find("DTITLE=\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC / \xE5\xA4\x9C"),
            std::string::npos) << text;
  EXPECT_NE(text.find("TTITLE1=\xE6\x9B\xB2 \xF0\x9F\x8E\xB8"), std::string::npos);
  ZvCddbInfo back = {};
  ASSERT_TRUE(cddbGetInfo(id, &back));
  EXPECT_STREQ(back.trackTitles[1], "\xE6\x9B\xB2 \xF0\x9F\x8E\xB8");
  cddbFreeInfo(&back);
}

TEST_F(Utf8Caches, cdPlayerIniIn1252GivesItsTitlesAsCharacters) {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string ini = std::string(windows) + "\\cdplayer.ini";
  // Appended as the CD Player wrote it; other tests edit other sections of
  // the same file through the system's profile functions, which may write
  // back a copy read before the append, so the section is put again until
  // it is read.
  const std::string section =
      "\r\n[UTF8C0DE]\r\nartist=Bj\xF6rk\r\ntitle=Caf\xE9 \x96 Live\r\nnumtracks=2\r\n0=Na\xEFve\r\n1=\"Gr\xFC\xDF" "e\"\r\n";
  ZvCddbInfo info = {};
  auto query = [&] {
    if (fileText(ini).find("[UTF8C0DE]") == std::string::npos) {
      zv::UniqueFile f(CreateFileA(ini.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_ALWAYS, 0, nullptr));
      DWORD put = 0;
      if (!f || !WriteFile(f.get(), section.data(), DWORD(section.size()), &put, nullptr)) return false;
    }
    cddbFreeInfo(&info);
    std::memset(&info, 0, sizeof info);
    info.trackCount = 2;
    std::strcpy(info.mciId, "UTF8C0DE");
    cddbQueryInfo(0, &info);
    return info.trackTitles[0] != nullptr;
  };
  ASSERT_TRUE(zvtest::waitFor(query, 5000));
  EXPECT_STREQ(info.discTitle, "Bj\xC3\xB6rk / Caf\xC3\xA9 \xE2\x80\x93 Live");
  EXPECT_STREQ(info.trackTitles[0], "Na\xC3\xAFve");
  ASSERT_NE(info.trackTitles[1], nullptr);
  EXPECT_STREQ(info.trackTitles[1], "Gr\xC3\xBC\xC3\x9F" "e") << "quotes dropped as the system's reader does";
  cddbFreeInfo(&info);
  WritePrivateProfileStringA("UTF8C0DE", nullptr, nullptr, ini.c_str());
}

}  // namespace
