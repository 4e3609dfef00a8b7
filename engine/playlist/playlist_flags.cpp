// plGetFlags: what kind of line a location makes.
#include <windows.h>

#include <string>

#include "foundation/diagnostics.h"
#include "foundation/text_util.h"
#include "discs/cd_path.h"
#include "playlist/playlist_model.h"

namespace zv {
namespace {

// Classifying a location on an empty removable drive must not bring up the
// system's "insert a disk" box.
struct QuietErrors {
  UINT old = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  ~QuietErrors() { SetErrorMode(old); }
};

uint32_t cdFlags(uint32_t kind) {
  switch (kind) {
    case cdaDiscList: return lfGroup | lfDiscList;
    case cdaKnownDisc:
    case cdaDriveDisc: return lfDisc | lfGroup | lfCd;
    case cdaKnownTrack:
    case cdaDriveTrack: return lfTrack;
    default: return 0;
  }
}

uint32_t driveFlags(const char* location) {
  char root[4] = {location[0], ':', '\\', 0};
  uint32_t flags = lfDirectory;
  if (GetDriveTypeA(root) == DRIVE_CDROM) flags |= lfCd;
  char label[MAX_PATH + 1];
  bool readable = GetVolumeInformationA(root, label, sizeof(label), nullptr, nullptr, nullptr, nullptr, 0) != 0;
  return flags | (readable ? lfGroup : lfGroup | lfMissing);
}

uint32_t pathFlags(const char* location, DWORD attributes) {
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return lfGroup | lfDirectory;
  std::string ext = asciiLower(extensionPart(location));
  if (ext == ".m3u" || ext == ".pls" || ext == ".aap") return lfGroup | lfPlaylist;
  if (ext == ".z3u") return lfGroup | lfPlaylist | lfGrouped;
  if (!exists && ext.empty()) return lfGroup | lfDirectory;
  return 0;
}

uint32_t classify(const char* location) {
  QuietErrors quiet;
  CdPath cd = parseCdPath(location, isAudioCdDrive);
  if (cd.kind != cdaNone) return cdFlags(cd.kind);
  DWORD attributes = GetFileAttributesA(location);
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  uint32_t flags;
  if (location[0] && location[1] == ':' && location[2] == 0)
    flags = driveFlags(location);
  else
    flags = pathFlags(location, attributes);
  if ((flags == 0 || (flags & (lfPlaylist | lfDirectory))) && !exists) flags |= lfMissing;
  return flags;
}

}  // namespace
}  // namespace zv

ZVEXPORT uint32_t ZVAPI plGetFlags(const char* location) {
  return zv::guarded<uint32_t>("plGetFlags", 0, [&]() -> uint32_t {
    if (!location) return lfMissing;
    return zv::classify(location);
  });
}
