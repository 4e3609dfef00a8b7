// Tagged, zero-filled engine blocks: small ones from a fixed pool of 128
// slots, the rest from a private growable heap. Every block carries a 24-byte
// header (tag, slot, size) in front of the address handed out.
#include "foundation/memory.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

#include "foundation/diagnostics.h"
#include "zv_memory.h"

namespace zv {
namespace {

constexpr int kSlotCount = 128;
constexpr int kSlotSize = 128;
constexpr int kHeaderSize = static_cast<int>(sizeof(ZvBlockHeader));
constexpr int kPoolMaxSize = kSlotSize - kHeaderSize;  // 104
constexpr int kTagMax = 15;
constexpr SIZE_T kHeapInitialSize = 1048576;

// Recording every heap block costs a lock per allocation; it is a debugging
// aid switched on at build time only.
#ifdef ZV_MEMORY_MAP
constexpr bool kMemoryMap = true;
#else
constexpr bool kMemoryMap = false;
#endif

alignas(16) unsigned char g_pool[kSlotCount][kSlotSize];
// 0 = free, -1 = in use; claimed and released atomically so that two
// threads can never be handed the same slot.
std::atomic<int32_t> g_slotState[kSlotCount];

std::atomic<HANDLE> g_heap{nullptr};

// Informational counters; interlocked so concurrent updates are not lost.
// Laid out as plain int32 for callers of debugGetMallocStat.
volatile LONG g_stats[ZV_STAT_COUNT];

std::mutex g_mapLock;
std::set<uintptr_t>* g_memoryMap;  // only with kMemoryMap

void add(int index, LONG amount) { InterlockedExchangeAdd(&g_stats[index], amount); }

void raisePeak(int peakIndex, int valueIndex) {
  LONG value = g_stats[valueIndex];
  LONG peak = g_stats[peakIndex];
  while (value > peak) {
    LONG seen = InterlockedCompareExchange(&g_stats[peakIndex], value, peak);
    if (seen == peak) break;
    peak = seen;
  }
}

[[noreturn]] void fatal(const char* text) {
  debugWriteLine(text);
  MessageBoxA(nullptr, text, "Zorvak", MB_ICONERROR | MB_OK | MB_SYSTEMMODAL);
  ExitProcess(1);
}

HANDLE heap() {
  HANDLE h = g_heap.load(std::memory_order_acquire);
  if (h) return h;
  HANDLE created = HeapCreate(0, kHeapInitialSize, 0);
  if (!created) fatal("Heap allocation error");
  HANDLE expected = nullptr;
  if (!g_heap.compare_exchange_strong(expected, created, std::memory_order_acq_rel)) {
    HeapDestroy(created);  // another thread won the race
    return expected;
  }
  return created;
}

ZvBlockHeader* headerOf(void* block) {
  return reinterpret_cast<ZvBlockHeader*>(static_cast<unsigned char*>(block) - kHeaderSize);
}

void setTag(ZvBlockHeader* h, const char* tag) {
  std::memset(h->tag, 0, sizeof(h->tag));
  if (!tag) return;
  size_t n = strnlen(tag, kTagMax);
  std::memcpy(h->tag, tag, n);
}

void recordHeapBlock(void* block, bool add) {
  if constexpr (kMemoryMap) {
    std::lock_guard<std::mutex> hold(g_mapLock);
    if (!g_memoryMap) g_memoryMap = new std::set<uintptr_t>;  // freed at unload
    if (add)
      g_memoryMap->insert(reinterpret_cast<uintptr_t>(block));
    else
      g_memoryMap->erase(reinterpret_cast<uintptr_t>(block));
  } else {
    (void)block;
    (void)add;
  }
}

int claimSlot() {
  for (int i = 0; i < kSlotCount; ++i) {
    int32_t expected = 0;
    if (g_slotState[i].load(std::memory_order_relaxed) == 0 &&
        g_slotState[i].compare_exchange_strong(expected, -1, std::memory_order_acquire))
      return i;
  }
  return -1;
}

void* allocate(int32_t size, const char* tag) {
  if (size <= 0) return nullptr;
  heap();
  ZvBlockHeader* h;
  if (size <= kPoolMaxSize) {
    int slot = claimSlot();
    if (slot >= 0) {
      std::memset(g_pool[slot], 0, kSlotSize);
      h = reinterpret_cast<ZvBlockHeader*>(g_pool[slot]);
      h->slot = slot;
      h->size = size;
      setTag(h, tag);
      add(ZV_STAT_POOL_ALLOCATED, size);
      add(ZV_STAT_POOL_IN_USE, size);
      add(ZV_STAT_POOL_ALLOCS, 1);
      add(ZV_STAT_POOL_BLOCKS, 1);
      raisePeak(ZV_STAT_POOL_PEAK, ZV_STAT_POOL_IN_USE);
      raisePeak(ZV_STAT_POOL_BLOCKS_PEAK, ZV_STAT_POOL_BLOCKS);
      return h + 1;
    }
  }
  SIZE_T bytes = static_cast<SIZE_T>(size) + kHeaderSize;
  void* raw = HeapAlloc(heap(), HEAP_ZERO_MEMORY, bytes);
  if (!raw) {
    char text[160];
    std::snprintf(text, sizeof(text), "Memory alloc error (%s src=%p sz=%d err=%d)", "HeapAlloc",
                  static_cast<void*>(nullptr), static_cast<int>(bytes), static_cast<int>(GetLastError()));
    fatal(text);
  }
  h = static_cast<ZvBlockHeader*>(raw);
  h->slot = -1;
  h->size = size;
  setTag(h, tag);
  add(ZV_STAT_HEAP_ALLOCATED, size);
  add(ZV_STAT_HEAP_IN_USE, size);
  raisePeak(ZV_STAT_HEAP_PEAK, ZV_STAT_HEAP_IN_USE);
  recordHeapBlock(h + 1, true);
  return h + 1;
}

void release(void* block) {
  if (!block) return;
  ZvBlockHeader* h = headerOf(block);
  int32_t size = h->size;
  if (h->slot < 0) {
    recordHeapBlock(block, false);
    HeapFree(heap(), 0, h);
    add(ZV_STAT_HEAP_IN_USE, -size);
    add(ZV_STAT_HEAP_FREED, size);
    return;
  }
  int slot = h->slot;
  add(ZV_STAT_POOL_IN_USE, -size);
  add(ZV_STAT_POOL_FREED, size);
  add(ZV_STAT_POOL_BLOCKS, -1);
  add(ZV_STAT_POOL_RELEASES, 1);
  g_slotState[slot].store(0, std::memory_order_release);
}

void* resize(void* block, int32_t size, const char* tag) {
  if (size <= 0) {
    release(block);
    return nullptr;
  }
  if (!block) return allocate(size, tag);
  ZvBlockHeader* h = headerOf(block);
  int32_t old = h->size;
  bool keepTag = !tag || !*tag;
  if (h->slot < 0) {
    SIZE_T bytes = static_cast<SIZE_T>(size) + kHeaderSize;
    void* raw = HeapReAlloc(heap(), HEAP_ZERO_MEMORY, h, bytes);
    if (!raw) {
      char text[160];
      std::snprintf(text, sizeof(text), "Memory alloc error (%s src=%p sz=%d err=%d)", "HeapReAlloc", block,
                    static_cast<int>(bytes), static_cast<int>(GetLastError()));
      fatal(text);
    }
    if (raw != h) {
      recordHeapBlock(block, false);
      recordHeapBlock(static_cast<ZvBlockHeader*>(raw) + 1, true);
    }
    h = static_cast<ZvBlockHeader*>(raw);
    h->size = size;
    add(ZV_STAT_HEAP_IN_USE, size - old);
    add(ZV_STAT_HEAP_ALLOCATED, size);
    add(ZV_STAT_HEAP_FREED, old);
    raisePeak(ZV_STAT_HEAP_PEAK, ZV_STAT_HEAP_IN_USE);
    if (!keepTag) setTag(h, tag);
    return h + 1;
  }
  if (size > kPoolMaxSize) {
    void* moved = allocate(size, keepTag ? h->tag : tag);
    std::memcpy(moved, block, static_cast<size_t>(old));
    release(block);
    return moved;
  }
  // A block that shrank earlier still holds its old bytes past the new end;
  // growing must show zeros there, as every new byte does.
  if (size > old) std::memset(static_cast<unsigned char*>(block) + old, 0, static_cast<size_t>(size - old));
  h->size = size;
  add(ZV_STAT_POOL_ALLOCATED, size);
  add(ZV_STAT_POOL_FREED, old);
  add(ZV_STAT_POOL_IN_USE, size - old);
  raisePeak(ZV_STAT_POOL_PEAK, ZV_STAT_POOL_IN_USE);
  if (!keepTag) setTag(h, tag);
  return block;
}

}  // namespace

bool startMemoryManager() { return true; }

void stopMemoryManager(bool processExit) {
  if (processExit) return;  // the system reclaims everything at once
  // The engine is being unloaded while the process lives on: give the heap
  // back so repeated loads do not leak it.
  if (HANDLE h = g_heap.exchange(nullptr)) HeapDestroy(h);
  for (auto& s : g_slotState) s.store(0);
  std::lock_guard<std::mutex> hold(g_mapLock);
  delete g_memoryMap;
  g_memoryMap = nullptr;
}

void countPostedMessage() { add(ZV_STAT_MESSAGES_POSTED, 1); }

long countDroppedMessage() {
  static volatile LONG dropped = 0;
  return InterlockedIncrement(&dropped);
}

}  // namespace zv

