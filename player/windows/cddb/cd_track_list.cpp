#include "cd_track_list.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace zv::cddb {

void CdTrackList::assign(std::vector<CdTrackItem> items) {
  items_ = std::move(items);
  dirty_ = false;
}

int CdTrackList::remove(int index) {
  if (index < 0 || index >= int(items_.size())) return -1;
  items_.erase(items_.begin() + index);
  dirty_ = true;
  return items_.empty() ? -1 : std::min(index, int(items_.size()) - 1);
}

int CdTrackList::moveUp(int index) { return index > 0 ? moveTo(index, index - 1) : -1; }
int CdTrackList::moveDown(int index) { return index + 1 < int(items_.size()) ? moveTo(index, index + 1) : -1; }

int CdTrackList::moveTo(int from, int to) {
  const int n = int(items_.size());
  if (from < 0 || from >= n || to < 0 || to >= n || from == to) return -1;
  CdTrackItem item = std::move(items_[from]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(item));
  dirty_ = true;
  return to;
}

int CdTrackList::append(const CdTrackItem& item) {
  items_.push_back(item);
  dirty_ = true;
  return int(items_.size()) - 1;
}

void CdTrackList::sortByNumber() {
  std::stable_sort(items_.begin(), items_.end(), [](const auto& a, const auto& b) { return a.track < b.track; });
  dirty_ = true;
}

void CdTrackList::sortByName() {
  std::stable_sort(items_.begin(), items_.end(),
                   [](const auto& a, const auto& b) { return _stricmp(a.name.c_str(), b.name.c_str()) < 0; });
  dirty_ = true;
}

void CdTrackList::reverse() {
  std::reverse(items_.begin(), items_.end());
  dirty_ = true;
}

void CdTrackList::shuffle(std::mt19937& random) {
  std::shuffle(items_.begin(), items_.end(), random);
  dirty_ = true;
}

void CdTrackList::reset(std::vector<CdTrackItem> all) {
  items_ = std::move(all);
  dirty_ = true;
}

void CdTrackList::rename(int track, const std::string& name) {
  for (auto& item : items_)
    if (item.track == track) item.name = name;
}

std::string discPath(uint32_t discId) {
  char text[32];
  std::snprintf(text, sizeof(text), "CD:\\%08X.m3u", discId);
  return text;
}

std::string trackPath(uint32_t discId, int track) {
  char text[48];
  std::snprintf(text, sizeof(text), "CD:\\%08X\\track%02d.cda", discId, track);
  return text;
}

std::string formatTime(int ms) {
  if (ms <= 0) return {};
  const int s = ms / 1000;
  char text[32];
  if (s >= 3600) std::snprintf(text, sizeof(text), "%d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
  else std::snprintf(text, sizeof(text), "%d:%02d", s / 60, s % 60);
  return text;
}

}  // namespace zv::cddb
