#include "metadata/cache_file.h"

#include <windows.h>

#include <cstring>

#include "foundation/file_io.h"
#include "metadata/cache_form.h"
#include "win32/owners.h"

namespace zv {

hStrList loadCacheFile(const std::string& file, bool create) {
  UniqueFile f(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f && !create) return nullptr;
  hStrList list = slAlloc();
  if (!list || !f) return list;
  // slRead leaves the list empty when the stored form is damaged.
  readCacheForm(f.get(), list);
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
