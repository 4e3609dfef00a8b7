// Which locations lie on a CD-ROM drive, and the serial number that ties a
// cache entry to the disc in it. The system queries are passed in, so tests
// can answer for a CD drive that the test machine lacks.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "foundation/text_util.h"

namespace zv {

// How the CD helpers ask about a drive root such as "E:\".
struct DriveQueries {
  UINT (*driveType)(const char* root);
  bool (*volumeSerial)(const char* root, uint32_t* serial);
};

// The real questions, asked of the system.
const DriveQueries& systemDriveQueries();

// True if `path` starts with a drive letter and ':' and that drive's root is
// a CD-ROM drive.
bool isOnCdDrive(std::string_view path, const DriveQueries& queries = systemDriveQueries());

// The volume serial number of the CD in `path`'s drive; 0 when the location
// is not on a CD-ROM drive or the volume cannot be read (no disc).
uint32_t cdVolumeSerial(std::string_view path, const DriveQueries& queries = systemDriveQueries());

}  // namespace zv
