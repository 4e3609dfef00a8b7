// Descriptions of audio-CD paths from the CD database, and renaming discs
// and tracks through them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cd_fixture.h"
#include "zv_cddb.h"
#include "zv_config.h"
#include "zv_desc.h"
#include "zv_memory.h"

using cdtest::InfoGuard;

namespace {

const uint32_t kDisc = 0x1234ABCD;

void storeTwoTrackDisc(const char* title) {
  InfoGuard g;
  g.info.trackCount = 2;
  g.info.frameOffsets[0] = 150;
  g.info.frameOffsets[1] = 4500;
  g.info.leadOut = 9000;
  g.info.discLengthSeconds = 120;
  std::strcpy(g.info.discTitle, title);
  g.info.trackTitles[0] = _stralloc("Opening");
  ASSERT_EQ(cddbSetInfo(kDisc, &g.info), -1);
}

std::string describe(const char* path) {
  char out[ZV_DESC_SIZE] = "untouched";
  if (!cdaDesc(path, out)) return "<false>";
  return out;
}

// The paths of the msgInfoReady answers that arrive within `ms`.
std::string answeredPaths(cdtest::MessageCatcher& catcher, int ms) {
  std::string paths;
  for (const std::string& block : catcher.take(msgInfoReady, ms))
    if (block.size() == sizeof(ZvQueryResult)) paths += std::string(block.c_str()) + ";";
  return paths;
}

TEST(CdaDesc, theDiscListIsNamedBySettingOrByDefault) {
  cdtest::ensurePlugins();
  setConfigString("CDDBDesc", "");
  EXPECT_EQ(describe("CD:\\*.m3u"), "CD database");
  cdtest::MessageCatcher catcher({msgInfoReady});
  EXPECT_EQ(setCdaDesc("CD:\\*.m3u", "My discs"), -1);
  EXPECT_EQ(describe("CD:\\*.m3u"), "My discs");
  EXPECT_NE(answeredPaths(catcher, 3000).find("CD:\\*.m3u;"), std::string::npos);
  setConfigString("CDDBDesc", "");
}

TEST(CdaDesc, discsAndTracksAreNamedFromTheirRecord) {
  cdtest::ensurePlugins();
  DeleteFileA(cdtest::discFile(kDisc).c_str());
  EXPECT_EQ(describe("CD:\\1234ABCD.m3u"), "Unknown");
  EXPECT_EQ(describe("CD:\\1234ABCD\\track02.cda"), "Track 2");
  storeTwoTrackDisc("Artist / Album");
  EXPECT_EQ(describe("CD:\\1234ABCD.m3u"), "Artist / Album");
  EXPECT_EQ(describe("CD:\\1234ABCD\\track01.cda"), "Opening");
  EXPECT_EQ(describe("CD:\\1234ABCD\\track02.cda"), "Track 2");
  EXPECT_EQ(describe("C:\\music\\a.mp3"), "<false>");
  EXPECT_EQ(describe(nullptr), "<false>");
}

TEST(CdaDesc, renamingWritesTheRecordAndAsksForNewDescriptions) {
  cdtest::ensurePlugins();
  storeTwoTrackDisc("Old title");
  cdtest::MessageCatcher catcher({msgInfoReady});
  EXPECT_EQ(setCdaDesc("CD:\\1234ABCD\\track02.cda", "Middle"), -1);
  EXPECT_EQ(setCdaDesc("CD:\\1234ABCD.m3u", "New title"), -1);
  InfoGuard g;
  ASSERT_EQ(cddbGetInfo(kDisc, &g.info), -1);
  EXPECT_STREQ(g.info.discTitle, "New title");
  ASSERT_NE(g.info.trackTitles[1], nullptr);
  EXPECT_STREQ(g.info.trackTitles[1], "Middle");
  EXPECT_STREQ(g.info.trackTitles[0], "Opening") << "other tracks keep their titles";
  std::string asked = answeredPaths(catcher, 3000);
  EXPECT_NE(asked.find("CD:\\1234ABCD\\track02.cda;"), std::string::npos) << asked;
  EXPECT_NE(asked.find("CD:\\1234ABCD.m3u;"), std::string::npos) << asked;
  EXPECT_EQ(setCdaDesc("C:\\music\\a.mp3", "x"), 0);
}

TEST(CdaDesc, renamingADiscWithoutRecordChangesNothing) {
  cdtest::ensurePlugins();
  const uint32_t unknown = 0x0BADF00D;
  DeleteFileA(cdtest::discFile(unknown).c_str());
  EXPECT_EQ(setCdaDesc("CD:\\0BADF00D.m3u", "Title"), -1);
  InfoGuard g;
  EXPECT_EQ(cddbGetInfo(unknown, &g.info), 0) << "no record is created";
}

}  // namespace
