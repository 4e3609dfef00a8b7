#include "sequencing/play_order.h"

#include <algorithm>

namespace zv {

bool isFileLine(Playlist pl, int32_t index) {
  const PlaylistLine* rec = plGetRec(pl, index);
  return rec && !(rec->flags & lfGroup);
}

bool isGroupLine(Playlist pl, int32_t index) {
  const PlaylistLine* rec = plGetRec(pl, index);
  return rec && (rec->flags & lfGroup);
}

int32_t lineLevel(Playlist pl, int32_t index) {
  const PlaylistLine* rec = plGetRec(pl, index);
  return rec ? rec->level : 0;
}

int32_t groupLineOf(Playlist pl, int32_t index) {
  if (index < 0 || index >= plGetCount(pl)) return -1;
  int32_t level = lineLevel(pl, index);
  for (int32_t i = index - 1; i >= 0; --i)
    if (lineLevel(pl, i) < level) return i;
  return -1;
}

void PlayOrders::rebuild(Playlist pl) {
  int32_t count = plGetCount(pl);
  playlistOrder_.clear();
  for (int32_t i = 0; i < count; ++i)
    if (isFileLine(pl, i)) playlistOrder_.push_back(i);
  shuffleOrder_ = playlistOrder_;
  if (!shuffleOrder_.empty())
    plSortIndex(pl, plSortShuffle, shuffleOrder_.data(), static_cast<int32_t>(shuffleOrder_.size()));
  sortedStale_ = true;
  lineOrderStale_ = true;
}

const std::vector<int32_t>& PlayOrders::lineOrder(Playlist pl) {
  if (lineOrderStale_) {
    const int32_t count = plGetCount(pl);
    lineOrder_.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) lineOrder_[static_cast<size_t>(i)] = i;
    if (count > 0) plSortIndex(pl, plSortFullName, lineOrder_.data(), count);
    lineOrderStale_ = false;
  }
  return lineOrder_;
}

const std::vector<int32_t>& PlayOrders::playOrder(Playlist pl, bool shuffle, int32_t groupMode) {
  if (shuffle) return shuffleOrder_;
  if (groupMode != groupSorted) return playlistOrder_;
  if (sortedStale_) {
    sortedOrder_ = playlistOrder_;
    if (!sortedOrder_.empty())
      plSortIndex(pl, plSortDesc | plSortNoLeadingNumber, sortedOrder_.data(),
                  static_cast<int32_t>(sortedOrder_.size()));
    sortedStale_ = false;
  }
  return sortedOrder_;
}

std::vector<int32_t> PlayOrders::findByName(Playlist pl, const std::string& name) {
  std::vector<int32_t> found;
  if (lineOrder(pl).empty()) return found;
  int32_t lo = -1, hi = -1;
  plFind(pl, name.c_str(), lineOrder_.data(), &lo, &hi);
  for (int32_t i = lo; lo >= 0 && i <= hi; ++i) found.push_back(lineOrder_[static_cast<size_t>(i)]);
  return found;
}

std::vector<int32_t> groupRangeFilter(Playlist pl, const std::vector<int32_t>& order, int32_t current) {
  int32_t count = plGetCount(pl);
  if (current < 0 || current >= count) return order;
  int32_t level = lineLevel(pl, current);
  int32_t first = current, last = current;
  while (first > 0 && lineLevel(pl, first - 1) >= level) --first;
  while (last + 1 < count && lineLevel(pl, last + 1) >= level) ++last;
  std::vector<int32_t> kept;
  for (int32_t i : order)
    if (i >= first && i <= last && lineLevel(pl, i) == level) kept.push_back(i);
  return kept;
}

int32_t stepInOrder(const std::vector<int32_t>& order, int32_t current, bool backwards) {
  if (order.empty()) return -1;
  auto at = std::find(order.begin(), order.end(), current);
  if (at == order.end()) return backwards ? order.back() : order.front();
  if (backwards) return at == order.begin() ? order.back() : *(at - 1);
  ++at;
  return at == order.end() ? order.front() : *at;
}

}  // namespace zv
