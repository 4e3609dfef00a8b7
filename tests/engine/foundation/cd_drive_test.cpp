// The CD drive test and the CD volume serial. The machine has no CD-ROM
// drive (and a fake one needs a wineserver restart, which would break the
// tests running beside this one), so the drive answers come through the
// helpers' query table; the real system is asked only about its hard disks.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "discs/cd_drive.h"

namespace {

// Drive E: is a CD-ROM drive holding a disc with serial 0x1A2B3C4D, drive F:
// a CD-ROM drive without a disc; everything else is a fixed disk.
std::vector<std::string> g_askedTypes;
std::vector<std::string> g_askedSerials;

UINT fakeDriveType(const char* root) {
  g_askedTypes.emplace_back(root);
  char letter = static_cast<char>(root[0] & ~0x20);
  return (letter == 'E' || letter == 'F') ? DRIVE_CDROM : DRIVE_FIXED;
}

bool fakeVolumeSerial(const char* root, uint32_t* serial) {
  g_askedSerials.emplace_back(root);
  if ((root[0] & ~0x20) != 'E') return false;
  *serial = 0x1A2B3C4D;
  return true;
}

const zv::DriveQueries kFake = {fakeDriveType, fakeVolumeSerial};

}  // namespace

TEST(CdDrive, asksForTheDriveRootOfADriveLetterPath) {
  const struct {
    const char* path;
    bool onCd;
  } rows[] = {
      {"E:\\Track07.cda", true}, {"e:\\x\\y.mp3", true}, {"E:", true},      {"F:\\", true},
      {"C:\\Track07.cda", false}, {"E", false},          {"1:\\x", false},  {"\\\\E\\x", false},
      {"CD:\\1A2B.m3u", false},  {"", false},
  };
  for (const auto& r : rows) EXPECT_EQ(zv::isOnCdDrive(r.path, kFake), r.onCd) << r.path;

  g_askedTypes.clear();
  zv::isOnCdDrive("e:\\x\\y.mp3", kFake);
  ASSERT_EQ(g_askedTypes.size(), 1u);
  EXPECT_EQ(g_askedTypes[0], "e:\\");
}

TEST(CdDrive, volumeSerialOnlyForAReadableCd) {
  EXPECT_EQ(zv::cdVolumeSerial("E:\\Album\\01.mp3", kFake), 0x1A2B3C4Du);
  EXPECT_EQ(zv::cdVolumeSerial("E:", kFake), 0x1A2B3C4Du);
  EXPECT_EQ(zv::cdVolumeSerial("F:\\a.mp3", kFake), 0u);  // no disc

  g_askedSerials.clear();
  EXPECT_EQ(zv::cdVolumeSerial("C:\\a.mp3", kFake), 0u);
  EXPECT_EQ(zv::cdVolumeSerial("\\\\srv\\s\\a.mp3", kFake), 0u);
  EXPECT_TRUE(g_askedSerials.empty()) << "the volume of a drive that is no CD-ROM was read";

  zv::cdVolumeSerial("e:\\a.mp3", kFake);
  ASSERT_EQ(g_askedSerials.size(), 1u);
  EXPECT_EQ(g_askedSerials[0], "e:\\");
}

TEST(CdDrive, theSystemsHardDisksAreNoCd) {
  char windows[MAX_PATH];
  ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
  EXPECT_FALSE(zv::isOnCdDrive(windows));
  EXPECT_EQ(zv::cdVolumeSerial(windows), 0u);
  EXPECT_FALSE(zv::isOnCdDrive("Z:\\tmp"));
  // The real queries do read a volume serial: C: has one, it is just no CD.
  uint32_t serial = 0;
  EXPECT_TRUE(zv::systemDriveQueries().volumeSerial("C:\\", &serial));
  EXPECT_EQ(zv::systemDriveQueries().driveType("C:\\"), static_cast<UINT>(DRIVE_FIXED));
}
