// The playlist editor's changes to a playlist, without a window: group
// headings, dropped branches (copied or moved, also between playlists),
// sorting a group's children as whole branches, and saving the contents
// (line 0 is the root of an editor's own playlist).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "zv_playlist.h"

namespace zv::editor {

// Line flags of a new group heading (heading and group).
inline constexpr uint32_t kHeadingFlags = lfHeading | lfGroup;

// Inserts a heading (empty name, `desc`) after the branch of `line` at its
// level + 1 (at level 0 after everything when `line` is out of range);
// returns its index.
int32_t addGroupHeading(Playlist pl, int32_t line, const std::string& desc);

// Inserts `lines` (levels relative to 0) after line t with their levels
// shifted by `level`; returns the index of the first inserted line.
int32_t insertAfter(Playlist dst, int32_t t, Playlist lines, int32_t level);

// Appends the branches of `heads` of src to `out` with their heads at level
// 0 (each head's user field holds its source index).
void copyBranches(Playlist out, Playlist src, const std::vector<int32_t>& heads);

// A drop of the branches `heads` of `src` on line t of `dst` at `level`:
// nothing when src is dst and t lies inside one of them; otherwise the
// copies go after t, and on a move the originals go. Returns the index of
// the first inserted line in dst and the number inserted (-1, 0: nothing).
struct DropResult {
  int32_t first = -1, count = 0;
};
DropResult dropBranches(Playlist dst, int32_t t, int32_t level, Playlist src, const std::vector<int32_t>& heads,
                        bool move);

// Sorts the direct children of group line `group` as whole branches by a
// plSortIndex mode.
void sortChildren(Playlist pl, int32_t group, int32_t mode);
// The mode of a sort command ("sort_title", ...); -1 for another text.
int32_t sortModeOf(const std::string& command);

// Writes lines 1.. with levels one less to `target`; plResult*.
int32_t saveContents(Playlist pl, const std::string& target);

}  // namespace zv::editor
