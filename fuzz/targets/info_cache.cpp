// The information cache file "ZVCH0005" (readCacheForm) and its entries
// (parseCacheEntry): every entry's views lie inside the entry, and an entry
// made of what was read splits to the same parts.
#include <cstring>

#include "fuzz_check.h"
#include "host_file.h"
#include "metadata/cache_entry.h"
#include "metadata/cache_form.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zv::host::MemoryFile file{data, size};
  hStrList list = slAlloc();
  if (zv::readCacheForm(&file, list)) {
    for (int32_t i = 0; i < slCount(list); ++i) {
      int32_t length = 0;
      auto* entry = static_cast<const uint8_t*>(slGetBuf(list, i, &length));
      zv::CacheEntryView view;
      if (!zv::parseCacheEntry(entry, length, &view)) continue;
      ZV_FUZZ_CHECK(view.data >= entry && view.data + view.length <= entry + length);
      std::string again = zv::makeCacheEntry(view.fileName, view.recordName, view.data, view.length);
      zv::CacheEntryView second;
      ZV_FUZZ_CHECK(zv::parseCacheEntry(again.data(), int32_t(again.size()), &second));
      ZV_FUZZ_CHECK(second.fileName == view.fileName && second.recordName == view.recordName &&
                    second.length == view.length && std::memcmp(second.data, view.data, size_t(view.length)) == 0);
    }
    zv::host::MemoryFile out;
    ZV_FUZZ_CHECK(zv::writeCacheForm(&out, list));
  }
  slFree(list);
  return 0;
}
