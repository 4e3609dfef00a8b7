// The string list's serialised form (slRead): every entry of a list read
// from hostile bytes lies inside its storage, and what is read writes back
// to a form that reads again to the same entries.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "host_file.h"
#include "zv_containers.h"

namespace {

std::vector<std::string> entries(hStrList l) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < slCount(l); ++i) {
    int32_t length = -1;
    auto* p = static_cast<const char*>(slGetBuf(l, i, &length));
    out.emplace_back(p && length > 0 ? std::string(p, size_t(length)) : std::string());
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zv::host::MemoryFile file{data, size};
  hStrList list = slAlloc();
  if (slRead(list, &file)) {
    std::vector<std::string> first = entries(list);
    zv::host::MemoryFile out;
    ZV_FUZZ_CHECK(slWrite(list, &out));
    zv::host::MemoryFile again{reinterpret_cast<const uint8_t*>(out.written.data()), out.written.size()};
    hStrList copy = slAlloc();
    ZV_FUZZ_CHECK(slRead(copy, &again));
    ZV_FUZZ_CHECK(entries(copy) == first);
    // The list stays usable: edits after a read neither fault nor leak.
    slAdd(copy, "tail");
    if (slCount(copy) > 1) slDelete(copy, 0);
    slCompact(copy, 1);
    slFree(copy);
  } else {
    ZV_FUZZ_CHECK(slCount(list) == 0);
  }
  slFree(list);
  return 0;
}
