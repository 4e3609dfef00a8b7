// Ranges, branches and marks of a playlist.
#include "foundation/diagnostics.h"
#include "foundation/dyn_array.h"
#include "foundation/str_list.h"
#include "playlist/line_gap.h"
#include "playlist/playlist_model.h"

namespace zv {
namespace {

// The part of first..first+count-1 that lies inside src; false if none.
bool clampRange(PlaylistHandle* src, int32_t& first, int32_t& count) {
  int32_t n = lineCount(src);
  if (!src || first < 0 || first >= n || count <= 0) return false;
  if (count > n - first) count = n - first;
  return true;
}

void insertRange(PlaylistHandle* dst, int32_t at, PlaylistHandle* src, int32_t first, int32_t count, int32_t shift) {
  settleLines(dst);
  settleLines(src);
  if (!dst || !clampRange(src, first, count)) return;
  copyLines(dst, at, src, first, count, shift);
}

void insertBranch(PlaylistHandle* dst, int32_t at, PlaylistHandle* src, int32_t index, int32_t level) {
  settleLines(dst);
  settleLines(src);
  int32_t n = visibleBranchLength(src, index);
  if (!dst || n == 0) return;
  copyLines(dst, at, src, index, n, level - lineRec(src, index)->level);
}

}  // namespace
}  // namespace zv

using namespace zv;

ZVEXPORT void ZVAPI plAddRange(Playlist dst, Playlist src, int32_t first, int32_t count, int32_t shift) {
  guardedVoid("plAddRange", [&] { insertRange(dst, -1, src, first, count, shift); });
}

ZVEXPORT void ZVAPI plInsRange(Playlist dst, int32_t index, Playlist src, int32_t first, int32_t count,
                               int32_t shift) {
  guardedVoid("plInsRange", [&] { insertRange(dst, index, src, first, count, shift); });
}

ZVEXPORT void ZVAPI plAdd(Playlist dst, Playlist src, int32_t shift) {
  guardedVoid("plAdd", [&] { insertRange(dst, -1, src, 0, visibleCount(src), shift); });
}

ZVEXPORT void ZVAPI plInsert(Playlist dst, int32_t index, Playlist src, int32_t shift) {
  guardedVoid("plInsert", [&] { insertRange(dst, index, src, 0, visibleCount(src), shift); });
}

ZVEXPORT void ZVAPI plDelRange(Playlist pl, int32_t first, int32_t count) {
  guardedVoid("plDelRange", [&] {
    const int32_t n = visibleCount(pl);
    if (!pl || first < 0 || first >= n || count <= 0) return;
    deleteLines(pl, first, count > n - first ? n - first : count);
  });
}

ZVEXPORT int32_t ZVAPI plGetBranch(Playlist pl, int32_t index) { return visibleBranchLength(pl, index); }

ZVEXPORT void ZVAPI plAddBranch(Playlist dst, Playlist src, int32_t index, int32_t level) {
  guardedVoid("plAddBranch", [&] { insertBranch(dst, -1, src, index, level); });
}

ZVEXPORT void ZVAPI plInsBranch(Playlist dst, int32_t at, Playlist src, int32_t index, int32_t level) {
  guardedVoid("plInsBranch", [&] { insertBranch(dst, at, src, index, level); });
}

ZVEXPORT PlaylistLine* ZVAPI plMarkLine(Playlist pl, int32_t index, int32_t value) {
  if (!visibleLine(pl, index)) return nullptr;
  PlaylistLine* rec = lineRec(pl, physicalLine(pl, index));
  rec->mark = value;
  return rec;
}

ZVEXPORT int32_t ZVAPI plFindMark(Playlist pl, int32_t value) {
  settleLines(pl);
  int32_t n = lineCount(pl);
  for (int32_t i = 0; i < n; ++i)
    if (lineRec(pl, i)->mark == value) return i;
  return -1;
}

ZVEXPORT void ZVAPI plDelMarks(Playlist pl) {
  settleLines(pl);
  int32_t n = lineCount(pl);
  for (int32_t i = 0; i < n; ++i) lineRec(pl, i)->mark = 0;
}
