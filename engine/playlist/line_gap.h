// Deleting lines one call at a time without moving the whole tail each time.
//
// Deleted lines first join one gap inside the four lists; a deletion moves
// only the lines between it and the gap (or takes the gap out first when
// that is cheaper). The gap is taken out in one pass (settleLines) before
// anything else changes or stores the playlist; getters read through it.
// Deleting every other line of a long playlist, from its end or from its
// top, or many branches from the bottom up, costs a short move per line
// instead of one move of the whole tail per line.
#pragma once
#include "playlist/playlist_model.h"

namespace zv {

// Lines as callers count them (those in the gap left out).
int32_t visibleCount(const PlaylistHandle* pl);
bool visibleLine(const PlaylistHandle* pl, int32_t i);
// Where line i lies in the lists.
int32_t physicalLine(const PlaylistHandle* pl, int32_t i);
// The length of line i's branch, counted on visible lines.
int32_t visibleBranchLength(const PlaylistHandle* pl, int32_t i);

// Deletes visible lines first..first+count-1 (a range inside the playlist).
void deleteLines(PlaylistHandle* pl, int32_t first, int32_t count);

}  // namespace zv
