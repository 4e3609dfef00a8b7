// The options of the save dialog that asks where a playlist that has no file
// of its own goes ("lsd2"), and saving with them. A subplaylist is a group
// read from a local playlist file inside the edited list: "Save
// subplaylists" writes each one back to its own file with its lines as they
// stand in the editor; "Save structure" then lets the files refer to them
// (one line naming the subplaylist's file instead of its lines), so a list
// of subplaylists can be kept as a flat M3U. "Edit created playlist" opens
// the written file for editing, in a new editor ("Edit in new window") or
// in this one.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "zv_playlist.h"

namespace zv::editor {

struct SaveOptions {
  bool editCreated = false;      // "SaveEditPl###Edit created playlist"
  bool editInNewWindow = true;   // "SaveEditNewWin###Edit in new window" (with editCreated)
  bool saveSubPlaylists = false; // "SaveSubPl###Save subplaylists"
  bool saveStructure = false;    // "SaveStructure###Save structure" (with saveSubPlaylists)
};

// Which check boxes the dialog shows: the second and the fourth only while
// the one above them is checked.
struct SaveOptionsShown {
  bool editInNewWindow, saveStructure;
};
inline SaveOptionsShown shownOptions(const SaveOptions& o) { return {o.editCreated, o.saveSubPlaylists}; }
// What counts once the dialog is closed: a hidden box counts as unchecked.
SaveOptions effectiveOptions(SaveOptions o);

// Line `line` (never line 0) is a group read from a local playlist file.
bool isSubPlaylist(Playlist pl, int32_t line);

// The lines below `head` (its branch without it) with levels counted from
// 0; with `asReferences` every subplaylist inside is one line naming its
// file (its own lines left out). The caller frees the result.
Playlist contentsForSaving(Playlist pl, int32_t head, bool asReferences);

// Writes the contents of an editor's playlist (line 0 its root) to
// `target`, and with saveSubPlaylists every subplaylist to its own file
// first. Lists with groups go only into ".z3u" files: such a subplaylist is
// not written and named in `failed`, as is any file plSave refuses. True
// when `target` was written.
bool saveWithOptions(Playlist pl, const std::string& target, const SaveOptions& options,
                     std::vector<std::string>& failed);

}  // namespace zv::editor
