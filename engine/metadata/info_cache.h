// Records of the information cache for the engine's own callers: bytes by
// media path and record name.
#pragma once
#include <cstdint>
#include <string>

namespace zv {

// The record's bytes; false when there is none.
bool getCacheRecord(const char* path, const char* name, std::string* bytes);
// Creates or replaces the record (the cache folder is created).
void putCacheRecord(const char* path, const char* name, const void* data, int32_t length);
// Removes the record if present.
void deleteCacheRecord(const char* path, const char* name);

}  // namespace zv
