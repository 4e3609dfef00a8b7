#include "discs/cd_drive.h"

namespace zv {

const DriveQueries& systemDriveQueries() {
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

bool isOnCdDrive(std::string_view path, const DriveQueries& queries) {
  if (path.size() < 2 || !isAsciiLetter(path[0]) || path[1] != ':') return false;
  const char root[4] = {path[0], ':', '\\', '\0'};
  return queries.driveType(root) == DRIVE_CDROM;
}

uint32_t cdVolumeSerial(std::string_view path, const DriveQueries& queries) {
  if (!isOnCdDrive(path, queries)) return 0;
  const char root[4] = {path[0], ':', '\\', '\0'};
  uint32_t serial = 0;
  return queries.volumeSerial(root, &serial) ? serial : 0;
}

}  // namespace zv
