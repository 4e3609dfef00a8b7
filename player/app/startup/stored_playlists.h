// "playlist.dat" and "recent.dat": binary playlists in the user's data
// folder, loaded at start and saved at shutdown. A file that exists but does
// not load is moved aside (renamed, never overwritten) and the playlist
// starts empty; saving goes through plSave's binary form, which writes a
// temporary file and replaces the old one only once the new one is complete.
#pragma once
#include <string>

#include "zv_playlist.h"

namespace zv {

enum class StoredLoad {
  loaded,
  missing,       // no file: an empty playlist
  keptAside,     // damaged: renamed to asidePath, the playlist is empty
  unreadable     // damaged and could not be renamed: do not save over it
};

struct StoredLoadResult {
  StoredLoad outcome = StoredLoad::missing;
  std::string asidePath;
  // False only when saving would overwrite a damaged file still in place.
  bool saveAllowed() const { return outcome != StoredLoad::unreadable; }
};

StoredLoadResult loadStoredPlaylist(Playlist pl, const std::string& path);
// plSave(pl, path, plSaveBinary); true on success.
bool saveStoredPlaylist(Playlist pl, const std::string& path);
// "<path>.damaged", or "<path>.damaged2", ... when that exists.
std::string asideName(const std::string& path);

}  // namespace zv
