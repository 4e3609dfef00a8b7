// The table of open cache files. Each loaded "zvcache" list stays in the
// table (up to 16 at a time, oldest loaded evicted first) and is written back
// when it is evicted or the engine unloads.
//
// A list is handed out as a lease. While leases on a list are out, its slot
// counts them and is never evicted, so no list is freed under a user and a
// change marked by any user is written at the latest when the slot goes.
// Holders of leases on the same list take turns (one at a time works on
// the list), because the list itself has no lock.
#pragma once
#include <string>

#include "zv_containers.h"

namespace zv {

struct CacheSlot;

class CacheLease {
 public:
  // The list of cache file `file`: from the table, else loaded (an unreadable
  // file gives no lease, or an empty list with `create`). Blocks while
  // another thread works on the same list.
  static CacheLease acquire(const std::string& file, bool create);

  CacheLease() = default;
  CacheLease(CacheLease&& other) noexcept;
  CacheLease& operator=(CacheLease&& other) noexcept;
  CacheLease(const CacheLease&) = delete;
  CacheLease& operator=(const CacheLease&) = delete;
  ~CacheLease();

  explicit operator bool() const { return slot_ != nullptr; }
  hStrList list() const;
  // The list has changes to write.
  void markChanged();

 private:
  explicit CacheLease(CacheSlot* slot) : slot_(slot) {}
  void release();
  CacheSlot* slot_ = nullptr;
};

bool startInfoCache();
// Writes every changed list; frees the lists unless the process is exiting.
void stopInfoCache(bool processExit);

// How many cache files the table holds now (for diagnostics and tests).
int openCacheFiles();

}  // namespace zv
