// The engine's dynamic array (hArray).
#include <windows.h>

#include <cstring>
#include <vector>

#include "foundation/container_growth.h"
#include "foundation/diagnostics.h"
#include "foundation/dyn_array.h"
#include "foundation/file_io.h"
#include "zv_memory.h"

namespace zv {
namespace {

int32_t countOf(const ZvArrayRec* a) { return a->itemSize > 0 ? a->usedBytes / a->itemSize : 0; }

uint8_t* bytes(const ZvArrayRec* a) { return static_cast<uint8_t*>(a->data); }

void setCapacity(ZvArrayRec* a, int32_t capacity) {
  if (capacity == a->capacityBytes) return;
  a->data = _mrealloc(a->data, capacity);
  a->capacityBytes = capacity;
}

void ensureRoom(ZvArrayRec* a, int64_t neededBytes) {
  if (neededBytes > a->capacityBytes || !a->data)
    setCapacity(a, grownCapacity(a->data ? a->capacityBytes : 0, neededBytes, kArrayStep));
}

bool insideBuffer(const ZvArrayRec* a, const void* p) {
  auto* q = static_cast<const uint8_t*>(p);
  return a->data && q >= bytes(a) && q < bytes(a) + a->capacityBytes;
}

// The item copied aside when it lies in the buffer that is about to move.
struct SafeItem {
  std::vector<uint8_t> copy;
  const void* item;
  SafeItem(const ZvArrayRec* a, const void* p) : item(p) {
    if (insideBuffer(a, p)) {
      copy.assign(static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + a->itemSize);
      item = copy.data();
    }
  }
};

int32_t add(ZvArrayRec* a, const void* item) {
  SafeItem safe(a, item);
  ensureRoom(a, int64_t(a->usedBytes) + a->itemSize);
  a->usedBytes += a->itemSize;
  uint8_t* slot = bytes(a) + a->usedBytes - a->itemSize;
  if (safe.item)
    _memcpy(slot, safe.item, a->itemSize);
  else
    std::memset(slot, 0, a->itemSize);
  return countOf(a) - 1;
}

void shrinkAfterDelete(ZvArrayRec* a) { setCapacity(a, shrunkCapacity(a->capacityBytes, a->usedBytes, kArrayStep)); }

}  // namespace

void arrayInsertSpace(hArray a, int32_t at, int32_t n) {
  int32_t count = countOf(a);
  if (n <= 0 || at < 0 || at > count) return;
  int64_t moveBytes = int64_t(count - at) * a->itemSize;
  int64_t addBytes = int64_t(n) * a->itemSize;
  ensureRoom(a, a->usedBytes + addBytes);
  uint8_t* from = bytes(a) + int64_t(at) * a->itemSize;
  _memcpy(from + addBytes, from, static_cast<int32_t>(moveBytes));
  std::memset(from, 0, addBytes);
  a->usedBytes += static_cast<int32_t>(addBytes);
}

void arrayMoveElements(hArray a, int32_t to, int32_t from, int32_t n) {
  const int32_t count = countOf(a);
  if (n <= 0 || to < 0 || from < 0 || to > count - n || from > count - n) return;
  _memcpy(bytes(a) + int64_t(to) * a->itemSize, bytes(a) + int64_t(from) * a->itemSize,
          static_cast<int32_t>(int64_t(n) * a->itemSize));
}

void arrayReserve(hArray a, int32_t count) {
  if (a && count > 0) ensureRoom(a, int64_t(count) * a->itemSize);
}

void arrayDeleteRange(hArray a, int32_t first, int32_t n) {
  int32_t count = countOf(a);
  if (n <= 0 || first < 0 || first > count - n) return;
  uint8_t* at = bytes(a) + int64_t(first) * a->itemSize;
  int64_t removed = int64_t(n) * a->itemSize;
  _memcpy(at, at + removed, static_cast<int32_t>(int64_t(count - first - n) * a->itemSize));
  a->usedBytes -= static_cast<int32_t>(removed);
  shrinkAfterDelete(a);
}

}  // namespace zv

using namespace zv;

ZVEXPORT hArray ZVAPI aAlloc(int32_t itemSize) {
  return guarded<hArray>("aAlloc", nullptr, [&]() -> hArray {
    if (itemSize <= 0) return nullptr;
    auto* a = static_cast<ZvArrayRec*>(mallocex(sizeof(ZvArrayRec), "hArray"));
    a->itemSize = itemSize;
    a->data = _malloc(kArrayStep);
    a->capacityBytes = kArrayStep;
    return a;
  });
}

ZVEXPORT void ZVAPI aFree(hArray a) {
  if (!a) return;
  _mfree(a->data);
  _mfree(a);
}

ZVEXPORT int32_t ZVAPI aCount(hArray a) { return a ? countOf(a) : 0; }

ZVEXPORT void* ZVAPI aGet(hArray a, int32_t i) {
  if (!a || !a->data) return nullptr;
  return bytes(a) + int64_t(i) * a->itemSize;
}

