// One entry of a "zvcache" list: the media file's name and the record name,
// each with its zero, the record length (int32, little-endian) and the
// record bytes. Entries come from files on disk, so reading one never trusts
// a length it has not checked against the entry's own size.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zv {

struct CacheEntryView {
  std::string_view fileName;
  std::string_view recordName;
  const uint8_t* data = nullptr;
  int32_t length = 0;
};

// Splits an entry; false for one that is cut short or whose record length
// does not fit (such an entry never matches and is left as it is).
inline bool parseCacheEntry(const void* entry, int32_t size, CacheEntryView* out) {
  if (!entry || size < 6) return false;
  auto* p = static_cast<const uint8_t*>(entry);
  auto* nameEnd = static_cast<const uint8_t*>(std::memchr(p, 0, size));
  if (!nameEnd) return false;
  const uint8_t* rec = nameEnd + 1;
  int32_t left = size - int32_t(rec - p);
  auto* recEnd = left > 0 ? static_cast<const uint8_t*>(std::memchr(rec, 0, left)) : nullptr;
  if (!recEnd) return false;
  const uint8_t* lengthAt = recEnd + 1;
  left = size - int32_t(lengthAt - p);
  if (left < 4) return false;
  int32_t length;
  std::memcpy(&length, lengthAt, 4);
  if (length < 0 || length > left - 4) return false;
  out->fileName = std::string_view(reinterpret_cast<const char*>(p), nameEnd - p);
  out->recordName = std::string_view(reinterpret_cast<const char*>(rec), recEnd - rec);
  out->data = lengthAt + 4;
  out->length = length;
  return true;
}

// The bytes of a new entry.
inline std::string makeCacheEntry(std::string_view fileName, std::string_view recordName, const void* data,
                                  int32_t length) {
  if (length < 0 || !data) length = 0;
  std::string e;
  e.reserve(fileName.size() + recordName.size() + 6 + size_t(length));
  e.append(fileName).push_back('\0');
  e.append(recordName).push_back('\0');
  char n[4];
  std::memcpy(n, &length, 4);
  e.append(n, 4);
  e.append(static_cast<const char*>(data), size_t(length));
  return e;
}

}  // namespace zv
