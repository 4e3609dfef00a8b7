// Range operations on string lists, the counterparts of dyn_array.h.
#pragma once
#include "zv_containers.h"

namespace zv {

// Opens `n` null entries at `at` (0..count).
void strListInsertNulls(hStrList list, int32_t at, int32_t n);
// Removes entries first..first+n-1 (a range inside 0..count-1), then compacts
// if worthwhile.
void strListDeleteRange(hStrList list, int32_t first, int32_t n);

}  // namespace zv
