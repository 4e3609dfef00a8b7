// The playlist file units: binary playlists, text playlists and directory
// listings, behind plLoad and plSave.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "playlist/playlist_model.h"

namespace zv {

// Binary "ZVPL0010" at the handle's position. loadBinary replaces the four
// lists only when the whole playlist was read and is consistent.
bool loadBinary(PlaylistHandle* pl, HANDLE file);
bool saveBinary(PlaylistHandle* pl, HANDLE file);

// Lists directory `location` into `pl` (or loads the playlist the medium
// names); plResultFailed when it is not an existing directory.
int32_t listDirectory(PlaylistHandle* pl, const std::string& location, uint32_t flags);

// Reads a text playlist; plResultNoFile when it does not exist.
int32_t readTextPlaylist(PlaylistHandle* pl, const std::string& location);
// Writes a text playlist in the format of its extension, replacing the file
// only once it is complete; false on failure (the old file stays).
bool writeTextPlaylist(PlaylistHandle* pl, const std::string& location);

}  // namespace zv
