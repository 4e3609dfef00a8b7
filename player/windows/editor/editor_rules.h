// The playlist editor's decisions on a playlist, without a window: where
// added lines go, the target line and level of a drop (lines are indented
// 10 pixels per level after a 4-pixel margin), which selected lines head the
// branches that move, whether the contents are flat and how they may be
// saved, and the quick search.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "zv_playlist.h"

namespace zv::editor {

inline constexpr int kIndentStep = 10, kIndentMargin = 4;

bool isGroupLine(Playlist pl, int32_t line);
int32_t levelOf(Playlist pl, int32_t line);

// Where lines for a location go relative to line `line`: `relative` is
// after it at its level, or for a group after the end of its branch at
// level + 1 (its last child); `before` is before it at its level;
// `firstChild` right after it at level + 1; `end` after everything at level 0.
enum class AddWhere { relative, before, firstChild, end };
struct InsertPoint {
  int32_t index;  // insert before this line (the count: append)
  int32_t shift;  // the level the location's top lines get
};
InsertPoint insertPoint(Playlist pl, int32_t line, AddWhere where);

// The drop target: the line under the mouse, or the one before it when the
// mouse is in its upper half; below the last line (hit -1) the last line.
int32_t dropTargetLine(Playlist pl, int32_t hitLine, bool upperHalf);
// The drop level for target line t at mouse x (list coordinates).
int32_t dropLevel(Playlist pl, int32_t t, int x);
// The x at which the drop marker starts.
inline int dropMarkerX(int32_t level) { return level * kIndentStep + kIndentMargin; }

// The selected lines (ascending) that head the branches a drag carries:
// lines inside an earlier head's branch go with it.
std::vector<int32_t> branchHeads(Playlist pl, const std::vector<int32_t>& selected);
// True when line t lies inside one of those branches.
bool insideBranches(Playlist pl, const std::vector<int32_t>& heads, int32_t t);

// No line after line 0 is a group.
bool isFlat(Playlist pl);

// How the contents are saved: nothing (empty list); straight to line 0's
// playlist file; after the "CantSaveM3U" warning into a Z3U file asked for;
// or to a file asked for (Z3U only unless flat).
enum class SaveWay { nothing, direct, warnThenAskZ3u, ask };
struct SavePlan {
  SaveWay way = SaveWay::nothing;
  std::string target;  // for direct
  bool flat = true;
};
SavePlan planSave(Playlist pl);
// A local file path ("X:\..." or "\\server\...").
bool isLocalPath(const std::string& path);
// The save dialog's filter ("|" separated, as the localised texts give it).
std::string saveFilter(bool flat, const std::function<std::string(const char*)>& translate);

// The first line from `from` in `direction` (+1 or -1), never line 0, whose
// text contains `needle` ignoring case; -1 when none (or the needle is empty).
int32_t quickSearch(int32_t count, const std::function<std::string(int32_t)>& text, const std::string& needle,
                    int32_t from, int direction);

}  // namespace zv::editor
