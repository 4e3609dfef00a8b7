#include "foundation/file_io.h"

namespace zv {

namespace {
constexpr int64_t kChunk = 1 << 24;  // ReadFile/WriteFile take 32-bit counts
}

bool readExact(HANDLE file, void* out, int64_t size) {
  auto* p = static_cast<uint8_t*>(out);
  while (size > 0) {
    DWORD want = static_cast<DWORD>(size < kChunk ? size : kChunk);
    DWORD got = 0;
    if (!ReadFile(file, p, want, &got, nullptr) || got == 0) return false;
    p += got;
    size -= got;
  }
  return true;
}

bool writeAll(HANDLE file, const void* data, int64_t size) {
  auto* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    DWORD want = static_cast<DWORD>(size < kChunk ? size : kChunk);
    DWORD put = 0;
    if (!WriteFile(file, p, want, &put, nullptr) || put == 0) return false;
    p += put;
    size -= put;
  }
  return true;
}

int64_t bytesLeft(HANDLE file) {
  if (GetFileType(file) != FILE_TYPE_DISK) return -1;
  LARGE_INTEGER size, zero, pos;
  zero.QuadPart = 0;
  if (!GetFileSizeEx(file, &size) || !SetFilePointerEx(file, zero, &pos, FILE_CURRENT)) return -1;
  return size.QuadPart > pos.QuadPart ? size.QuadPart - pos.QuadPart : 0;
}

}  // namespace zv
