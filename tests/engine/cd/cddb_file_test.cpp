// The CD database files: reading real-world xmcd files, writing our own,
// and the disc id.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "cd_fixture.h"
#include "discs/disc_toc.h"
#include "testkit.h"
#include "zv_cddb.h"
#include "zv_memory.h"

using cdtest::InfoGuard;

namespace {

std::string title(const ZvCddbInfo& info, int n) { return info.trackTitles[n] ? info.trackTitles[n] : "<null>"; }

struct ReadCase {
  const char* name;
  std::string text;
  int32_t trackCount;
  std::vector<int32_t> offsets;
  int32_t leadOut;
  int32_t discLength;
  int32_t revision;
  std::string discTitle;
  std::vector<std::string> titles;  // "<null>" for none
  std::string extendedDisc;
  std::vector<int32_t> playOrder;
};

std::vector<ReadCase> readCases() {
  return {
      {"freedb dump file, Unix line ends",
       "# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t21052\n#\t41897\n#\n# Disc length: 2710 seconds\n#\n"
       "# Revision: 3\n# Processed by: cddbd v1.5.2PL0\n# Submitted via: ExampleTagger 2.1\n#\n"
       "DISCID=2a0a9a03\nDTITLE=Some Artist / Some Album\nDYEAR=1999\nDGENRE=Rock\n"
       "TTITLE0=First\nTTITLE1=Second\nTTITLE2=Third\nEXTD= YEAR: 1999\nEXTT0=\nEXTT1=\nEXTT2=\nPLAYORDER=\n",
       3, {150, 21052, 41897}, 0, 2710, 3, "Some Artist / Some Album", {"First", "Second", "Third"}, " YEAR: 1999", {}},
      {"DOS line ends and values continued on the next line",
       "# xmcd\r\n# Track frame offsets:\r\n# 150\r\n# 9000\r\n#\r\nDTITLE=A rather long artist name / \r\n"
       "DTITLE=and the album\r\nTTITLE0=Part one\r\nTTITLE1=Part \r\nTTITLE1=two\r\n",
       2, {150, 9000}, 0, 0, 0, "A rather long artist name / and the album", {"Part one", "Part two"}, "", {}},
      {"stray keys and lines are skipped",
       "garbage without equals\n=no key\nTTITLEx=not a number\nTTITLE999=beyond the table\nFOO=bar\n"
       "  TTITLE1 = spaced  \n#\n# unknown comment\n",
       2, {0, 0}, 0, 0, 0, "", {"not a number", "spaced"}, "", {}},
      {"bytes outside ASCII are kept",
       "DTITLE=Bj\xf6rk / Homog\xe9nic\nTTITLE0=J\xf3ga\nTTITLE1=\x93\x4c\x8b\x9e\n", 2, {0, 0}, 0, 0, 0,
       "Bj\xf6rk / Homog\xe9nic", {"J\xf3ga", "\x93\x4c\x8b\x9e"}, "", {}},
      {"a title without offsets sets the track count", "TTITLE3=Fourth\n", 4, {0, 0, 0, 0}, 0, 0, 0, "",
       {"<null>", "<null>", "<null>", "Fourth"}, "", {}},
      {"a disc length without the word seconds reads as 0",
       "# Disc length: 2710\n# Revision: 7\n# Leadout: 203250\n", 0, {}, 203250, 0, 7, "", {}, "", {}},
      {"a later disc title replaces an earlier one", "DTITLE=A / B\nTTITLE0=x\nDTITLE=C\n", 1, {0}, 0, 0, 0, "C",
       {"x"}, "", {}},
      {"the offset list ends at the first comment that is no number",
       "# TRACK FRAME OFFSETS:\n# 150\n#\n# 12345\n# Disc length: 100 seconds\n", 1, {150}, 0, 100, 0, "", {"<null>"},
       "", {}},
      {"play order parts that are no number read as 0", "PLAYORDER=3, 1,x,2\n", 0, {}, 0, 0, 0, "", {}, "",
       {3, 1, 0, 2}},
      {"escapes in extended data", "EXTD=line1\\nline2\\\\x\\tz\\q\nEXTD= and more \n", 0, {}, 0, 0, 0, "", {},
       "line1\nline2\\x\tzq and more ", {}},
      {"an empty file", "", 0, {}, 0, 0, 0, "", {}, "", {}},
  };
}

TEST(CddbGetInfo, readsRealWorldFiles) {
  uint32_t id = 0x5A000000;
  for (const ReadCase& c : readCases()) {
    SCOPED_TRACE(c.name);
    cdtest::writeDiscFile(++id, c.text);
    InfoGuard g;
    ASSERT_EQ(cddbGetInfo(id, &g.info), -1);
    EXPECT_EQ(g.info.discId, id);
    EXPECT_EQ(g.info.trackCount, c.trackCount);
    for (size_t i = 0; i < c.offsets.size(); ++i) EXPECT_EQ(g.info.frameOffsets[i], c.offsets[i]) << i;
    EXPECT_EQ(g.info.leadOut, c.leadOut);
    EXPECT_EQ(g.info.discLengthSeconds, c.discLength);
    EXPECT_EQ(g.info.revision, c.revision);
    EXPECT_EQ(std::string(g.info.discTitle), c.discTitle);
    for (size_t i = 0; i < c.titles.size(); ++i) EXPECT_EQ(title(g.info, int(i)), c.titles[i]) << i;
    EXPECT_EQ(std::string(g.info.extendedDisc ? g.info.extendedDisc : ""), c.extendedDisc);
    ASSERT_EQ(g.info.playOrderCount, int32_t(c.playOrder.size()));
    for (size_t i = 0; i < c.playOrder.size(); ++i) EXPECT_EQ(g.info.playOrder[i], c.playOrder[i]);
  }
}

TEST(CddbGetInfo, longValuesAreCutOnlyInTheFixedFields) {
  std::string longTitle(300, 'd'), longTrack(5000, 't');
  cdtest::writeDiscFile(0x5A100001, "DTITLE=" + longTitle + "\nTTITLE0=" + longTrack + "\n# Submitted via: " +
                                        std::string(200, 's') + "\n# MCI ID: " + std::string(40, 'F') + "\n");
  InfoGuard g;
  ASSERT_EQ(cddbGetInfo(0x5A100001, &g.info), -1);
  EXPECT_EQ(std::string(g.info.discTitle), longTitle.substr(0, 79));
  EXPECT_EQ(std::string(g.info.submittedVia), std::string(79, 's'));
  EXPECT_EQ(std::string(g.info.mciId), std::string(15, 'F'));
  EXPECT_EQ(title(g.info, 0), longTrack);
}

TEST(CddbGetInfo, missingFileLeavesOnlyTheDiscId) {
  InfoGuard g;
  std::memset(&g.info, 0x55, offsetof(ZvCddbInfo, extendedDisc));
  EXPECT_EQ(cddbGetInfo(0x5A1FFFFF, &g.info), 0);
  EXPECT_EQ(g.info.discId, 0x5A1FFFFFu);
  EXPECT_EQ(g.info.trackCount, 0);
  EXPECT_EQ(g.info.discTitle[0], 0);
  EXPECT_EQ(g.info.trackTitles[0], nullptr);
}

ZvCddbInfo sampleRecord() {
  ZvCddbInfo info = {};
  info.trackCount = 2;
  info.frameOffsets[0] = 150;
  info.frameOffsets[1] = 20000;
  info.leadOut = 40000;
  info.discLengthSeconds = 533;
  info.revision = 4;
  std::strcpy(info.discTitle, "Artist / Album");
  std::strcpy(info.mciId, "75BCD15");
  info.trackTitles[0] = _stralloc("One");
  info.playOrderCount = 3;
  info.playOrder[0] = 1;
  info.playOrder[1] = 0;
  info.playOrder[2] = 1;
  return info;
}

TEST(CddbSetInfo, writesTheLinesInOrder) {
  InfoGuard g;
  g.info = sampleRecord();
  ASSERT_EQ(cddbSetInfo(0x5A200001, &g.info), -1);
  EXPECT_EQ(cdtest::readDiscFile(0x5A200001),
            "# xmcd\r\n#\r\n# Track frame offsets:\r\n# 150\r\n# 20000\r\n#\r\n# Leadout: 40000\r\n"
            "# Disc length: 533 seconds\r\n# MCI ID: 75BCD15\r\n#\r\n# Revision: 5\r\n"
            "# Submitted via: Zorvak_CDDB_Engine 1.0alpha\r\n#\r\nDISCID=5A200001\r\nDTITLE=Artist / Album\r\n"
            "TTITLE0=One\r\nTTITLE1=\r\nPLAYORDER=1,0,1\r\n");
  EXPECT_FALSE(zvtest::readFile(cdtest::discFile(0x5A200001) + ".tmp").size() > 0);
}

TEST(CddbSetInfo, everySaveCountsTheRevisionUp) {
  InfoGuard g;
  g.info = sampleRecord();
  ASSERT_EQ(cddbSetInfo(0x5A200002, &g.info), -1);
  ASSERT_EQ(cddbSetInfo(0x5A200002, &g.info), -1);
  InfoGuard back;
  ASSERT_EQ(cddbGetInfo(0x5A200002, &back.info), -1);
  EXPECT_EQ(back.info.revision, 6);
  ASSERT_EQ(cddbSetInfo(0x5A200002, &back.info), -1);
  InfoGuard third;
  ASSERT_EQ(cddbGetInfo(0x5A200002, &third.info), -1);
  EXPECT_EQ(third.info.revision, 7);
}

TEST(CddbSetInfo, savesWhileAnotherThreadReadsTheRecord) {
  // The scanner reads records (descriptions) while the player saves them
  // (renames): a save must not fail because a read holds the file.
  const uint32_t id = 0x5A200009;
  InfoGuard g;
  g.info = sampleRecord();
  ASSERT_EQ(cddbSetInfo(id, &g.info), -1);
  std::atomic<bool> stop{false};
  std::atomic<int> reads{0};
  std::thread reader([&] {
    while (!stop) {
      InfoGuard r;
      if (cddbGetInfo(id, &r.info)) ++reads;
    }
  });
  int failed = 0;
  for (int i = 0; i < 60; ++i) {
    std::snprintf(g.info.discTitle, sizeof(g.info.discTitle), "Take %d", i);
    if (!cddbSetInfo(id, &g.info)) ++failed;
    if (i == 0) zvtest::waitFor([&] { return reads > 0; }, 5000);
  }
  stop = true;
  reader.join();
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(failed, 0) << "saves refused while the record was being read";
  InfoGuard back;
  ASSERT_EQ(cddbGetInfo(id, &back.info), -1);
  EXPECT_STREQ(back.info.discTitle, "Take 59");
}

TEST(CddbSetInfo, replacesAReadOnlyFile) {
  cdtest::writeDiscFile(0x5A200003, "DTITLE=old\n");
  SetFileAttributesA(cdtest::discFile(0x5A200003).c_str(), FILE_ATTRIBUTE_READONLY);
  InfoGuard g;
  g.info = sampleRecord();
  ASSERT_EQ(cddbSetInfo(0x5A200003, &g.info), -1);
  InfoGuard back;
  ASSERT_EQ(cddbGetInfo(0x5A200003, &back.info), -1);
  EXPECT_STREQ(back.info.discTitle, "Artist / Album");
}

TEST(CddbSetInfo, extendedDataSurvivesAWriteAndARead) {
  const std::string texts[] = {"line one\nback\\slash\tand tab", std::string(60, ' ') + "x  ",
                               std::string(61, 'a') + "\\" + std::string(70, 'b') + "\r\n\xe9\xe8 end "};
  uint32_t id = 0x5A300000;
  for (const std::string& text : texts) {
    InfoGuard g;
    g.info.trackCount = 3;
    g.info.extendedDisc = _stralloc(text.c_str());
    g.info.extendedTracks[2] = _stralloc(text.c_str());
    ASSERT_EQ(cddbSetInfo(++id, &g.info), -1);
    InfoGuard back;
    ASSERT_EQ(cddbGetInfo(id, &back.info), -1);
    ASSERT_NE(back.info.extendedDisc, nullptr);
    EXPECT_EQ(std::string(back.info.extendedDisc), text);
    ASSERT_NE(back.info.extendedTracks[2], nullptr);
    EXPECT_EQ(std::string(back.info.extendedTracks[2]), text);
    EXPECT_EQ(back.info.extendedTracks[1], nullptr);
  }
}

std::vector<std::string> linesWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> out;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    std::string line = text.substr(at, end - at);
    if (line.rfind(prefix, 0) == 0) out.push_back(line.substr(prefix.size()));
    at = end + 2;
  }
  return out;
}

