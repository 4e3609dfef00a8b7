// checkCDA: CD paths, and the drive probe behind the drive forms.
#include "discs/cd_path.h"

#include <windows.h>

#include "foundation/diagnostics.h"

namespace zv {

bool isAudioCdDrive(char letter) {
  char root[4] = {letter, ':', '\\', 0};
  if (GetDriveTypeA(root) != DRIVE_CDROM) return false;
  char label[MAX_PATH + 1] = {};
  // Asking an empty drive must not bring up the system's "insert a disk" box.
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  BOOL ok = GetVolumeInformationA(root, label, sizeof(label), nullptr, nullptr, nullptr, nullptr, 0);
  SetErrorMode(oldMode);
  return ok && lstrcmpiA(label, "Audio CD") == 0;
}

}  // namespace zv

ZVEXPORT ZvBool ZVAPI checkCDA(const char* path, uint32_t* kind, char* drive, uint32_t* discId, int32_t* track) {
  return zv::guarded<ZvBool>("checkCDA", ZV_FALSE, [&]() -> ZvBool {
    zv::CdPath cd = zv::parseCdPath(path, zv::isAudioCdDrive);
    if (kind) *kind = cd.kind;
    if (drive) *drive = cd.drive;
    if (discId) *discId = cd.discId;
    if (track) *track = cd.track;
    return cd.kind != cdaNone ? ZV_TRUE : ZV_FALSE;
  });
}