using zv::guarded;

ZVEXPORT void* ZVAPI mallocex(int32_t size, const char* tag) {
  return guarded("malloc", static_cast<void*>(nullptr), [&] { return zv::allocate(size, tag); });
}

ZVEXPORT void* ZVAPI _malloc(int32_t size) { return mallocex(size, ""); }

ZVEXPORT void* ZVAPI mreallocex(void* block, int32_t size, const char* tag) {
  return guarded("mrealloc", static_cast<void*>(nullptr), [&] { return zv::resize(block, size, tag); });
}

ZVEXPORT void* ZVAPI _mrealloc(void* block, int32_t size) { return mreallocex(block, size, ""); }

ZVEXPORT void ZVAPI _mfree(void* block) {
  zv::guardedVoid("mfree", [&] { zv::release(block); });
}

ZVEXPORT int32_t ZVAPI _mgetsize(void* block) {
  return guarded("mgetsize", int32_t{0}, [&] { return block ? zv::headerOf(block)->size : 0; });
}

ZVEXPORT int32_t ZVAPI _mdidalloc(void) { return 1; }

ZVEXPORT char* ZVAPI strallocex(const char* text, const char* tag) {
  if (!text) text = "";
  size_t n = std::strlen(text) + 1;
  if (n > 0x7fffffff) return nullptr;
  char* copy = static_cast<char*>(mallocex(static_cast<int32_t>(n), tag));
  if (copy) std::memcpy(copy, text, n);
  return copy;
}

