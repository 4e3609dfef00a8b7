// Reading a received bus message's parameter block into a record of the
// expected type, bounded by that type: a sender may post a longer block.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "zv_memory.h"
#include "zv_plugins.h"

namespace zv {

// Copies the parameter block of a received bus message into `out` when it
// holds at least sizeof(T) bytes (a longer block is cut, never copied past
// `out`). False, with `out` untouched, for a missing or short block.
template <class T>
bool readMessageBlock(const MSG& msg, T& out) {
  void* block = reinterpret_cast<void*>(msg.lParam);
  if (!block) return false;
  const int32_t size = _mgetsize(block);
  if (size < int32_t(sizeof(T))) return false;
  std::vector<char> copy(static_cast<size_t>(size));
  getMsgPrm(&msg, copy.data());
  std::memcpy(&out, copy.data(), sizeof(T));
  return true;
}

}  // namespace zv
