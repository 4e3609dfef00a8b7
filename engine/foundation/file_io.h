// Exact reads and writes on an open file handle, for the containers'
// serialised forms.
#pragma once
#include <windows.h>

#include <cstdint>

namespace zv {

// Reads exactly `size` bytes; false if the file delivered fewer.
bool readExact(HANDLE file, void* out, int64_t size);
// Writes every byte; false on any failure.
bool writeAll(HANDLE file, const void* data, int64_t size);
// Bytes between the current position and the end of a disk file; -1 when the
// handle is not a disk file or cannot be asked.
int64_t bytesLeft(HANDLE file);

}  // namespace zv
