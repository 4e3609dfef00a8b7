// How the containers size their buffers. Small buffers grow and shrink in
// fixed steps (20480 bytes of elements or storage, 4096 index entries). Past
// eight steps a fixed step would make building a long playlist quadratic
// (every step copies the whole buffer), so large buffers grow by a quarter and
// shrink only once half of them is free.
#pragma once
#include <cstdint>
#include <stdexcept>

namespace zv {

constexpr int32_t kArrayStep = 20480;    // bytes
constexpr int32_t kStorageStep = 20480;  // bytes
constexpr int32_t kIndexStep = 4096;     // entries
constexpr int32_t kLargeSteps = 8;

// The capacity, grown from `capacity`, that holds `needed` units. Throws
// std::length_error past what an int32 size can express.
inline int32_t grownCapacity(int32_t capacity, int64_t needed, int32_t step) {
  int64_t cap = capacity < 0 ? 0 : capacity;
  while (cap < needed) {
    int64_t grow = step;
    if (cap >= int64_t(step) * kLargeSteps) grow = (cap / 4) / step * step;
    cap += grow;
  }
  if (cap > INT32_MAX) {
    if (needed > INT32_MAX) throw std::length_error("container too large");
    cap = INT32_MAX;
  }
  return static_cast<int32_t>(cap);
}

// The capacity after `used` units remain: whole free steps are given back
// (for a large buffer only once half of it is free).
inline int32_t shrunkCapacity(int32_t capacity, int32_t used, int32_t step) {
  int32_t slack = capacity - used;
  if (slack < step) return capacity;
  if (capacity >= step * kLargeSteps && slack < capacity / 2) return capacity;
  return capacity - slack / step * step;
}

// Whether dead storage is worth reclaiming without being forced: more than
// one step of it, and in a large storage at least a quarter of it, so that
// deleting many entries costs linear time overall.
inline bool compactionWorthwhile(int32_t deadBytes, int32_t storageUsed) {
  return deadBytes > kStorageStep && deadBytes > storageUsed / 4;
}

}  // namespace zv
