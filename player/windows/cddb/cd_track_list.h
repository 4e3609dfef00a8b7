// The CD database window's track list: which tracks of a disc play, in which
// order, with their names and lengths. Plain edits with a dirty mark; the
// engine calls that fill and store it are in cd_disc_store.h.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace zv::cddb {

struct CdTrackItem {
  int track = 1;  // counted from 1
  std::string name;
  int lengthMs = 0;
};

class CdTrackList {
 public:
  // Takes a loaded list; the list is clean afterwards.
  void assign(std::vector<CdTrackItem> items);
  const std::vector<CdTrackItem>& items() const { return items_; }
  size_t size() const { return items_.size(); }
  bool dirty() const { return dirty_; }
  void markClean() { dirty_ = false; }

  // Each returns the index the moved or following item now has (-1 when
  // nothing changed) and marks the list dirty when it changed it.
  int remove(int index);
  int moveUp(int index);
  int moveDown(int index);
  // Drag: the item at `from` goes to position `to` (0..size-1).
  int moveTo(int from, int to);
  int append(const CdTrackItem& item);
  void sortByNumber();
  void sortByName();
  void reverse();
  void shuffle(std::mt19937& random);
  // "Reset": all tracks of the record in number order.
  void reset(std::vector<CdTrackItem> all);
  // A new name of one track, wherever it stands (no dirty mark: names live
  // in the record, not in the order).
  void rename(int track, const std::string& name);

 private:
  std::vector<CdTrackItem> items_;
  bool dirty_ = false;
};

// "CD:\%8.8X.m3u": a disc of the CD database.
std::string discPath(uint32_t discId);
// "CD:\%8.8X\trackNN.cda": one of its tracks (track counted from 1), the
// form the engine reads back as that disc's track.
std::string trackPath(uint32_t discId, int track);
// "m:ss", or "h:mm:ss" from an hour; empty for 0.
std::string formatTime(int ms);

}  // namespace zv::cddb
