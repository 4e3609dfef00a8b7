#include "metadata/info_cache.h"

#include <windows.h>

#include <cstring>
#include <string_view>

#include "foundation/diagnostics.h"
#include "foundation/text_compare.h"
#include "foundation/text_util.h"
#include "metadata/cache_dir.h"
#include "metadata/cache_entry.h"
#include "metadata/cache_table.h"
#include "zv_infocache.h"
#include "zv_memory.h"

namespace zv {
namespace {

bool sameFileName(std::string_view a, std::string_view b) {
  return compareTextIgnoringCase(a, b) == 0;
}

// Index of the entry for (file name, record name), or -1.
int32_t findEntry(hStrList list, std::string_view fileName, std::string_view recordName, CacheEntryView* view) {
  int32_t count = slCount(list);
  for (int32_t i = 0; i < count; ++i) {
    int32_t length = 0;
    void* entry = slGetBuf(list, i, &length);
    CacheEntryView v;
    if (!entry || !parseCacheEntry(entry, length, &v)) continue;
    if (sameAsciiIgnoringCase(v.recordName, recordName) && sameFileName(v.fileName, fileName)) {
      if (view) *view = v;
      return i;
    }
  }
  return -1;
}

std::string_view text(const char* s) { return s ? std::string_view(s) : std::string_view(); }

}  // namespace

bool getCacheRecord(const char* path, const char* name, std::string* bytes) {
  CacheLease lease = CacheLease::acquire(cacheFilePath(path, false), false);
  if (!lease) return false;
  CacheEntryView v;
  if (findEntry(lease.list(), fileNamePart(text(path)), text(name), &v) < 0) return false;
  bytes->assign(reinterpret_cast<const char*>(v.data), size_t(v.length));
  return true;
}

void putCacheRecord(const char* path, const char* name, const void* data, int32_t length) {
  CacheLease lease = CacheLease::acquire(cacheFilePath(path, true), true);
  if (!lease) return;
  std::string fileName = fileNamePart(text(path));
  std::string entry = makeCacheEntry(fileName, text(name), data, length);
  int32_t at = findEntry(lease.list(), fileName, text(name), nullptr);
  if (at >= 0)
    slSetBuf(lease.list(), at, entry.data(), int32_t(entry.size()));
  else
    slAddBuf(lease.list(), entry.data(), int32_t(entry.size()));
  lease.markChanged();
}

void deleteCacheRecord(const char* path, const char* name) {
  CacheLease lease = CacheLease::acquire(cacheFilePath(path, false), false);
  if (!lease) return;
  int32_t at = findEntry(lease.list(), fileNamePart(text(path)), text(name), nullptr);
  if (at < 0) return;
  slDelete(lease.list(), at);
  lease.markChanged();
}

}  // namespace zv

using namespace zv;

ZVEXPORT void ZVAPI getCacheDir(const char* path, char* out, ZvBool create) {
  guardedVoid("getCacheDir", [&] {
    if (out) copyBounded(out, 260, cacheFolder(path, create != 0));
  });
}

ZVEXPORT void ZVAPI cacheRecBuf(const char* path, const char* name, void** buffer, int32_t* length) {
  if (buffer) *buffer = nullptr;
  if (length) *length = 0;
  guardedVoid("cacheRecBuf", [&] {
    std::string bytes;
    if (!buffer || !getCacheRecord(path, name, &bytes)) return;
    // A zero-length record still gets a block, so callers can tell it from none.
    void* block = mallocex(int32_t(bytes.size() > 0 ? bytes.size() : 1), "cacheRec");
    if (!block) return;
    std::memcpy(block, bytes.data(), bytes.size());
    *buffer = block;
    if (length) *length = int32_t(bytes.size());
  });
}

ZVEXPORT void ZVAPI setCacheRecBuf(const char* path, const char* name, const void* data, int32_t length) {
  guardedVoid("setCacheRecBuf", [&] { putCacheRecord(path, name, data, data ? length : 0); });
}

ZVEXPORT void ZVAPI delCacheRec(const char* path, const char* name) {
  guardedVoid("delCacheRec", [&] { deleteCacheRecord(path, name); });
}

ZVEXPORT void ZVAPI cacheRec(const char* path, const char* name, char* buffer, int32_t size) {
  if (!buffer || size < 0) return;
  buffer[0] = '\0';
  guardedVoid("cacheRec", [&] {
    std::string bytes;
    if (!getCacheRecord(path, name, &bytes)) return;
    copyBounded(buffer, size_t(size) + 1, std::string_view(bytes.c_str(), std::strlen(bytes.c_str())));
  });
}

ZVEXPORT void ZVAPI setCacheRec(const char* path, const char* name, const char* text) {
  guardedVoid("setCacheRec", [&] {
    std::string_view t = text ? text : "";
    putCacheRecord(path, name, t.data(), int32_t(t.size()) + 1);
  });
}