ZVEXPORT int32_t ZVAPI aAdd(hArray a, const void* item) {
  return guarded<int32_t>("aAdd", -1, [&] { return a ? add(a, item) : -1; });
}

ZVEXPORT int32_t ZVAPI aInsert(hArray a, int32_t i, const void* item) {
  return guarded<int32_t>("aInsert", -1, [&]() -> int32_t {
    if (!a) return -1;
    int32_t count = countOf(a);
    if (i < 0 || i > count - 1) return add(a, item);
    SafeItem safe(a, item);
    arrayInsertSpace(a, i, 1);
    if (safe.item) _memcpy(bytes(a) + int64_t(i) * a->itemSize, safe.item, a->itemSize);
    return i;
  });
}

ZVEXPORT void ZVAPI aDelete(hArray a, int32_t i) {
  guardedVoid("aDelete", [&] {
    if (!a) return;
    int32_t count = countOf(a);
    if (i < 0 || i >= count) {
      debugWriteLinef("%s: index %d not in valid range %d..%d", "aDelete", i, 0, count - 1);
      return;
    }
    arrayDeleteRange(a, i, 1);
  });
}

ZVEXPORT void ZVAPI aRealloc(hArray a, int32_t count) {
  guardedVoid("aRealloc", [&] {
    if (!a) return;
    int64_t used = count > 0 ? int64_t(count) * a->itemSize : 0;
    if (used > INT32_MAX) throw std::length_error("aRealloc: too many elements");
    a->data = _mrealloc(a->data, static_cast<int32_t>(used));
    a->usedBytes = a->capacityBytes = static_cast<int32_t>(used);
  });
}

ZVEXPORT void ZVAPI aClear(hArray a) {
  if (!a) return;
  _mfree(a->data);
  a->data = nullptr;
  a->usedBytes = a->capacityBytes = 0;
}

ZVEXPORT void ZVAPI aCopy(hArray dst, hArray src) {
  guardedVoid("aCopy", [&] {
    if (!dst || !src || dst == src) return;
    aClear(dst);
    dst->itemSize = src->itemSize;
    dst->data = src->capacityBytes > 0 ? _malloc(src->capacityBytes) : nullptr;
    dst->capacityBytes = src->capacityBytes;
    dst->usedBytes = src->usedBytes;
    if (dst->data) _memcpy(dst->data, src->data, src->usedBytes);
  });
}

ZVEXPORT void ZVAPI aReorder(hArray a, const int32_t* order, int32_t first, int32_t last) {
  guardedVoid("aReorder", [&] {
    if (!a) return;
    // One pass over a copy: every source is read from the unchanged old buffer.
    auto* fresh = static_cast<uint8_t*>(_malloc(a->capacityBytes));
    if (fresh) _memcpy(fresh, a->data, a->usedBytes);
    int32_t count = countOf(a);
    if (order && fresh) {
      for (int32_t k = 0; first + k <= last; ++k) {
        int32_t to = first + k, from = order[k];
        // Indices outside the array would read or write beyond it; skip them.
        if (to < 0 || to >= count || from < 0 || from >= count) continue;
        _memcpy(fresh + int64_t(to) * a->itemSize, bytes(a) + int64_t(from) * a->itemSize, a->itemSize);
      }
    }
    _mfree(a->data);
    a->data = fresh;
  });
}

ZVEXPORT ZvBool ZVAPI aRead(hArray a, void* file) {
  return guarded<ZvBool>("aRead", ZV_FALSE, [&]() -> ZvBool {
    if (!a) return ZV_FALSE;
    int64_t left = bytesLeft(file);
    int32_t head[2] = {0, 0};
    bool ok = readExact(file, head, sizeof(head));
    int32_t count = head[0], itemSize = head[1];
    // A stored header is trusted only as far as the file can back it: the
    // element data must be there in full before anything is allocated.
    int64_t dataBytes = int64_t(count) * itemSize;
    ok = ok && count >= 0 && itemSize > 0 && dataBytes <= INT32_MAX;
    if (ok && left >= 0) ok = dataBytes <= left - int64_t(sizeof(head));
    if (ok) {
      a->itemSize = itemSize;
      aRealloc(a, count);
      ok = readExact(file, a->data, dataBytes);
    }
    if (!ok) aRealloc(a, 0);
    return ok ? ZV_TRUE : ZV_FALSE;
  });
}

ZVEXPORT ZvBool ZVAPI aWrite(hArray a, void* file) {
  return guarded<ZvBool>("aWrite", ZV_FALSE, [&]() -> ZvBool {
    if (!a) return ZV_FALSE;
    int32_t head[2] = {countOf(a), a->itemSize};
    bool ok = writeAll(file, head, sizeof(head)) &&
              writeAll(file, a->data, int64_t(head[0]) * a->itemSize);
    return ok ? ZV_TRUE : ZV_FALSE;
  });
}
