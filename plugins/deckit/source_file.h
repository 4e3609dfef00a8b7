// A file opened for reading through the Win32 A functions, so a name in the
// system code page opens exactly as the engine gave it (the codec libraries'
// own file functions would take it as UTF-8 or go through the C runtime).
// Reads go through a 64 KiB buffer: decoders ask for a few bytes at a time.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "win32/owners.h"

namespace deckit {

class SourceFile {
 public:
  SourceFile() = default;
  explicit SourceFile(const char* name);
  SourceFile(SourceFile&& other) noexcept;
  SourceFile& operator=(SourceFile&& other) noexcept;
  SourceFile(const SourceFile&) = delete;
  SourceFile& operator=(const SourceFile&) = delete;

  bool isOpen() const { return handle_.valid(); }
  const std::string& name() const { return name_; }

  // Bytes read (0 at the end or on failure).
  size_t read(void* dst, size_t size);
  // whence: SEEK_SET, SEEK_CUR, SEEK_END. False when the position is invalid.
  bool seek(int64_t offset, int whence);
  int64_t tell() const;
  int64_t size() const;

  // Reads up to `size` bytes at `offset` without moving the current position.
  size_t readAt(int64_t offset, void* dst, size_t size);

 private:
  size_t readRaw(void* dst, size_t size);
  zv::UniqueFile handle_;
  std::string name_;
  std::vector<uint8_t> buffer_;
  size_t bufPos_ = 0, bufLen_ = 0;
  int64_t bufStart_ = 0;  // file offset of buffer_[0]; the OS position is bufStart_ + bufLen_
};

}  // namespace deckit
