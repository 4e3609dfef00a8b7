// The file scanner: one idle-priority thread that answers description
// queries in the order they were queued and posts each answer as
// msgInfoReady.
#pragma once
#include <cstdint>
#include <string>

#include "zv_desc.h"

namespace zv {

bool startFileScanner();
void stopFileScanner(bool processExit);

// Queues a request (an empty path is an end marker) and wakes the scanner.
void queueQuery(const std::string& path, ZvTarget target, int32_t tag, int32_t line);

// Removes every queued request with this tag.
void cancelQueries(int32_t tag);

// The answer for one path: description, information, length and size, from
// the cache or the sources, storing what was newly found.
void computeQueryResult(const char* path, ZvQueryResult* result);

}  // namespace zv
