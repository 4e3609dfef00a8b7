#include "playlist/line_gap.h"

#include "foundation/dyn_array.h"
#include "foundation/str_list.h"

namespace zv {
namespace {

void moveLines(PlaylistHandle* pl, int32_t to, int32_t from, int32_t count) {
  arrayMoveElements(pl->lines, to, from, count);
  strListMoveEntries(pl->names, to, from, count);
  strListMoveEntries(pl->descs, to, from, count);
  strListMoveEntries(pl->infos, to, from, count);
}

// The texts of physical lines first..first+count-1 become dead storage now,
// as each deletion counts them; their slots may then be overwritten.
void dropTexts(PlaylistHandle* pl, int32_t first, int32_t count) {
  strListDropEntries(pl->names, first, count);
  strListDropEntries(pl->descs, first, count);
  strListDropEntries(pl->infos, first, count);
}

}  // namespace

void settleLines(PlaylistHandle* pl) {
  if (!pl || pl->gapLength <= 0) return;
  const int32_t at = pl->gapAt, count = pl->gapLength;
  pl->gapAt = pl->gapLength = 0;
  // One range deletion: the same counts and capacities as deleting the
  // lines one by one, the tail moved once.
  arrayDeleteRange(pl->lines, at, count);
  strListRemoveDropped(pl->names, at, count);
  strListRemoveDropped(pl->descs, at, count);
  strListRemoveDropped(pl->infos, at, count);
}

int32_t visibleCount(const PlaylistHandle* pl) { return pl ? lineCount(pl) - pl->gapLength : 0; }

bool visibleLine(const PlaylistHandle* pl, int32_t i) { return pl && i >= 0 && i < visibleCount(pl); }

int32_t physicalLine(const PlaylistHandle* pl, int32_t i) {
  return pl->gapLength > 0 && i >= pl->gapAt ? i + pl->gapLength : i;
}

int32_t visibleBranchLength(const PlaylistHandle* pl, int32_t i) {
  if (!visibleLine(pl, i)) return 0;
  const int32_t n = visibleCount(pl);
  const int32_t level = lineRec(pl, physicalLine(pl, i))->level;
  int32_t end = i + 1;
  while (end < n && lineRec(pl, physicalLine(pl, end))->level > level) ++end;
  return end - i;
}

void deleteLines(PlaylistHandle* pl, int32_t first, int32_t count) {
  if (count <= 0) return;
  if (pl->gapLength > 0) {
    // Lines between the range and the gap, or -1 when the range holds it.
    const int32_t at = pl->gapAt;
    const int32_t between = first + count <= at ? at - first - count : first >= at ? first - at : -1;
    const int32_t tail = lineCount(pl) - at - pl->gapLength;
    if (between < 0 || between > tail) settleLines(pl);
  }
  dropTexts(pl, physicalLine(pl, first), count);
  if (pl->gapLength == 0) {
    pl->gapAt = first;
    pl->gapLength = count;
    return;
  }
  // The lines between cross the gap, so a run of deletions in one direction
  // keeps finding the gap next to it.
  if (first + count <= pl->gapAt) {
    // Before the gap: the lines between move up behind it.
    const int32_t between = pl->gapAt - first - count;
    moveLines(pl, first + count + pl->gapLength, first + count, between);
  } else {
    // Behind it: the lines between move down in front of it.
    moveLines(pl, pl->gapAt, pl->gapAt + pl->gapLength, first - pl->gapAt);
  }
  pl->gapAt = first;
  pl->gapLength += count;
}

}  // namespace zv
