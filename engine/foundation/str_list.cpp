// The engine's string list (hStrList).
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/container_growth.h"
#include "foundation/diagnostics.h"
#include "foundation/file_io.h"
#include "foundation/str_list.h"
#include "zv_memory.h"

namespace zv {
namespace {

// Record lengths sit at any byte offset of the storage.
int32_t recordLength(const ZvStrListRec* l, int32_t offset) {
  int32_t n;
  std::memcpy(&n, l->storage + offset, sizeof(n));
  return n;
}

void setIndexCapacity(ZvStrListRec* l, int32_t entries) {
  if (entries == l->indexCapacity) return;
  l->index = static_cast<int32_t*>(mreallocex(l->index, entries * 4, "slIndex"));
  l->indexCapacity = entries;
}

void setStorageCapacity(ZvStrListRec* l, int32_t capacity) {
  if (capacity == l->storageCapacity) return;
  l->storage = static_cast<uint8_t*>(mreallocex(l->storage, capacity, "slStorage"));
  l->storageCapacity = capacity;
}

void ensureIndexRoom(ZvStrListRec* l, int64_t entries) {
  if (entries > l->indexCapacity || !l->index) {
    int32_t cap = grownCapacity(l->index ? l->indexCapacity : 0, entries, kIndexStep);
    if (cap > INT32_MAX / 4) throw std::length_error("string list too long");
    setIndexCapacity(l, cap);
  }
}

// Appends a record at storageUsed and returns its offset.
int32_t appendRecord(ZvStrListRec* l, const void* data, int32_t length) {
  int64_t needed = int64_t(l->storageUsed) + length + 4;
  if (needed > l->storageCapacity || !l->storage)
    setStorageCapacity(l, grownCapacity(l->storage ? l->storageCapacity : 0, needed, kStorageStep));
  int32_t offset = l->storageUsed;
  std::memcpy(l->storage + offset, &length, sizeof(length));
  _memcpy(l->storage + offset + 4, data, length);
  l->storageUsed += length + 4;
  return offset;
}

// A caller's buffer, copied aside when it lies in this list's storage (a
// growth would move it away under our feet).
struct SafeBuffer {
  std::vector<uint8_t> copy;
  const void* data;
  int32_t length;
  SafeBuffer(const ZvStrListRec* l, const void* p, int32_t n) : data(p), length(p && n > 0 ? n : 0) {
    auto* q = static_cast<const uint8_t*>(p);
    if (q && l->storage && q >= l->storage && q < l->storage + l->storageCapacity) {
      copy.assign(q, q + length);
      data = copy.data();
    }
  }
};

int32_t insertAt(ZvStrListRec* l, int32_t i, const void* buffer, int32_t length) {
  if (i < 0 || i > l->count - 1) i = l->count;
  SafeBuffer src(l, buffer, length);
  ensureIndexRoom(l, int64_t(l->count) + 1);
  int32_t offset = src.data ? appendRecord(l, src.data, src.length) : -1;
  _memcpy(l->index + i + 1, l->index + i, (l->count - i) * 4);
  l->index[i] = offset;
  ++l->count;
  return i;
}

int32_t textLength(const char* text) { return text ? static_cast<int32_t>(std::strlen(text)) + 1 : 0; }

bool validIndex(const ZvStrListRec* l, int32_t i) { return l && i >= 0 && i < l->count; }

void compact(ZvStrListRec* l, bool force) {
  if (!force && !compactionWorthwhile(l->deadBytes, l->storageUsed)) return;
  auto* fresh = static_cast<uint8_t*>(mallocex(l->storageCapacity, "slStorage"));
  int32_t used = 0;
  for (int32_t i = 0; i < l->count; ++i) {
    int32_t offset = l->index[i];
    if (offset < 0) continue;
    int32_t size = recordLength(l, offset) + 4;
    _memcpy(fresh + used, l->storage + offset, size);
    l->index[i] = used;
    used += size;
  }
  _mfree(l->storage);
  l->storage = fresh;
  l->storageUsed = used;
  l->deadBytes = 0;
  // Always down to within one step: the written form relies on it.
  int32_t slack = l->storageCapacity - used;
  if (slack >= kStorageStep) setStorageCapacity(l, l->storageCapacity - slack / kStorageStep * kStorageStep);
}

void shrinkIndex(ZvStrListRec* l) { setIndexCapacity(l, shrunkCapacity(l->indexCapacity, l->count, kIndexStep)); }

void emptyList(ZvStrListRec* l) {
  l->count = l->storageUsed = l->deadBytes = 0;
  setIndexCapacity(l, kIndexStep);
  setStorageCapacity(l, kStorageStep);
}

void setEntry(ZvStrListRec* l, int32_t i, const void* buffer, int32_t length) {
  SafeBuffer src(l, buffer, length);
  int32_t offset = l->index[i];
  int32_t oldLength = offset >= 0 ? recordLength(l, offset) : 0;
  if (!src.data) {
    if (offset >= 0) l->deadBytes += oldLength + 4;
    l->index[i] = -1;
  } else if (offset >= 0 && src.length <= oldLength) {
    // Shortened in place; the record keeps its size in storage.
    std::memcpy(l->storage + offset, &src.length, sizeof(int32_t));
    _memcpy(l->storage + offset + 4, src.data, src.length);
    l->deadBytes += oldLength - src.length;
  } else {
    if (offset >= 0) l->deadBytes += oldLength + 4;
    l->index[i] = appendRecord(l, src.data, src.length);
  }
  compact(l, false);
}

// Index entries must point at whole records inside the storage read with
// them, each entry at its own record: records that overlap or are shared
// add up to more than the storage holds, and the compaction every write
// starts with would copy them past the end of its new buffer.
bool indexIsSound(const ZvStrListRec* l) {
  std::vector<std::pair<int32_t, int32_t>> records;  // [offset, end)
  records.reserve(size_t(l->count));
  for (int32_t i = 0; i < l->count; ++i) {
    int32_t offset = l->index[i];
    if (offset == -1) continue;
    if (offset < 0 || offset > l->storageUsed - 4) return false;
    int32_t length = recordLength(l, offset);
    if (length < 0 || length > l->storageUsed - 4 - offset) return false;
    records.emplace_back(offset, offset + 4 + length);
  }
  std::sort(records.begin(), records.end());
  for (size_t i = 1; i < records.size(); ++i)
    if (records[i].first < records[i - 1].second) return false;
  return true;
}

// A stored capacity is used as an allocation size; one far beyond what the
// content needs can only come from a damaged file and is cut down.
int32_t plausibleCapacity(int32_t stored, int32_t needed, int32_t step) {
  int64_t limit = int64_t(needed) + (needed > step ? needed : step);
  return stored > limit ? static_cast<int32_t>(int64_t(needed) + step) : stored;
}

bool readList(ZvStrListRec* l, HANDLE file) {
  int64_t left = bytesLeft(file);
  int32_t head[4] = {0, 0, 0, 0};
  if (!readExact(file, head, sizeof(head))) return false;
  int32_t count = head[0], indexCapacity = head[1], used = head[2], storageCapacity = head[3];
  if (count < 0 || indexCapacity < count || used < 0 || storageCapacity < used) return false;
  if (left >= 0 && int64_t(count) * 4 + used > left - int64_t(sizeof(head))) return false;
  indexCapacity = plausibleCapacity(indexCapacity, count, kIndexStep);
  if (indexCapacity > INT32_MAX / 4) return false;
  storageCapacity = plausibleCapacity(storageCapacity, used, kStorageStep);
  setIndexCapacity(l, indexCapacity);
  setStorageCapacity(l, storageCapacity);
  l->count = count;
  l->storageUsed = used;
  l->deadBytes = 0;
  return readExact(file, l->index, int64_t(count) * 4) && readExact(file, l->storage, used) && indexIsSound(l);
}

}  // namespace

void strListInsertNulls(hStrList l, int32_t at, int32_t n) {
  if (!l || n <= 0 || at < 0 || at > l->count) return;
  ensureIndexRoom(l, int64_t(l->count) + n);
  _memcpy(l->index + at + n, l->index + at, (l->count - at) * 4);
  for (int32_t k = 0; k < n; ++k) l->index[at + k] = -1;
  l->count += n;
}

void strListDropEntries(hStrList l, int32_t first, int32_t n) {
  if (!l || n <= 0 || first < 0 || first > l->count - n) return;
  for (int32_t k = first; k < first + n; ++k) {
    if (l->index[k] >= 0) l->deadBytes += recordLength(l, l->index[k]) + 4;
    l->index[k] = -1;
  }
}

void strListMoveEntries(hStrList l, int32_t to, int32_t from, int32_t n) {
  if (!l || n <= 0 || to < 0 || from < 0 || to > l->count - n || from > l->count - n) return;
  _memcpy(l->index + to, l->index + from, n * 4);
}

void strListRemoveDropped(hStrList l, int32_t first, int32_t n) {
  if (!l || n <= 0 || first < 0 || first > l->count - n) return;
  std::fill(l->index + first, l->index + first + n, -1);
  strListDeleteRange(l, first, n);
}

void strListReserve(hStrList l, int32_t entries, int64_t storageBytes) {
  if (!l) return;
  ensureIndexRoom(l, entries);
  if (storageBytes > l->storageCapacity || !l->storage)
    setStorageCapacity(l, grownCapacity(l->storage ? l->storageCapacity : 0, storageBytes, kStorageStep));
}

void strListDeleteRange(hStrList l, int32_t first, int32_t n) {
  if (!l || n <= 0 || first < 0 || first > l->count - n) return;
  for (int32_t k = first; k < first + n; ++k)
    if (l->index[k] >= 0) l->deadBytes += recordLength(l, l->index[k]) + 4;
  _memcpy(l->index + first, l->index + first + n, (l->count - first - n) * 4);
  l->count -= n;
  shrinkIndex(l);
  compact(l, false);
}

}  // namespace zv

