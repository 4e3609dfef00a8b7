// Dynamic arrays and string lists of zvengine.dll.
// hArray: a growable vector of fixed-size records copied in and out by value.
// hStrList: an indexed list of length-prefixed byte entries (texts with their
// zero, or any buffer), each of which may be a null entry.
// Both grow and shrink in large steps, serialise themselves to an open file
// handle in a fixed little-endian layout and can be reordered by a
// permutation. No locks: one thread at a time per container. Whoever creates a
// container frees it. Pointers returned by aGet/slGet/slGetBuf stay valid only
// until the next call that may move the buffers (add, insert, set, delete,
// clear, read, reorder, compaction of that container).
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

// The header record behind an hArray. Callers may read it; only the functions
// below change it.
typedef struct ZvArrayRec {
  void* data;             // element buffer; null after aClear or aRealloc(0)
  int32_t itemSize;       // bytes per element
  int32_t usedBytes;      // element count = usedBytes / itemSize
  int32_t capacityBytes;  // allocated size of data
} ZvArrayRec;
ZV_LAYOUT_32(sizeof(ZvArrayRec) == 16);
ZV_LAYOUT_32(offsetof(ZvArrayRec, itemSize) == 4);
ZV_LAYOUT_32(offsetof(ZvArrayRec, usedBytes) == 8);
ZV_LAYOUT_32(offsetof(ZvArrayRec, capacityBytes) == 12);
ZV_LAYOUT_64(sizeof(ZvArrayRec) == 24);
ZV_LAYOUT_64(offsetof(ZvArrayRec, itemSize) == 8);
typedef ZvArrayRec* hArray;

// The header record behind an hStrList. An entry record in storage is an
// int32 length L followed by L bytes; index[i] is the offset of entry i's
// record, or -1 for a null entry.
typedef struct ZvStrListRec {
  int32_t* index;
  uint8_t* storage;
  int32_t count;
  int32_t indexCapacity;    // entries
  int32_t storageUsed;      // bytes; records are appended here
  int32_t storageCapacity;  // bytes
  int32_t deadBytes;        // bytes below storageUsed no entry refers to
} ZvStrListRec;
ZV_LAYOUT_32(sizeof(ZvStrListRec) == 28);
ZV_LAYOUT_32(offsetof(ZvStrListRec, storage) == 4);
ZV_LAYOUT_32(offsetof(ZvStrListRec, count) == 8);
ZV_LAYOUT_32(offsetof(ZvStrListRec, deadBytes) == 24);
ZV_LAYOUT_64(sizeof(ZvStrListRec) == 40);
ZV_LAYOUT_64(offsetof(ZvStrListRec, count) == 16);
typedef ZvStrListRec* hStrList;

// ---- Dynamic array. Any thread, one at a time per array. ----

// A new empty array of `itemSize`-byte elements (20480-byte buffer); null for
// itemSize <= 0. Free with aFree.
ZVEXPORT hArray ZVAPI aAlloc(int32_t itemSize);
// Frees the buffer and the header; null does nothing.
ZVEXPORT void ZVAPI aFree(hArray array);
// Number of elements.
ZVEXPORT int32_t ZVAPI aCount(hArray array);
// Address of element i (not range-checked).
ZVEXPORT void* ZVAPI aGet(hArray array, int32_t i);
// Appends a copy of itemSize bytes from `item`; returns the new index.
ZVEXPORT int32_t ZVAPI aAdd(hArray array, const void* item);
// Inserts a copy at i; i outside 0..count-1 appends. Returns the new index.
ZVEXPORT int32_t ZVAPI aInsert(hArray array, int32_t i, const void* item);
// Removes element i; an index out of range writes a diagnostic line and
// changes nothing.
ZVEXPORT void ZVAPI aDelete(hArray array, int32_t i);
// Sets the element count; the capacity becomes exactly count * itemSize
// (0 frees the buffer). Contents are kept up to the new size.
ZVEXPORT void ZVAPI aRealloc(hArray array, int32_t count);
// Frees the buffer; the item size stays.
ZVEXPORT void ZVAPI aClear(hArray array);
// Makes `destination` a copy of `source` (item size, elements, capacity).
ZVEXPORT void ZVAPI aCopy(hArray destination, hArray source);
// Position first+k receives old element order[k], for k = 0..last-first;
// sources are read from the unchanged old elements.
ZVEXPORT void ZVAPI aReorder(hArray array, const int32_t* order, int32_t first, int32_t last);
// Replaces the contents with the array stored at the file's position: count,
// item size, elements. Returns -1, or 0 for a damaged or short record (the
// array is then empty).
ZVEXPORT ZvBool ZVAPI aRead(hArray array, void* file);
// Writes count, item size and the elements at the file's position; -1 when
// every byte was written.
ZVEXPORT ZvBool ZVAPI aWrite(hArray array, void* file);

