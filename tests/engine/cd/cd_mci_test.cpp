// Reading discs through MCI: the simulated drive answers the same requests
// a real drive does.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cd_fixture.h"
#include "testkit.h"
#include "zv_cdaudio.h"
#include "zv_cddb.h"
#include "zv_memory.h"

using cdtest::InfoGuard;
using cdtest::SimDisc;

namespace {

// Three tracks at 0:02:00, 3:10:20 and 6:40:05, the last 4:00:10 long.
SimDisc threeTracks(const std::string& identity) {
  SimDisc disc;
  disc.starts = {150, 190 * 75 + 20, 400 * 75 + 5};
  disc.leadOut = 48016;
  disc.identity = identity;
  return disc;
}

std::string cdPlayerIni() {
  char dir[MAX_PATH] = {};
  GetWindowsDirectoryA(dir, MAX_PATH);
  return std::string(dir) + "\\cdplayer.ini";
}

TEST(CddbId, readsTheDiscIdThroughMci) {
  cdtest::insertDisc(threeTracks("1000"));
  EXPECT_EQ(cddbId('D'), 0x10027E03u);
  EXPECT_NE(cdtest::simLog().find("open D:"), std::string::npos);
  EXPECT_NE(cdtest::simLog().find("close"), std::string::npos);  // the device is not left open
}

TEST(CddbId, anEmptyDriveGivesZeroAndNoIdentity) {
  cdtest::ejectDisc();
  EXPECT_EQ(cddbId('D'), 0u);
  char identity[16] = "stale";
  getCDId('D', identity);
  EXPECT_STREQ(identity, "");
  InfoGuard g;
  EXPECT_EQ(cddbCreateInfo('D', &g.info), 0);
}

TEST(GetCDId, writesTheIdentityInUpperCaseHexadecimal) {
  cdtest::insertDisc(threeTracks("123456789"));
  char identity[16] = {};
  getCDId('D', identity);
  EXPECT_STREQ(identity, "75BCD15");
  cdtest::insertDisc(threeTracks("1152921504606846975"));  // fifteen digits fill the 16 bytes
  char wide[20];
  std::memset(wide, 'x', sizeof(wide));
  getCDId('D', wide);
  EXPECT_STREQ(wide, "FFFFFFFFFFFFFFF");
  cdtest::insertDisc(threeTracks("18446744073709551615"));  // one digit more is cut, never overrun
  std::memset(wide, 'x', sizeof(wide));
  getCDId('D', wide);
  EXPECT_EQ(wide[15], 0);
  EXPECT_EQ(wide[16], 'x');
}

TEST(CddbCreateInfo, buildsTheRecordFromTheDiscAndTheCdPlayerDatabase) {
  cdtest::insertDisc(threeTracks("305419896"));  // 12345678 in hexadecimal
  std::string ini = cdPlayerIni();
  WritePrivateProfileStringA("12345678", nullptr, nullptr, ini.c_str());
  WritePrivateProfileStringA("12345678", "artist", "Ini Artist", ini.c_str());
  WritePrivateProfileStringA("12345678", "1", "Second from ini", ini.c_str());
  InfoGuard g;
  ASSERT_EQ(cddbCreateInfo('D', &g.info), -1);
  WritePrivateProfileStringA("12345678", nullptr, nullptr, ini.c_str());
  EXPECT_EQ(g.info.discId, 0x10027E03u);
  EXPECT_EQ(g.info.trackCount, 3);
  EXPECT_EQ(g.info.frameOffsets[0], 150);
  EXPECT_EQ(g.info.frameOffsets[1], 14270);
  EXPECT_EQ(g.info.frameOffsets[2], 30005);
  EXPECT_EQ(g.info.leadOut, 48016);
  EXPECT_EQ(g.info.discLengthSeconds, 640);
  EXPECT_EQ(g.info.revision, 0);
  EXPECT_STREQ(g.info.submittedVia, "Zorvak_CDDB_Engine 1.0alpha");
  EXPECT_STREQ(g.info.mciId, "12345678");
  EXPECT_STREQ(g.info.discTitle, "Ini Artist");  // only the artist is known
  EXPECT_EQ(g.info.trackTitles[0], nullptr);
  ASSERT_NE(g.info.trackTitles[1], nullptr);
  EXPECT_STREQ(g.info.trackTitles[1], "Second from ini");
}

// A driver whose media identity is not a decimal number: the drive list
// knows no identity, while the database record keeps the driver's text.
TEST(CddbCreateInfo, keepsAnIdentityThatIsNoNumberAsTheDriverGaveIt) {
  const struct {
    const char* identity;
    const char* getCdId;
    const char* mciId;
  } cases[] = {
      {"12AB", "", "12AB"},
      {"42 ", "", "42 "},
      {"255", "FF", "FF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.identity);
    cdtest::insertDisc(threeTracks(c.identity));
    char identity[16];
    std::memset(identity, 'x', sizeof(identity));
    getCDId('D', identity);
    EXPECT_STREQ(identity, c.getCdId);
    InfoGuard g;
    ASSERT_EQ(cddbCreateInfo('D', &g.info), -1);
    EXPECT_STREQ(g.info.mciId, c.mciId);
  }
}

TEST(CddbQueryInfo, takesArtistAndTitleTogetherAndLeavesTitlesWithoutEntries) {
  std::string ini = cdPlayerIni();
  WritePrivateProfileStringA("ABCDEF", "artist", "A", ini.c_str());
  WritePrivateProfileStringA("ABCDEF", "title", "T", ini.c_str());
  WritePrivateProfileStringA("ABCDEF", "0", "", ini.c_str());
  InfoGuard g;
  g.info.trackCount = 1;
  std::strcpy(g.info.mciId, "ABCDEF");
  std::strcpy(g.info.discTitle, "old");
  g.info.trackTitles[0] = _stralloc("kept");
  EXPECT_EQ(cddbQueryInfo(1, &g.info), -1);
  WritePrivateProfileStringA("ABCDEF", nullptr, nullptr, ini.c_str());
  EXPECT_STREQ(g.info.discTitle, "A / T");
  EXPECT_STREQ(g.info.trackTitles[0], "kept");
}

void writeArchiveFile(const std::string& relative, const std::string& text) {
  std::string path = cdtest::titleArchive() + "\\" + relative;
  CreateDirectoryA(path.substr(0, path.rfind('\\')).c_str(), nullptr);
  zvtest::writeFile(path, text.data(), text.size());
}

TEST(TitleLibrary, fillsTitlesFromTheArchiveEntryWhoseOffsetsMatch) {
  SimDisc disc;
  disc.starts = {150, 9000};
  disc.leadOut = 20000;
  disc.identity = "4242";
  // 150 -> 2 s, 9000 -> 120 s: digit sums 2 + 3; 266 - 2 = 264 s; 2 tracks.
  const char* id = "05010802";
  writeArchiveFile(std::string("jazz\\") + id,
                   "# Track frame offsets:\n# 150\n# 9100\n#\nDTITLE=Wrong / Disc\nTTITLE0=no\n");
  writeArchiveFile(std::string("rock\\") + id,
                   "# xmcd\r\n# Track frame offsets:\r\n#\t150\r\n#\t9000\r\n#\r\nDISCID=05010802\r\n"
                   "DTITLE=Right Artist / Right \r\nDTITLE=Album\r\nTTITLE0=Caf\xc3\xa9\r\nTTITLE1=\r\n");
  cdtest::insertDisc(disc);
  InfoGuard g;
  ASSERT_EQ(cddbCreateInfo('D', &g.info), -1);
  ASSERT_EQ(g.info.discId, 0x05010802u);
  EXPECT_STREQ(g.info.discTitle, "Right Artist / Right Album");
  ASSERT_NE(g.info.trackTitles[0], nullptr);
  if (GetACP() == 1252) {
    EXPECT_STREQ(g.info.trackTitles[0], "Caf\xe9");  // UTF-8 archives become the code page
  }
  EXPECT_EQ(g.info.trackTitles[1], nullptr);
}

TEST(TitleLibrary, leavesTitlesAloneForAnUnknownDisc) {
  SimDisc disc;
  disc.starts = {150, 5000, 7000};
  disc.leadOut = 9000;
  cdtest::insertDisc(disc);
  cdtest::titleArchive();
  InfoGuard g;
  ASSERT_EQ(cddbCreateInfo('D', &g.info), -1);
  EXPECT_STREQ(g.info.discTitle, "");
  EXPECT_EQ(g.info.trackTitles[0], nullptr);
}

}  // namespace
