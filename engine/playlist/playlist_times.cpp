// plCalcTimes: the totals of every group from its direct children.
#include <climits>
#include <vector>

#include "foundation/diagnostics.h"
#include "playlist/playlist_model.h"

namespace zv {
namespace {

// Sums saturate: a total is better pinned at the top than wrapped negative.
int32_t clampSum(int64_t v) { return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : int32_t(v); }

struct Frame {
  int32_t line;
  int32_t next;  // where the scan for further children goes on
  int64_t time = 0, files = 0, size = 0;
};

// Works through the tree below one top-level line with an explicit stack, so
// that deep nesting from a damaged file cannot exhaust the thread's stack.
// Each line is looked at once: a parent resumes its scan behind the branch of
// the child it just finished.
void totalsOf(PlaylistHandle* pl, int32_t top, std::vector<Frame>& stack) {
  int32_t n = lineCount(pl);
  stack.clear();
  stack.push_back(Frame{top, top + 1});
  while (!stack.empty()) {
    Frame& f = stack.back();
    PlaylistLine* rec = lineRec(pl, f.line);
    bool done = true;
    if (rec->flags & lfGroup) {
      while (f.next < n && lineRec(pl, f.next)->level > rec->level) {
        int32_t child = f.next++;
        if (lineRec(pl, child)->level == rec->level + 1) {
          stack.push_back(Frame{child, child + 1});
          done = false;
          break;
        }
      }
      if (!done) continue;
      rec->time = clampSum(f.time);
      rec->files = clampSum(f.files);
      rec->size = clampSum(f.size);
    } else {
      rec->files = 1;
    }
    int32_t resume = f.next;
    stack.pop_back();
    if (stack.empty()) break;
    Frame& parent = stack.back();
    parent.time += rec->time;
    parent.files += rec->files;
    parent.size += rec->size;
    // A group's scan ended at the first line outside its branch; lines before
    // that are its own descendants, not further children of the parent.
    if (rec->flags & lfGroup && resume > parent.next) parent.next = resume;
  }
}

}  // namespace
}  // namespace zv

ZVEXPORT void ZVAPI plCalcTimes(Playlist pl) {
  zv::guardedVoid("plCalcTimes", [&] {
    zv::settleLines(pl);
    std::vector<zv::Frame> stack;
    int32_t n = zv::lineCount(pl);
    for (int32_t i = 0; i < n; ++i)
      if (zv::lineRec(pl, i)->level == 0) zv::totalsOf(pl, i, stack);
  });
}
