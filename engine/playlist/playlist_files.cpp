// plLoad and plSave: the file-system plug-ins first, then the directory
// cache, the directory listing and the playlist files themselves.
#include "playlist/playlist_files.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "discs/cd_drive.h"
#include "discs/cddb_directory.h"
#include "foundation/diagnostics.h"
#include "foundation/file_replace.h"
#include "foundation/text_util.h"
#include "playback/host/file_changed.h"
#include "playlist/dir_cache.h"
#include "playlist/expansion_drives.h"
#include "win32/owners.h"
#include "zv_playback.h"
#include "zv_plugins.h"

namespace zv {
namespace {

// Offers a load or save to the file-system plug-ins; on 0 the plug-in has
// done it and `flags` holds the flags it returned.
bool handledByPlugin(PlaylistHandle* pl, const char* location, uint32_t operation, uint32_t& flags) {
  ZvFsRequest request = {};
  request.path = location;
  request.operation = operation;
  request.playlist = pl;
  request.options = static_cast<int32_t>(flags);
  if (fsControl(&request) != 0) return false;
  flags = static_cast<uint32_t>(request.options);
  return true;
}

int32_t loadBinaryFile(PlaylistHandle* pl, const char* location) {
  UniqueFile file(CreateFileA(location, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && loadBinary(pl, file.get()) ? plResultOk : plResultFailed;
}

int32_t load(PlaylistHandle* pl, const char* location, uint32_t flags) {
  plClear(pl);
  if (flags & plLoadBinary) return loadBinaryFile(pl, location);
  int32_t result;
  // The directory cache only ever concerns a location on a CD-ROM drive;
  // its folder setting is read only then, and once per load (a
  // configuration read costs a registry query, and adding a folder tree
  // loads every folder in it).
  const DriveQueries& drives = playlistDriveQueries();
  std::string cddbDir = isOnCdDrive(location, drives) ? cddbDirectory() : std::string();
  if (handledByPlugin(pl, location, ZV_FS_LOAD_PLAYLIST, flags)) {
    result = plResultOk;
  } else {
    if (lookupDirCache(pl, location, drives, cddbDir)) return plResultOk;
    result = listDirectory(pl, location, flags);
    if (result != plResultOk) {
      plClear(pl);
      result = readTextPlaylist(pl, location);
    }
  }
  if (result == plResultOk && !(flags & plLoadNoCache)) storeDirCache(pl, location, drives, cddbDir);
  return result;
}

int32_t save(PlaylistHandle* pl, const char* location, uint32_t flags) {
  if (flags & plSaveBinary) {
    bool ok = replaceFileWith(location, [&](HANDLE file) { return saveBinary(pl, file); });
    return ok ? plResultOk : plResultFailed;
  }
  if (!handledByPlugin(pl, location, ZV_FS_SAVE_PLAYLIST, flags) && !writeTextPlaylist(pl, location))
    return plResultFailed;
  if (!(flags & plSaveNoNotify)) broadcastFileChanged(location);
  return plResultOk;
}

}  // namespace

}  // namespace zv

ZVEXPORT int32_t ZVAPI plLoad(Playlist pl, const char* location, uint32_t flags) {
  return zv::guarded<int32_t>("plLoad", plResultFailed, [&] {
    if (!pl || !location) return int32_t{plResultFailed};
    zv::settleLines(pl);
    return zv::load(pl, location, flags);
  });
}

ZVEXPORT int32_t ZVAPI plSave(Playlist pl, const char* location, uint32_t flags) {
  return zv::guarded<int32_t>("plSave", plResultFailed, [&] {
    if (!pl || !location || !*location) return int32_t{plResultFailed};
    zv::settleLines(pl);
    return zv::save(pl, location, flags);
  });
}