TEST(CddbSetInfo, extendedDataIsWrittenIn61CharacterChunks) {
  InfoGuard g;
  g.info.trackCount = 1;
  g.info.extendedDisc = _stralloc(std::string(130, 'x').c_str());
  g.info.extendedTracks[0] = _stralloc(std::string(122, 'y').c_str());
  ASSERT_EQ(cddbSetInfo(0x5A400001, &g.info), -1);
  std::string file = cdtest::readDiscFile(0x5A400001);
  auto disc = linesWith(file, "EXTD=");
  ASSERT_EQ(disc.size(), 3u);
  EXPECT_EQ(disc[0].size(), 61u);
  EXPECT_EQ(disc[1].size(), 61u);
  EXPECT_EQ(disc[2].size(), 8u);
  auto track = linesWith(file, "EXTT0=");
  ASSERT_EQ(track.size(), 3u);  // a multiple of 61 ends with a line holding only the key
  EXPECT_EQ(track[2], "");
  EXPECT_LT(file.find("EXTD="), file.find("EXTT0="));
  EXPECT_LT(file.find("EXTT0="), file.find("PLAYORDER="));
}

TEST(CddbFreeInfo, freesAndClearsEveryText) {
  InfoGuard g;
  g.info.extendedDisc = _stralloc("d");
  g.info.trackTitles[255] = _stralloc("t");
  g.info.extendedTracks[7] = _stralloc("e");
  cddbFreeInfo(&g.info);
  EXPECT_EQ(g.info.extendedDisc, nullptr);
  EXPECT_EQ(g.info.trackTitles[255], nullptr);
  EXPECT_EQ(g.info.extendedTracks[7], nullptr);
}

TEST(CddbDiscId, followsThePublishedFormula) {
  const int32_t starts[] = {150, 190 * 75 + 20, 400 * 75 + 5};
  EXPECT_EQ(zv::cddbDiscId(starts, 3, 48016), 0x10027E03u);
  const int32_t one[] = {150};
  EXPECT_EQ(zv::cddbDiscId(one, 1, 150 + 75 * 100), 0x02006401u);  // digit sum 2, 100 s, 1 track
  EXPECT_EQ(zv::cddbDiscId(one, 0, 0), 0u);
}

}  // namespace
