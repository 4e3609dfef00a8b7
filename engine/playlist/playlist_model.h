// The playlist handle behind the exported Playlist type, for the playlist
// units (lines, files, sorting, adding). Its four lists always hold the same
// number of entries: line i is element i of each.
#pragma once
#include "zv_containers.h"
#include "zv_playlist.h"

struct PlaylistHandle {
  hArray lines;      // PlaylistLine records
  hStrList names;    // locations
  hStrList descs;    // texts shown
  hStrList infos;    // tag information texts
  int32_t reserved[2];
  hStrList sortKeys;   // only while plSortIndex runs
  hStrList ancestors;  // only while plAddFile runs
  int32_t* sortIndex;  // the caller's index, only while plSortIndex runs
  // Deleted lines not yet taken out of the four lists: physical lines
  // gapAt..gapAt+gapLength-1 (line_gap.cpp).
  int32_t gapAt;
  int32_t gapLength;
};

namespace zv {

// The helpers below see the lists as they are: every unit calls
// settleLines first, except the deletions and the getters in line_gap.h.
inline int32_t lineCount(const PlaylistHandle* pl) { return pl ? aCount(pl->lines) : 0; }
inline bool validLine(const PlaylistHandle* pl, int32_t i) { return pl && i >= 0 && i < aCount(pl->lines); }
inline PlaylistLine* lineRec(const PlaylistHandle* pl, int32_t i) {
  return static_cast<PlaylistLine*>(aGet(pl->lines, i));
}

// Copies `count` lines of src from `first` into dst, at `at` (or appended
// when `at` is outside 0..count-1), adding `shift` to each copy's level.
// The range must lie inside src. src may be dst: the lines are taken as they
// were before the call.
void copyLines(PlaylistHandle* dst, int32_t at, PlaylistHandle* src, int32_t first, int32_t count, int32_t shift);

// Takes deleted lines out of the four lists (see line_gap.h); every
// operation but the deletions and the plain getters starts with it.
void settleLines(PlaylistHandle* pl);

}  // namespace zv