// ---- String list. Any thread, one at a time per list. ----

// A new empty list (index of 4096 entries, 20480 bytes of storage). Free with slFree.
ZVEXPORT hStrList ZVAPI slAlloc(void);
// Frees index, storage and header; null does nothing.
ZVEXPORT void ZVAPI slFree(hStrList list);
// Number of entries.
ZVEXPORT int32_t ZVAPI slCount(hStrList list);
// Appends a copy of `length` bytes; a null buffer appends a null entry.
// Returns the new index.
ZVEXPORT int32_t ZVAPI slAddBuf(hStrList list, const void* buffer, int32_t length);
// Appends a copy of `text` with its zero; null appends a null entry.
ZVEXPORT int32_t ZVAPI slAdd(hStrList list, const char* text);
// Inserts at i (i outside 0..count-1 appends); returns the new index.
ZVEXPORT int32_t ZVAPI slInsertBuf(hStrList list, int32_t i, const void* buffer, int32_t length);
ZVEXPORT int32_t ZVAPI slInsert(hStrList list, int32_t i, const char* text);
// Address of entry i's bytes, or null for a null entry (or an index out of range).
ZVEXPORT void* ZVAPI slGet(hStrList list, int32_t i);
// As slGet, and stores the entry's length (0 for a null entry) in *length.
ZVEXPORT void* ZVAPI slGetBuf(hStrList list, int32_t i, int32_t* length);
// Replaces entry i with a copy of the buffer (null: a null entry).
ZVEXPORT void ZVAPI slSetBuf(hStrList list, int32_t i, const void* buffer, int32_t length);
ZVEXPORT void ZVAPI slSet(hStrList list, int32_t i, const char* text);
// Removes entry i.
ZVEXPORT void ZVAPI slDelete(hStrList list, int32_t i);
// Swaps entries i and j (only their offsets move).
ZVEXPORT void ZVAPI slExchange(hStrList list, int32_t i, int32_t j);
// As aReorder, for the entries (storage is untouched).
ZVEXPORT void ZVAPI slReorder(hStrList list, const int32_t* order, int32_t first, int32_t last);
// Removes every entry and restores the initial capacities.
ZVEXPORT void ZVAPI slClear(hStrList list);
// Makes `destination` a copy of `source`.
ZVEXPORT void ZVAPI slCopy(hStrList destination, hStrList source);
// Reclaims dead storage: always when force is non-zero, otherwise only once
// enough has gathered.
ZVEXPORT void ZVAPI slCompact(hStrList list, int32_t force);
// Replaces the contents with the list stored at the file's position. Returns
// -1, or 0 for a damaged or short record (the list is then empty).
ZVEXPORT ZvBool ZVAPI slRead(hStrList list, void* file);
// Compacts, then writes the list at the file's position; -1 when every byte
// was written.
ZVEXPORT ZvBool ZVAPI slWrite(hStrList list, void* file);

#ifdef __cplusplus
}
#endif
