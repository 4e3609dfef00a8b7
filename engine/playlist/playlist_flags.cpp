// plGetFlags: what kind of line a location makes.
#include <windows.h>

#include <string>
#include <string_view>

#include "foundation/diagnostics.h"
#include "foundation/text_util.h"
#include "discs/cd_path.h"
#include "playlist/folder_listings.h"
#include "playlist/location_flags.h"
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
  QuietErrors quiet;
  char root[4] = {location[0], ':', '\\', 0};
  uint32_t flags = lfDirectory;
  if (GetDriveTypeA(root) == DRIVE_CDROM) flags |= lfCd;
  char label[MAX_PATH + 1];
  bool readable = GetVolumeInformationA(root, label, sizeof(label), nullptr, nullptr, nullptr, nullptr, 0) != 0;
  return flags | (readable ? lfGroup : lfGroup | lfMissing);
}

// extensionPart without copies: from the last '.' of the file name on.
std::string_view extensionOf(std::string_view location) {
  size_t sep = lastSeparator(location);
  std::string_view name = sep == std::string_view::npos ? location : location.substr(sep + 1);
  size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

bool sameAsciiIgnoringCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return true;
}

uint32_t pathFlags(const char* location, DWORD attributes) {
  bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return lfGroup | lfDirectory;
  std::string_view ext = extensionOf(location);
  if (sameAsciiIgnoringCase(ext, ".m3u") || sameAsciiIgnoringCase(ext, ".pls") || sameAsciiIgnoringCase(ext, ".aap") ||
      sameAsciiIgnoringCase(ext, ".m3u8"))
    return lfGroup | lfPlaylist;
  if (sameAsciiIgnoringCase(ext, ".z3u")) return lfGroup | lfPlaylist | lfGrouped;
  if (!exists && ext.empty()) return lfGroup | lfDirectory;
  return 0;
}

// The rule itself; `attributesOf` stands for GetFileAttributesA, of which
// only existence and the directory bit are used.
template <class AttributesOf>
uint32_t classify(const char* location, AttributesOf attributesOf) {
  CdPath cd = parseCdPath(location, isAudioCdDrive);
  if (cd.kind != cdaNone) return cdFlags(cd.kind);
  DWORD attributes = attributesOf(location);
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

uint32_t listedEntryFlags(const char* location, DWORD listedAttributes) {
  std::string_view folder, name;
  if (!listing::splitPlainPath(location, false, folder, name)) {
    QuietErrors quiet;
    return classify(location, GetFileAttributesA);
  }
  return classify(location, [listedAttributes](const char*) { return listedAttributes; });
}

LocationBatch::LocationBatch() : listings_(std::make_unique<FolderListings>()) {}
LocationBatch::~LocationBatch() = default;

uint32_t LocationBatch::flagsOf(const char* location) {
  return classify(location, [this](const char* path) -> DWORD {
    switch (listings_->presence(path)) {
      case Presence::missing: return INVALID_FILE_ATTRIBUTES;
      case Presence::file: return FILE_ATTRIBUTE_NORMAL;
      case Presence::directory: return FILE_ATTRIBUTE_DIRECTORY;
      default: {
        QuietErrors quiet;
        return GetFileAttributesA(path);
      }
    }
  });
}

}  // namespace zv

ZVEXPORT uint32_t ZVAPI plGetFlags(const char* location) {
  return zv::guarded<uint32_t>("plGetFlags", 0, [&]() -> uint32_t {
    if (!location) return lfMissing;
    zv::QuietErrors quiet;
    return zv::classify(location, GetFileAttributesA);
  });
}
