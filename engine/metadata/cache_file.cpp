#include "metadata/cache_file.h"

#include <windows.h>

#include <cstring>

#include "foundation/file_io.h"
#include "foundation/legacy_text.h"
#include "metadata/cache_entry.h"
#include "metadata/cache_form.h"
#include "win32/owners.h"

namespace zv {
namespace {

// A cache written before the program ran with the UTF-8 code page names
// its media files in the legacy one: such a name is converted (the record
// bytes are the decoders' own and stay as they are), and the next save
// writes UTF-8. Under a legacy active code page nothing changes.
void convertLegacyNames(hStrList list) {
  if (GetACP() != CP_UTF8) return;
  for (int32_t i = 0; i < slCount(list); ++i) {
    int32_t size = 0;
    const void* entry = slGetBuf(list, i, &size);
    CacheEntryView v;
    if (!entry || !parseCacheEntry(entry, size, &v) || isValidUtf8(v.fileName)) continue;
    std::string name = storedTextToActive(v.fileName);
    std::string rebuilt = makeCacheEntry(name, v.recordName, v.data, v.length);
    slSetBuf(list, i, rebuilt.data(), static_cast<int32_t>(rebuilt.size()));
  }
}

}  // namespace

hStrList loadCacheFile(const std::string& file, bool create) {
  UniqueFile f(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f && !create) return nullptr;
  hStrList list = slAlloc();
  if (!list || !f) return list;
  // slRead leaves the list empty when the stored form is damaged.
  if (readCacheForm(f.get(), list)) convertLegacyNames(list);
  return list;
}

bool saveCacheFile(const std::string& file, hStrList list) {
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  bool written = false;
  {
    UniqueFile f(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f) written = writeCacheForm(f.get(), list);
  }
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN);
  return written;
}

}  // namespace zv
