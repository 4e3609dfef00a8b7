// The order arrays over the current playlist and the walk that next and
// previous take through them. Lines are read through the engine's playlist
// exports: a line whose flags carry lfGroup is a group, every other line is a
// file; a group's members follow it with a greater level.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "zv_playlist.h"

namespace zv {

bool isFileLine(Playlist pl, int32_t index);
bool isGroupLine(Playlist pl, int32_t index);
int32_t lineLevel(Playlist pl, int32_t index);
// The nearest line above `index` with a smaller level, or -1.
int32_t groupLineOf(Playlist pl, int32_t index);

// groupMode values of the settings.
enum GroupMode : int32_t { groupByLocation = 0, groupNone = 1, groupByTag = 2, groupSorted = 3 };

class PlayOrders {
 public:
  // Rebuilds the playlist and shuffle orders; the sorted and line orders are
  // rebuilt when next asked for (the line order sorts by the locale's keys of
  // every name, seconds for a long playlist, and is needed only to find a
  // line by name).
  void rebuild(Playlist pl);
  // The playlist changed (new information): the sorted order is stale.
  void markSortedStale() { sortedStale_ = true; }
  // The array that next and previous walk: shuffle when "shuffle" is on, else
  // the sorted order for group mode 3, else the playlist order.
  const std::vector<int32_t>& playOrder(Playlist pl, bool shuffle, int32_t groupMode);
  // All lines sorted by full name, for finding lines by name (plFind).
  const std::vector<int32_t>& lineOrder(Playlist pl);
  int32_t fileCount() const { return static_cast<int32_t>(playlistOrder_.size()); }
  // Indexes of the lines named `name` (ignoring case), through the line order.
  std::vector<int32_t> findByName(Playlist pl, const std::string& name);

 private:
  std::vector<int32_t> playlistOrder_, shuffleOrder_, sortedOrder_, lineOrder_;
  bool sortedStale_ = true, lineOrderStale_ = true;
};

// With "repeat group": keeps, in order, the entries that lie in the run of
// lines around `current` whose levels are all at least the current line's
// level, and whose own level is exactly that. Without a valid current line
// the order is returned unchanged.
std::vector<int32_t> groupRangeFilter(Playlist pl, const std::vector<int32_t>& order, int32_t current);

// The entry after (before) `current` in `order`, wrapping around; the first
// (last) entry when `current` is absent; -1 for an empty order.
int32_t stepInOrder(const std::vector<int32_t>& order, int32_t current, bool backwards);

}  // namespace zv
