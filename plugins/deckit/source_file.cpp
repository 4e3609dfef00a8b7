#include "source_file.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace deckit {

SourceFile::SourceFile(const char* name) : name_(name ? name : "") {
  if (!name) return;
  handle_ = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

SourceFile::SourceFile(SourceFile&& other) noexcept
    : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)), name_(std::move(other.name_)) {}

SourceFile& SourceFile::operator=(SourceFile&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    name_ = std::move(other.name_);
  }
  return *this;
}

SourceFile::~SourceFile() { close(); }

void SourceFile::close() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

size_t SourceFile::read(void* dst, size_t size) {
  size_t total = 0;
  auto* p = static_cast<char*>(dst);
  while (total < size && isOpen()) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(size - total, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(handle_, p + total, want, &got, nullptr) || got == 0) break;
    total += got;
  }
  return total;
}

bool SourceFile::seek(int64_t offset, int whence) {
  if (!isOpen()) return false;
  DWORD method = whence == SEEK_CUR ? FILE_CURRENT : whence == SEEK_END ? FILE_END : FILE_BEGIN;
  LARGE_INTEGER to, now;
  to.QuadPart = offset;
  if (whence == SEEK_SET && offset < 0) return false;
  return SetFilePointerEx(handle_, to, &now, method) != 0;
}

int64_t SourceFile::tell() const {
  if (!isOpen()) return -1;
  LARGE_INTEGER zero{}, now;
  if (!SetFilePointerEx(handle_, zero, &now, FILE_CURRENT)) return -1;
  return now.QuadPart;
}

int64_t SourceFile::size() const {
  LARGE_INTEGER s;
  if (!isOpen() || !GetFileSizeEx(handle_, &s)) return -1;
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
