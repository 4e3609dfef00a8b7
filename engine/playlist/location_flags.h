// The line flags of many locations at once: plGetFlags's rule with the
// existence of each location taken from one listing per folder, for a
// batch of lines such as one text playlist being read.
#pragma once
#include <cstdint>
#include <memory>

namespace zv {

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
