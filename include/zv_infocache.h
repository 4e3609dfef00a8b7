// Information cache of zvengine.dll: small per-file records kept in a hidden
// "zvcache" file in each media folder (or under <data>\cache and the CD
// database folder for URLs and CD-ROMs). A record is addressed by the media
// file's path and a short record name ("DESC", "INFO", "EQ", "VIDSET", or a
// plug-in's own). Cache files are written back lazily; any thread may call.
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

// The cache folder of `path` into `out` (260 bytes); with `create` nonzero the
// folder is created.
ZVEXPORT void ZVAPI getCacheDir(const char* path, char* out, ZvBool create);
// A copy of a record: *buffer gets a new engine block (free it with _mfree) and
// *length its size; null and 0 when there is none.
ZVEXPORT void ZVAPI cacheRecBuf(const char* path, const char* name, void** buffer, int32_t* length);
// Creates or replaces a record with `length` bytes of `data`.
ZVEXPORT void ZVAPI setCacheRecBuf(const char* path, const char* name, const void* data, int32_t length);
// Removes a record if present.
ZVEXPORT void ZVAPI delCacheRec(const char* path, const char* name);
// A record as text into `buffer`: at most `size` characters plus a zero (the
// buffer holds size + 1 bytes); empty when there is none.
ZVEXPORT void ZVAPI cacheRec(const char* path, const char* name, char* buffer, int32_t size);
// setCacheRecBuf with the text and its terminating zero.
ZVEXPORT void ZVAPI setCacheRec(const char* path, const char* name, const char* text);

#ifdef __cplusplus
}
#endif