ZVEXPORT char* ZVAPI _stralloc(const char* text) { return strallocex(text, ""); }

ZVEXPORT void* ZVAPI varallocex(const void* source, int32_t length, const char* tag) {
  void* copy = mallocex(length, tag);
  if (copy && source) std::memcpy(copy, source, static_cast<size_t>(length));
  return copy;
}

ZVEXPORT void* ZVAPI _varalloc(const void* source, int32_t length) { return varallocex(source, length, ""); }

ZVEXPORT void ZVAPI _memcpy(void* destination, const void* source, int32_t length) {
  if (length <= 0 || !destination || !source) return;
  std::memmove(destination, source, static_cast<size_t>(length));
  zv::add(ZV_STAT_BYTES_COPIED, length);
}

ZVEXPORT const int32_t* ZVAPI debugGetMallocStat(void) {
  zv::heap();
  return const_cast<const int32_t*>(reinterpret_cast<volatile int32_t*>(zv::g_stats));
}

ZVEXPORT void ZVAPI debugPrintMemMap(void) {
  if constexpr (!zv::kMemoryMap) {
    zv::debugWriteLine("Memory map disabled");
    return;
  }
  zv::debugWriteLine("== Suballoc =================================");
  for (int i = 0; i < zv::kSlotCount; ++i) {
    if (zv::g_slotState[i].load() == 0) continue;
    const ZvBlockHeader* h = reinterpret_cast<const ZvBlockHeader*>(zv::g_pool[i]);
    zv::debugWriteLinef("%d: %.15s", static_cast<int>(h->size), h->tag);
  }
  zv::debugWriteLine("== Heap =====================================");
  {
    std::lock_guard<std::mutex> hold(zv::g_mapLock);
    if (zv::g_memoryMap)
      for (uintptr_t a : *zv::g_memoryMap) {
        const ZvBlockHeader* h = zv::headerOf(reinterpret_cast<void*>(a));
        zv::debugWriteLinef("%d: %.15s", static_cast<int>(h->size), h->tag);
      }
  }
  zv::debugWriteLine("=============================================");
}
