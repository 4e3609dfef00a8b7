// foundation/file_io.h over a MemoryFile: the same contract (exact reads,
// bytes left), with every byte coming from the fuzzer's buffer.
#include "foundation/file_io.h"

#include <cstring>

#include "host_file.h"

namespace zv {

bool readExact(HANDLE file, void* out, int64_t size) {
  auto* f = static_cast<host::MemoryFile*>(file);
  if (!f || file == INVALID_HANDLE_VALUE || size < 0) return false;
  size_t left = f->pos < f->size ? f->size - f->pos : 0;  // a seek may go past the end
  if (uint64_t(size) > left) return false;
  if (size > 0) std::memcpy(out, f->data + f->pos, size_t(size));
  f->pos += size_t(size);
  return true;
}

bool writeAll(HANDLE file, const void* data, int64_t size) {
  auto* f = static_cast<host::MemoryFile*>(file);
  if (!f || file == INVALID_HANDLE_VALUE || size < 0) return false;
  f->written.append(static_cast<const char*>(data), size_t(size));
  return true;
}

int64_t bytesLeft(HANDLE file) {
  auto* f = static_cast<host::MemoryFile*>(file);
  if (!f || file == INVALID_HANDLE_VALUE) return -1;
  return f->pos < f->size ? int64_t(f->size - f->pos) : 0;
}

}  // namespace zv
