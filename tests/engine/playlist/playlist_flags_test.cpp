// Classification of locations into line flags, against real files and
// folders, and the CD pseudo-locations.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "testkit.h"
#include "zv_playlist.h"

namespace {

std::string touch(const std::string& dir, const char* name) {
  std::string p = dir + "\\" + name;
  EXPECT_TRUE(zvtest::writeFile(p, "x", 1));
  return p;
}

// A letter with no drive behind it, or 0.
char unusedDrive() {
  DWORD mask = GetLogicalDrives();
  for (char c = 'Q'; c <= 'Y'; ++c)
    if (!(mask & (1u << (c - 'A')))) return c;
  return 0;
}

}  // namespace

TEST(PlaylistFlags, filesFoldersAndPlaylistsOnDisk) {
  std::string dir = zvtest::freshDir("flags");
  CreateDirectoryA((dir + "\\sub").c_str(), nullptr);
  CreateDirectoryA((dir + "\\folder.m3u").c_str(), nullptr);
  struct Case {
    std::string location;
    uint32_t flags;
  } cases[] = {
      {touch(dir, "song.mp3"), 0},
      {touch(dir, "noext"), 0},
      {touch(dir, "list.m3u"), 0x404},
      {touch(dir, "LIST.PLS"), 0x404},
      {touch(dir, "list.aap"), 0x404},
      {touch(dir, "utf8.M3U8"), 0x404},  // an M3U in UTF-8
      {touch(dir, "grouped.z3u"), 0x10404},
      {dir + "\\sub", 0x408},
      {dir + "\\sub\\", 0x408},
      {dir + "\\folder.m3u", 0x408},  // an existing folder wins over the extension
      {dir + "\\missing.mp3", 0x800},
      {dir + "\\missing.m3u", 0xC04},
      {dir + "\\missing.m3u8", 0xC04},
      {dir + "\\missing.Z3U", 0x10C04},
      {dir + "\\missingfolder", 0xC08},
      {dir + "\\gone\\", 0xC08},
      {"", 0xC08},
  };
  for (const Case& c : cases) EXPECT_EQ(plGetFlags(c.location.c_str()), c.flags) << c.location;
}

TEST(PlaylistFlags, cdPseudoLocations) {
  EXPECT_EQ(plGetFlags("CD:\\*.m3u"), 0x600u);
  EXPECT_EQ(plGetFlags("CD:\\8A09BC0B.m3u"), 0x2480u);
  EXPECT_EQ(plGetFlags("CD:\\8A09BC0B\\track03.cda"), 0x100u);
  // A lower-case prefix is no CD location; it is a path on drive C.
  EXPECT_EQ(plGetFlags("cd:\\8a09bc0b.m3u"), 0xC04u);
}

TEST(PlaylistFlags, bareDrives) {
  // Z: is the Unix root under Wine: a fixed drive whose volume can be read.
  EXPECT_EQ(plGetFlags("Z:"), 0x408u);
  char letter = unusedDrive();
  if (!letter) GTEST_SKIP() << "no unused drive letter";
  std::string bare = {letter, ':'};
  EXPECT_EQ(plGetFlags(bare.c_str()), 0xC08u);
  std::string track = bare + "\\track01.cda";
  EXPECT_EQ(plGetFlags(track.c_str()), 0x800u);  // no audio disc there: a missing file
}
