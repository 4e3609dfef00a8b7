// The array's serialised form (aRead): a read array holds exactly what its
// header promised and the file backed, and writes back byte for byte.
#include <cstring>

#include "fuzz_check.h"
#include "host_file.h"
#include "zv_containers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zv::host::MemoryFile file{data, size};
  hArray array = aAlloc(4);
  if (aRead(array, &file)) {
    int32_t count = aCount(array);
    int32_t itemSize = array->itemSize;
    ZV_FUZZ_CHECK(size_t(count) * size_t(itemSize) + 8 <= size);
    // Touch every element: each must lie inside the allocation.
    for (int32_t i = 0; i < count; ++i)
      ZV_FUZZ_CHECK(std::memcmp(aGet(array, i), data + 8 + size_t(i) * itemSize, size_t(itemSize)) == 0);
    zv::host::MemoryFile out;
    ZV_FUZZ_CHECK(aWrite(array, &out));
    ZV_FUZZ_CHECK(out.written.size() == file.pos && std::memcmp(out.written.data(), data, file.pos) == 0);
  } else {
    ZV_FUZZ_CHECK(aCount(array) == 0);
  }
  aFree(array);
  return 0;
}
