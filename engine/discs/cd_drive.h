// Which locations lie on a CD-ROM drive, and the serial number that ties a
// cache entry to the disc in it. Header-only with the system queries passed
// in, so tests can answer for a CD drive that the test machine lacks.
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

inline const DriveQueries& systemDriveQueries() {
  static const DriveQueries queries = {
      [](const char* root) { return GetDriveTypeA(root); },
      [](const char* root, uint32_t* serial) {
        DWORD value = 0;
        if (!GetVolumeInformationA(root, nullptr, 0, &value, nullptr, nullptr, nullptr, 0)) return false;
        *serial = value;
        return true;
      }};
  return queries;
}

// True if `path` starts with a drive letter and ':' and that drive's root is
// a CD-ROM drive.
inline bool isOnCdDrive(std::string_view path, const DriveQueries& queries = systemDriveQueries()) {
  if (path.size() < 2 || !isAsciiLetter(path[0]) || path[1] != ':') return false;
  const char root[4] = {path[0], ':', '\\', '\0'};
  return queries.driveType(root) == DRIVE_CDROM;
}

// The volume serial number of the CD in `path`'s drive; 0 when the location
// is not on a CD-ROM drive or the volume cannot be read (no disc).
inline uint32_t cdVolumeSerial(std::string_view path, const DriveQueries& queries = systemDriveQueries()) {
  if (!isOnCdDrive(path, queries)) return 0;
  const char root[4] = {path[0], ':', '\\', '\0'};
  uint32_t serial = 0;
  return queries.volumeSerial(root, &serial) ? serial : 0;
}

}  // namespace zv
