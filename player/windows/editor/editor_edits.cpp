#include "editor_edits.h"

#include <algorithm>

#include "editor_rules.h"

namespace zv::editor {
namespace {

// The drop target keeps this mark while lines move around it; the main
// playlist's current line is followed with mark 1 by the sequencing rules.
constexpr int32_t kTargetMark = 2;

struct OwnedList {
  Playlist pl = createPlaylist(-1);
  ~OwnedList() { freePlaylist(pl); }
  OwnedList() = default;
  OwnedList(const OwnedList&) = delete;
  OwnedList& operator=(const OwnedList&) = delete;
};

}  // namespace

int32_t addGroupHeading(Playlist pl, int32_t line, const std::string& desc) {
  const InsertPoint at = insertPoint(pl, line, AddWhere::relative);
  PlaylistLine rec{};
  rec.flags = kHeadingFlags;
  rec.level = line >= 0 && line < plGetCount(pl) ? levelOf(pl, line) + 1 : 0;
  const int32_t index = at.index >= plGetCount(pl) ? plGetCount(pl) : at.index;
  return plInsLine(pl, index, &rec, "", desc.c_str(), "");
}

int32_t insertAfter(Playlist dst, int32_t t, Playlist lines, int32_t level) {
  const int32_t at = std::clamp<int32_t>(t + 1, 0, plGetCount(dst));
  plInsert(dst, at, lines, level);
  return at;
}

void copyBranches(Playlist out, Playlist src, const std::vector<int32_t>& heads) {
  for (int32_t h : heads) {
    const int32_t first = plGetCount(out);
    plAddBranch(out, src, h, 0);
    if (PlaylistLine* rec = plGetRec(out, first)) rec->user = h;
  }
}

DropResult dropBranches(Playlist dst, int32_t t, int32_t level, Playlist src, const std::vector<int32_t>& heads,
                        bool move) {
  DropResult result;
  if (heads.empty() || t < 0 || t >= plGetCount(dst)) return result;
  if (src == dst && insideBranches(src, heads, t)) return result;
  OwnedList copies;
  copyBranches(copies.pl, src, heads);
  // A copy carries no marks (the current line stays where it is); moved
  // lines keep theirs, so the playing line is found where it went.
  if (!move) plDelMarks(copies.pl);
  const int32_t previousMark = plGetRec(dst, t)->mark;
  plMarkLine(dst, t, kTargetMark);
  if (move) {
    std::vector<int32_t> sorted = heads;
    std::sort(sorted.rbegin(), sorted.rend());
    for (int32_t h : sorted) plDelBranch(src, h);
  }
  const int32_t target = plFindMark(dst, kTargetMark);
  if (target < 0) return result;
  plMarkLine(dst, target, previousMark);
  result.first = insertAfter(dst, target, copies.pl, level);
  result.count = plGetCount(copies.pl);
  return result;
}

void sortChildren(Playlist pl, int32_t group, int32_t mode) {
  if (group < 0 || group >= plGetCount(pl)) return;
  const int32_t end = group + plGetBranch(pl, group);
  std::vector<int32_t> heads;
  for (int32_t j = group + 1; j < end; j += std::max<int32_t>(1, plGetBranch(pl, j))) heads.push_back(j);
  if (heads.size() < 2) return;
  plSortIndex(pl, mode, heads.data(), static_cast<int32_t>(heads.size()));
  OwnedList sorted;
  for (int32_t h : heads) plAddBranch(sorted.pl, pl, h, levelOf(pl, h));
  plDelRange(pl, group + 1, end - group - 1);
  plInsert(pl, group + 1, sorted.pl, 0);
}

int32_t sortModeOf(const std::string& command) {
  static const struct {
    const char* command;
    int32_t mode;
  } kModes[] = {{"sort_title", plSortDesc | plSortNoLeadingNumber},
                {"sort_fn", plSortFileName},
                {"sort_path", plSortFullName},
                {"sort_rev", plSortReverse},
                {"sort_rand", plSortShuffle},
                {"sort_title3", plSortTitle},
                {"sort_artist3", plSortArtist},
                {"sort_album3", plSortAlbum},
                {"sort_track3", plSortTrack}};
  for (const auto& m : kModes)
    if (command == m.command) return m.mode;
  return -1;
}

int32_t saveContents(Playlist pl, const std::string& target) {
  OwnedList contents;
  const int32_t count = plGetCount(pl);
  if (count > 1) plAddRange(contents.pl, pl, 1, count - 1, -1);
  return plSave(contents.pl, target.c_str(), 0);
}

}  // namespace zv::editor
