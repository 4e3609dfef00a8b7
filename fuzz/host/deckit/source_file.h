// deckit::SourceFile for the fuzzing host: the calls the plug-ins' readers
// make, over the fuzzer's bytes instead of a file. Same contract: readAt
// delivers what is there (0 past the end), size() the whole length.
#pragma once
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>

namespace deckit {

class SourceFile {
 public:
  SourceFile(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  int64_t size() const { return int64_t(size_); }
  size_t readAt(int64_t offset, void* dst, size_t size) {
    if (offset < 0 || uint64_t(offset) >= size_ || size == 0) return 0;
    const size_t n = std::min(size, size_ - size_t(offset));
    std::memcpy(dst, data_ + offset, n);
    return n;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

}  // namespace deckit