using namespace zv;

ZVEXPORT hStrList ZVAPI slAlloc(void) {
  return guarded<hStrList>("slAlloc", nullptr, [] {
    auto* l = static_cast<ZvStrListRec*>(mallocex(sizeof(ZvStrListRec), "hStrList"));
    l->index = static_cast<int32_t*>(mallocex(kIndexStep * 4, "slIndex"));
    l->storage = static_cast<uint8_t*>(mallocex(kStorageStep, "slStorage"));
    l->indexCapacity = kIndexStep;
    l->storageCapacity = kStorageStep;
    return l;
  });
}

ZVEXPORT void ZVAPI slFree(hStrList l) {
  if (!l) return;
  _mfree(l->index);
  _mfree(l->storage);
  _mfree(l);
}

ZVEXPORT int32_t ZVAPI slCount(hStrList l) { return l ? l->count : 0; }

ZVEXPORT int32_t ZVAPI slAddBuf(hStrList l, const void* buffer, int32_t length) {
  return guarded<int32_t>("slAddBuf", -1, [&] { return l ? insertAt(l, -1, buffer, length) : -1; });
}

ZVEXPORT int32_t ZVAPI slAdd(hStrList l, const char* text) {
  return guarded<int32_t>("slAdd", -1, [&] { return l ? insertAt(l, -1, text, textLength(text)) : -1; });
}

