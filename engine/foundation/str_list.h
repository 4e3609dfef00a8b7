// Range operations on string lists, the counterparts of dyn_array.h.
#pragma once
#include "zv_containers.h"

namespace zv {

// Opens `n` null entries at `at` (0..count).
void strListInsertNulls(hStrList list, int32_t at, int32_t n);
// Removes entries first..first+n-1 (a range inside 0..count-1), then compacts
// if worthwhile.
void strListDeleteRange(hStrList list, int32_t first, int32_t n);
// Makes entries first..first+n-1 null, their records counted as dead bytes;
// nothing is compacted.
void strListDropEntries(hStrList list, int32_t first, int32_t n);
// Moves n index entries from `from` to `to` (ranges may overlap); the
// entries left behind keep what they held. No record moves.
void strListMoveEntries(hStrList list, int32_t to, int32_t from, int32_t n);
// Removes entries first..first+n-1 whose records were already counted dead
// (what their slots hold is ignored), then compacts if worthwhile.
void strListRemoveDropped(hStrList list, int32_t first, int32_t n);
// Grows the index to hold `entries` entries and the storage to hold
// `storageBytes` bytes of records (each text's length plus 4), in the steps
// that appending would take: after appending exactly that much the list is
// the same as if it had grown entry by entry, having moved its buffers once.
void strListReserve(hStrList list, int32_t entries, int64_t storageBytes);

}  // namespace zv
