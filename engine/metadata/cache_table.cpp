#include "metadata/cache_table.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <vector>

#include "foundation/text_compare.h"
#include "metadata/cache_file.h"

namespace zv {

struct CacheSlot {
  std::string file;
  hStrList list = nullptr;
  int users = 0;       // leases out, including those waiting for `use`
  bool dirty = false;  // changes not yet written
  std::mutex use;      // held by the one lease working on the list
};

namespace {

constexpr size_t kSlots = 16;

std::mutex g_lock;                               // guards the table and the counts
std::vector<std::unique_ptr<CacheSlot>> g_slots;  // oldest loaded first

bool sameFile(const std::string& a, const std::string& b) {
  return compareTextIgnoringCase(a, b) == 0;
}

CacheSlot* findSlot(const std::string& file) {
  for (auto& s : g_slots)
    if (sameFile(s->file, file)) return s.get();
  return nullptr;
}

void writeBack(CacheSlot& s) {
  if (s.dirty) saveCacheFile(s.file, s.list);
  s.dirty = false;
}

// Evicts the oldest slots that nobody uses until fewer than `limit` remain.
// Slots in use stay (the table then holds more than 16 for a while). The
// write happens under the table lock so that nobody loads the file while it
// is being written.
void evictDownTo(size_t limit) {
  for (size_t i = 0; g_slots.size() > limit && i < g_slots.size();) {
    CacheSlot& s = *g_slots[i];
    if (s.users > 0) {
      ++i;
      continue;
    }
    writeBack(s);
    slFree(s.list);
    g_slots.erase(g_slots.begin() + ptrdiff_t(i));
  }
}

}  // namespace

CacheLease CacheLease::acquire(const std::string& file, bool create) {
  CacheSlot* slot = nullptr;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    if ((slot = findSlot(file))) ++slot->users;
  }
  if (!slot) {
    // Read outside the lock; another thread may load the same file meanwhile,
    // and then the first one in the table wins.
    hStrList list = loadCacheFile(file, create);
    if (!list) return CacheLease();
    std::lock_guard<std::mutex> hold(g_lock);
    if ((slot = findSlot(file))) {
      ++slot->users;
      slFree(list);
    } else {
      evictDownTo(kSlots - 1);
      auto fresh = std::make_unique<CacheSlot>();
      fresh->file = file;
      fresh->list = list;
      fresh->users = 1;
      slot = fresh.get();
      g_slots.push_back(std::move(fresh));
    }
  }
  slot->use.lock();
  return CacheLease(slot);
}

CacheLease::CacheLease(CacheLease&& other) noexcept : slot_(other.slot_) { other.slot_ = nullptr; }

CacheLease& CacheLease::operator=(CacheLease&& other) noexcept {
  if (this != &other) {
    release();
    slot_ = other.slot_;
    other.slot_ = nullptr;
  }
  return *this;
}

CacheLease::~CacheLease() { release(); }

hStrList CacheLease::list() const { return slot_ ? slot_->list : nullptr; }

void CacheLease::markChanged() {
  if (!slot_) return;
  std::lock_guard<std::mutex> hold(g_lock);
  slot_->dirty = true;
}

void CacheLease::release() {
  if (!slot_) return;
  slot_->use.unlock();
  std::lock_guard<std::mutex> hold(g_lock);
  --slot_->users;
  slot_ = nullptr;
  // Slots kept past the limit while in use go now.
  if (g_slots.size() > kSlots) evictDownTo(kSlots);
}

bool startInfoCache() { return true; }

void stopInfoCache(bool processExit) {
  // At process exit another thread may have died holding the lock; then the
  // table is left as it is rather than waiting forever.
  std::unique_lock<std::mutex> hold(g_lock, std::try_to_lock);
  if (!hold.owns_lock()) return;
  for (auto& s : g_slots) writeBack(*s);
  if (processExit) return;
  // A list still leased (by a thread of the host that outlives us) is left to it.
  for (size_t i = 0; i < g_slots.size();) {
    if (g_slots[i]->users > 0) {
      ++i;
      continue;
    }
    slFree(g_slots[i]->list);
    g_slots.erase(g_slots.begin() + ptrdiff_t(i));
  }
}

int openCacheFiles() {
  std::lock_guard<std::mutex> hold(g_lock);
  return int(g_slots.size());
}

}  // namespace zv
