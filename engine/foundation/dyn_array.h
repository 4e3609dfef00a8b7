// Range operations on dynamic arrays that the playlist needs beyond the
// exported single-element ones: each moves the tail once, so inserting or
// deleting n elements costs one pass, not n.
#pragma once
#include "zv_containers.h"

namespace zv {

// Opens `n` zero-filled elements at `at` (0..count).
void arrayInsertSpace(hArray array, int32_t at, int32_t n);
// Removes elements first..first+n-1 (a range inside 0..count-1).
void arrayDeleteRange(hArray array, int32_t first, int32_t n);
// Moves n elements from `from` to `to` (ranges may overlap, both inside
// 0..count-1); the elements left behind keep what they held.
void arrayMoveElements(hArray array, int32_t to, int32_t from, int32_t n);
// Grows the buffer to hold `count` elements in the steps that adding would
// take, so that adding up to `count` elements moves it no more (the
// capacity reached is the one adding them one by one would reach).
void arrayReserve(hArray array, int32_t count);

}  // namespace zv