ZVEXPORT int32_t ZVAPI slInsertBuf(hStrList l, int32_t i, const void* buffer, int32_t length) {
  return guarded<int32_t>("slInsertBuf", -1, [&] { return l ? insertAt(l, i, buffer, length) : -1; });
}

ZVEXPORT int32_t ZVAPI slInsert(hStrList l, int32_t i, const char* text) {
  return guarded<int32_t>("slInsert", -1, [&] { return l ? insertAt(l, i, text, textLength(text)) : -1; });
}

ZVEXPORT void* ZVAPI slGetBuf(hStrList l, int32_t i, int32_t* length) {
  void* p = nullptr;
  int32_t n = 0;
  if (validIndex(l, i) && l->index[i] >= 0) {
    n = recordLength(l, l->index[i]);
    p = l->storage + l->index[i] + 4;
  }
  if (length) *length = n;
  return p;
}

ZVEXPORT void* ZVAPI slGet(hStrList l, int32_t i) { return slGetBuf(l, i, nullptr); }

ZVEXPORT void ZVAPI slSetBuf(hStrList l, int32_t i, const void* buffer, int32_t length) {
  guardedVoid("slSetBuf", [&] {
    if (validIndex(l, i)) setEntry(l, i, buffer, length);
  });
}

ZVEXPORT void ZVAPI slSet(hStrList l, int32_t i, const char* text) {
  guardedVoid("slSet", [&] {
    if (validIndex(l, i)) setEntry(l, i, text, textLength(text));
  });
}

