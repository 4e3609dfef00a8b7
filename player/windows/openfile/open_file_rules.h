// What the "Open file" dialog decides without a window: which entries of a
// folder it lists, where "Up" leads, which chosen locations go to the recent
// list, and the open mode its two boxes give.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "menus/open_mode.h"
#include "zv_playlist.h"

namespace zv::openfile {

struct FolderEntry {
  std::string name;  // as the folder holds it
  bool folder = false;
};

// The sub-folders (without "." and "..") and the files that `wanted` accepts
// (given the file name), folders first, each part ordered by name ignoring
// case. Hidden and system entries are left out. An unreadable folder gives
// no entries.
std::vector<FolderEntry> listFolder(const std::string& folder, const std::function<bool(const std::string&)>& wanted);

// The kinds the list tells apart by their pictures, in the order of the
// pictures in "skins\controls\filekinds.bmp".
enum class EntryKind { folder = 0, media = 1, playlist = 2 };
EntryKind entryKind(const FolderEntry& entry);

// "C:\a\b" -> "C:\a"; "C:\a" -> "C:\"; a drive root stays itself.
std::string parentFolder(const std::string& folder);
// folder + "\" + name, without doubling a trailing separator.
std::string joinPath(const std::string& folder, const std::string& name);

// A file the dialog lists: one the engine plays (its extension among
// `extensions`, lower case with the dot) or a playlist. With no extensions
// known (no decoder loaded) every file is listed.
bool isListedFile(const std::string& name, const std::vector<std::string>& extensions);

// "Add to existing playlist" gives add (1), "Play opened files" start (2).
OpenMode openModeOfBoxes(bool addToPlaylist, bool playOpened);

// Whether a chosen location is entered in the recent list: folders and
// playlists are, single media files are not.
bool goesToRecent(const std::string& location, bool folder);

// Puts `location` at the top of the recent list `recent` (a line found
// there already, ignoring case, moves up) and keeps at most `limit` lines.
void enterRecent(Playlist recent, const std::string& location, int limit);

}  // namespace zv::openfile
