// The line flags of many locations at once: plGetFlags's rule with the
// existence of each location taken from one listing per folder, for a
// batch of lines such as one text playlist being read.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

namespace zv {

// The flags plGetFlags(location) gives for an entry a folder listing has
// just returned with `listedAttributes`: the listing stands for the
// attribute query wherever the path's shape makes the two agree (see
// listing::splitPlainPath; names with bytes above 0x7F are asked too, as
// the A listing may have given a best-fit spelling), else the system is
// asked as plGetFlags does. Adding a folder tree costs one query per folder
// instead of one per file.
uint32_t listedEntryFlags(const char* location, DWORD listedAttributes);

class FolderListings;

class LocationBatch {
 public:
  LocationBatch();
  ~LocationBatch();
  LocationBatch(const LocationBatch&) = delete;
  LocationBatch& operator=(const LocationBatch&) = delete;

  // The flags plGetFlags(location) gives. Folders are listed when first
  // met and kept for the life of the batch.
  uint32_t flagsOf(const char* location);

 private:
  std::unique_ptr<FolderListings> listings_;
};

}  // namespace zv
