// The fuzzing host's stand-in for an open file: a byte buffer and a read
// position. Pass its address where the cores take a HANDLE.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace zv::host {

struct MemoryFile {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
  std::string written;  // what writeAll puts
};

}  // namespace zv::host
