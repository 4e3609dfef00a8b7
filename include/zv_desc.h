// Descriptions and tag information of zvengine.dll.
// A description is the one-line title of a file (from a plug-in, the
// information cache, the tags formatted by "TagFmt", a description file, or at
// least the file name). The tag information text is "key=value" lines joined
// by "\n": title, artist, album, year, track (and format in information texts).
// Output buffers: descriptions ZV_DESC_SIZE bytes, tag information
// ZV_TAGINFO_SIZE bytes, single values ZV_DESC_SIZE bytes; longer texts are cut.
// Results are cached per file ("DESC" and "INFO" records of zv_infocache.h)
// and reused while the file's last-write time is not later than the record.
// The synchronous calls run on the caller's thread; the query calls may be
// called from any thread and are answered by the file scanner thread.
#pragma once
#include "zv_plugins.h"

#ifdef __cplusplus
extern "C" {
#endif

// Macros, so that zvid3.h (which defines the same description size) may be
// included together with this header.
#ifndef ZV_DESC_SIZE
#define ZV_DESC_SIZE 256
#endif
#define ZV_TAGINFO_SIZE 4096

// The block of msgInfoReady: one answer of the file scanner.
typedef struct ZvQueryResult {
  char path[260];         // empty for the end marker of finishQueryInfo
  char description[256];
  int32_t tag;            // the request's tag, unchanged
  int32_t line;           // the request's line, unchanged
  int32_t lengthMs;       // 0 when no plug-in reported one
  int32_t sizeKb;         // file size in KiB, rounded; -1 when the file is missing
  char info[4096];        // information text
} ZvQueryResult;
ZV_LAYOUT(sizeof(ZvQueryResult) == 4628);
ZV_LAYOUT(offsetof(ZvQueryResult, description) == 260);
ZV_LAYOUT(offsetof(ZvQueryResult, tag) == 516);
ZV_LAYOUT(offsetof(ZvQueryResult, line) == 520);
ZV_LAYOUT(offsetof(ZvQueryResult, lengthMs) == 524);
ZV_LAYOUT(offsetof(ZvQueryResult, sizeKb) == 528);
ZV_LAYOUT(offsetof(ZvQueryResult, info) == 532);

// The full description of a file into `out`; always true (the file name at least).
ZVEXPORT ZvBool ZVAPI desc(const char* path, char* out);
// The file name without extension, no lookups; always true.
ZVEXPORT ZvBool ZVAPI fastDesc(const char* path, char* out);
// The cached description if still valid; else `out` empty and false.
ZVEXPORT ZvBool ZVAPI cachedDesc(const char* path, char* out);
// Stores a user-given description (an empty text removes it) and broadcasts a
// fresh msgInfoReady for the path; always true.
ZVEXPORT ZvBool ZVAPI setDesc(const char* path, const char* text);
// The tag information text of a file (tags, else a plug-in's); true when non-empty.
ZVEXPORT ZvBool ZVAPI getTagInfo(const char* path, char* out);
// The value of `key` (case-sensitive) in a tag information text; false and
// `out` empty when absent.
ZVEXPORT ZvBool ZVAPI getTagInfoKey(const char* text, const char* key, char* out);
// The five standard values of a tag information text (track 0 when none);
// true when any text or the track line is present.
ZVEXPORT ZvBool ZVAPI decodeTagInfo(const char* text, char* title, char* artist, char* album, char* year,
                                    int32_t* track);
// Description of an audio-CD path (disc list, disc or track) into `out`
// (ZV_DESC_SIZE bytes); false for other paths.
ZVEXPORT ZvBool ZVAPI cdaDesc(const char* path, char* out);
// Renames an audio-CD item in the CD database and announces it; false for other paths.
ZVEXPORT ZvBool ZVAPI setCdaDesc(const char* path, const char* text);
// Queues a description request; `target` (0 = broadcast) gets msgInfoReady
// with `tag` and `line` returned unchanged. `tag` is a 32-bit token (a 64-bit
// player cannot pass a pointer through it). Any thread.
ZVEXPORT void ZVAPI queryInfo(const char* path, ZvTarget target, int32_t tag, int32_t line);
// Queues an end marker: `target` gets a result with an empty path and this tag.
ZVEXPORT void ZVAPI finishQueryInfo(ZvTarget target, int32_t tag);
// Removes every queued request with this tag.
ZVEXPORT void ZVAPI cancelQueryInfo(int32_t tag);

#ifdef __cplusplus
}
#endif
