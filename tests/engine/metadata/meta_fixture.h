// What the metadata tests share: reading "zvcache" files as they lie on
// disk, pushing the open cache files out to disk, and collecting the
// scanner's msgInfoReady answers from this thread's queue.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "zv_desc.h"

namespace metatest {

struct Entry {
  std::string file, record, data;
};

// The entries of a cache file; false when it is missing or not a valid
// "ZVCH0005" file.
bool readCacheFile(const std::string& path, std::vector<Entry>* entries);

// The bytes of a whole cache file holding these entries, as the engine
// writes it.
std::string cacheFileBytes(const std::vector<Entry>& entries);

// Makes the engine write and drop every open cache file by touching 16
// folders of scratch files (records are set in them).
void flushCacheTable();

// Waits until `count` msgInfoReady answers arrived on this thread (each
// copied out and its block freed); false on timeout.
bool collectAnswers(size_t count, std::vector<ZvQueryResult>* answers, int timeoutMs = 20000);

// True when the file exists and carries the hidden attribute.
bool isHiddenFile(const std::string& path);

}  // namespace metatest
