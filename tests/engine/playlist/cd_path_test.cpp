// CD paths: the exported checkCDA for the pseudo-paths and for drives
// without an audio disc, and the drive forms through the parser with a
// stand-in drive probe (no drive here holds an audio CD).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "discs/cd_path.h"
#include "zv_cdaudio.h"

namespace {

struct Row {
  const char* path;
  ZvBool result;
  uint32_t kind;
  char drive;
  uint32_t discId;
  int32_t track;
};

bool audioDiscInE(char letter) { return letter == 'E'; }

}  // namespace

TEST(CdPath, pseudoPathsThroughTheExport) {
  const Row rows[] = {
      {"CD:\\*.m3u", ZV_TRUE, 1, 0, 0, -1},
      {"CD:\\1a2b.m3u", ZV_TRUE, 2, 0, 0x1a2b, -1},
      {"CD:\\8A09BC0B.m3u", ZV_TRUE, 2, 0, 0x8A09BC0B, -1},
      {"CD:\\zz.m3u", ZV_TRUE, 2, 0, 0, -1},         // invalid id text reads as 0
      {"CD:\\123456789.m3u", ZV_TRUE, 2, 0, 0, -1},  // more than 32 bits
      {"CD:\\1a2b\\track03.cda", ZV_TRUE, 3, 0, 0x1a2b, 2},
      {"CD:\\1A2B\\Track12.cda", ZV_TRUE, 3, 0, 0x1a2b, 11},
      {"CD:\\1a2b\\track.cda", ZV_TRUE, 3, 0, 0x1a2b, -1},
      {"cd:\\1a2b.m3u", ZV_FALSE, 0, 0, 0, -1},
      {"CD:1a2b.m3u", ZV_FALSE, 0, 0, 0, -1},
      {"C:\\music\\track01.cda", ZV_FALSE, 0, 0, 0, -1},  // not on an audio disc
      {"Z:\\", ZV_FALSE, 0, 0, 0, -1},
      {"", ZV_FALSE, 0, 0, 0, -1},
  };
  for (const Row& r : rows) {
    uint32_t kind = 99, discId = 99;
    char drive = 'x';
    int32_t track = 99;
    EXPECT_EQ(checkCDA(r.path, &kind, &drive, &discId, &track), r.result) << r.path;
    EXPECT_EQ(kind, r.kind) << r.path;
    EXPECT_EQ(drive, r.drive) << r.path;
    EXPECT_EQ(discId, r.discId) << r.path;
    EXPECT_EQ(track, r.track) << r.path;
  }
  EXPECT_EQ(checkCDA(nullptr, nullptr, nullptr, nullptr, nullptr), ZV_FALSE);
  EXPECT_EQ(checkCDA("CD:\\*.m3u", nullptr, nullptr, nullptr, nullptr), ZV_TRUE);
}

TEST(CdPath, driveFormsNeedAnAudioDiscInTheDrive) {
  const Row rows[] = {
      {"E:\\", ZV_TRUE, 4, 'E', 0, -1},
      {"e:", ZV_TRUE, 4, 'E', 0, -1},
      {"E:\\Track07.CDA", ZV_TRUE, 5, 'E', 0, 6},
      {"E:\\track10.cda", ZV_TRUE, 5, 'E', 0, 9},
      {"E:\\sub\\track02.cda", ZV_TRUE, 5, 'E', 0, 1},
      {"E:\\track07.mp3", ZV_FALSE, 0, 0, 0, -1},
      {"E:\\music", ZV_FALSE, 0, 0, 0, -1},
      {"E:track01.cda", ZV_FALSE, 0, 0, 0, -1},
      {"F:\\Track07.cda", ZV_FALSE, 0, 0, 0, -1},  // the same name on another drive
      {"F:\\", ZV_FALSE, 0, 0, 0, -1},
  };
  for (const Row& r : rows) {
    zv::CdPath cd = zv::parseCdPath(r.path, audioDiscInE);
    EXPECT_EQ(cd.kind, r.kind) << r.path;
    EXPECT_EQ(cd.drive, r.drive) << r.path;
    EXPECT_EQ(cd.discId, r.discId) << r.path;
    EXPECT_EQ(cd.track, r.track) << r.path;
  }
}