ZVEXPORT void ZVAPI slDelete(hStrList l, int32_t i) {
  guardedVoid("slDelete", [&] {
    if (!l) return;
    if (!validIndex(l, i)) {
      debugWriteLinef("%s: index %d not in valid range %d..%d", "slDelete", i, 0, l->count - 1);
      return;
    }
    strListDeleteRange(l, i, 1);
  });
}

ZVEXPORT void ZVAPI slExchange(hStrList l, int32_t i, int32_t j) {
  if (!validIndex(l, i) || !validIndex(l, j)) return;
  int32_t t = l->index[i];
  l->index[i] = l->index[j];
  l->index[j] = t;
}

ZVEXPORT void ZVAPI slReorder(hStrList l, const int32_t* order, int32_t first, int32_t last) {
  guardedVoid("slReorder", [&] {
    if (!l) return;
    auto* fresh = static_cast<int32_t*>(mallocex(l->indexCapacity * 4, "slIndex"));
    if (fresh) _memcpy(fresh, l->index, l->count * 4);
    if (order && fresh) {
      for (int32_t k = 0; first + k <= last; ++k) {
        int32_t to = first + k, from = order[k];
        if (validIndex(l, to) && validIndex(l, from)) fresh[to] = l->index[from];
      }
    }
    _mfree(l->index);
    l->index = fresh;
  });
}

ZVEXPORT void ZVAPI slClear(hStrList l) {
  guardedVoid("slClear", [&] {
    if (l) emptyList(l);
  });
}

ZVEXPORT void ZVAPI slCopy(hStrList dst, hStrList src) {
  guardedVoid("slCopy", [&] {
    if (!dst || !src || dst == src) return;
    _mfree(dst->index);
    _mfree(dst->storage);
    std::memcpy(dst, src, sizeof(ZvStrListRec));
    dst->index = static_cast<int32_t*>(mallocex(src->indexCapacity * 4, "slIndex"));
    dst->storage = static_cast<uint8_t*>(mallocex(src->storageCapacity, "slStorage"));
    _memcpy(dst->index, src->index, src->count * 4);
    _memcpy(dst->storage, src->storage, src->storageUsed);
  });
}

ZVEXPORT void ZVAPI slCompact(hStrList l, int32_t force) {
  guardedVoid("slCompact", [&] {
    if (l) compact(l, force != 0);
  });
}

ZVEXPORT ZvBool ZVAPI slRead(hStrList l, void* file) {
  return guarded<ZvBool>("slRead", ZV_FALSE, [&]() -> ZvBool {
    if (!l) return ZV_FALSE;
    if (readList(l, file)) return ZV_TRUE;
    emptyList(l);
    return ZV_FALSE;
  });
}

ZVEXPORT ZvBool ZVAPI slWrite(hStrList l, void* file) {
  return guarded<ZvBool>("slWrite", ZV_FALSE, [&]() -> ZvBool {
    if (!l) return ZV_FALSE;
    compact(l, true);
    int32_t head[4] = {l->count, l->indexCapacity, l->storageUsed, l->storageCapacity};
    bool ok = writeAll(file, head, sizeof(head)) && writeAll(file, l->index, int64_t(l->count) * 4) &&
              writeAll(file, l->storage, l->storageUsed);
    return ok ? ZV_TRUE : ZV_FALSE;
  });
}
