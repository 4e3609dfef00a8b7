#include "source_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace deckit {

SourceFile::SourceFile(const char* name) : name_(name ? name : "") {
  if (!name) return;
  handle_.reset(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

SourceFile::SourceFile(SourceFile&& other) noexcept { *this = std::move(other); }

SourceFile& SourceFile::operator=(SourceFile&& other) noexcept {
  if (this != &other) {
    handle_ = std::move(other.handle_);
    name_ = std::move(other.name_);
    buffer_ = std::move(other.buffer_);
    bufPos_ = std::exchange(other.bufPos_, 0);
    bufLen_ = std::exchange(other.bufLen_, 0);
    bufStart_ = std::exchange(other.bufStart_, 0);
  }
  return *this;
}

namespace {
constexpr size_t kBufferSize = 64 * 1024;
}

size_t SourceFile::readRaw(void* dst, size_t size) {
  size_t total = 0;
  auto* p = static_cast<char*>(dst);
  while (total < size && isOpen()) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(size - total, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(handle_.get(), p + total, want, &got, nullptr) || got == 0) break;
    total += got;
  }
  return total;
}

size_t SourceFile::read(void* dst, size_t size) {
  auto* p = static_cast<uint8_t*>(dst);
  size_t total = 0;
  while (total < size) {
    if (bufPos_ < bufLen_) {
      size_t n = std::min(size - total, bufLen_ - bufPos_);
      std::memcpy(p + total, buffer_.data() + bufPos_, n);
      bufPos_ += n;
      total += n;
      continue;
    }
    // Buffer used up: refill it, or read a large request directly.
    bufStart_ += static_cast<int64_t>(bufLen_);
    bufPos_ = bufLen_ = 0;
    if (size - total >= kBufferSize) {
      size_t n = readRaw(p + total, size - total);
      bufStart_ += static_cast<int64_t>(n);
      return total + n;
    }
    buffer_.resize(kBufferSize);
    bufLen_ = readRaw(buffer_.data(), kBufferSize);
    if (bufLen_ == 0) break;
  }
  return total;
}

bool SourceFile::seek(int64_t offset, int whence) {
  if (!isOpen()) return false;
  int64_t target = offset;
  if (whence == SEEK_CUR) target = tell() + offset;
  else if (whence == SEEK_END) target = size() + offset;
  if (target < 0) return false;
  if (target >= bufStart_ && target <= bufStart_ + static_cast<int64_t>(bufLen_)) {
    bufPos_ = static_cast<size_t>(target - bufStart_);
    return true;
  }
  LARGE_INTEGER to;
  to.QuadPart = target;
  if (!SetFilePointerEx(handle_.get(), to, nullptr, FILE_BEGIN)) return false;
  bufStart_ = target;
  bufPos_ = bufLen_ = 0;
  return true;
}

int64_t SourceFile::tell() const { return isOpen() ? bufStart_ + static_cast<int64_t>(bufPos_) : -1; }

int64_t SourceFile::size() const {
  LARGE_INTEGER s;
  if (!isOpen() || !GetFileSizeEx(handle_.get(), &s)) return -1;
  return s.QuadPart;
}

size_t SourceFile::readAt(int64_t offset, void* dst, size_t size) {
  int64_t here = tell();
  if (here < 0 || !seek(offset, SEEK_SET)) return 0;
  size_t got = read(dst, size);
  seek(here, SEEK_SET);
  return got;
}

}  // namespace deckit
