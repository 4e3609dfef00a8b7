// Ranges, branches and marks of a playlist.
#include "foundation/diagnostics.h"
#include "foundation/dyn_array.h"
#include "foundation/str_list.h"
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

int32_t branchLength(PlaylistHandle* pl, int32_t i) {
  if (!validLine(pl, i)) return 0;
  int32_t n = lineCount(pl);
  int32_t level = lineRec(pl, i)->level;
  int32_t end = i + 1;
  while (end < n && lineRec(pl, end)->level > level) ++end;
  return end - i;
}

void insertRange(PlaylistHandle* dst, int32_t at, PlaylistHandle* src, int32_t first, int32_t count, int32_t shift) {
  if (!dst || !clampRange(src, first, count)) return;
  copyLines(dst, at, src, first, count, shift);
}

void insertBranch(PlaylistHandle* dst, int32_t at, PlaylistHandle* src, int32_t index, int32_t level) {
  int32_t n = branchLength(src, index);
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
  guardedVoid("plAdd", [&] { insertRange(dst, -1, src, 0, lineCount(src), shift); });
}

ZVEXPORT void ZVAPI plInsert(Playlist dst, int32_t index, Playlist src, int32_t shift) {
  guardedVoid("plInsert", [&] { insertRange(dst, index, src, 0, lineCount(src), shift); });
}

ZVEXPORT void ZVAPI plDelRange(Playlist pl, int32_t first, int32_t count) {
  guardedVoid("plDelRange", [&] {
    if (!clampRange(pl, first, count)) return;
    arrayDeleteRange(pl->lines, first, count);
    strListDeleteRange(pl->names, first, count);
    strListDeleteRange(pl->descs, first, count);
    strListDeleteRange(pl->infos, first, count);
  });
}

ZVEXPORT int32_t ZVAPI plGetBranch(Playlist pl, int32_t index) { return branchLength(pl, index); }

ZVEXPORT void ZVAPI plAddBranch(Playlist dst, Playlist src, int32_t index, int32_t level) {
  guardedVoid("plAddBranch", [&] { insertBranch(dst, -1, src, index, level); });
}

ZVEXPORT void ZVAPI plInsBranch(Playlist dst, int32_t at, Playlist src, int32_t index, int32_t level) {
  guardedVoid("plInsBranch", [&] { insertBranch(dst, at, src, index, level); });
}

ZVEXPORT PlaylistLine* ZVAPI plMarkLine(Playlist pl, int32_t index, int32_t value) {
  if (!validLine(pl, index)) return nullptr;
  PlaylistLine* rec = lineRec(pl, index);
  rec->mark = value;
  return rec;
}

ZVEXPORT int32_t ZVAPI plFindMark(Playlist pl, int32_t value) {
  int32_t n = lineCount(pl);
  for (int32_t i = 0; i < n; ++i)
    if (lineRec(pl, i)->mark == value) return i;
  return -1;
}

ZVEXPORT void ZVAPI plDelMarks(Playlist pl) {
  int32_t n = lineCount(pl);
  for (int32_t i = 0; i < n; ++i) lineRec(pl, i)->mark = 0;
}
