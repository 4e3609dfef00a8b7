// Memory manager and debug registry of zvengine.dll.
// Every engine block is zero-filled and carries a tag of up to 15 characters;
// blocks of 1..104 bytes come from a 128-slot pool, larger ones from a private
// heap. Any thread may allocate and free. Blocks the engine hands to a caller
// are released with _mfree.
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

// The 24 bytes in front of every block the memory manager hands out.
typedef struct ZvBlockHeader {
  char tag[16];      // zero-terminated, at most 15 characters
  int32_t slot;      // pool slot 0..127, or -1 for a heap block
  int32_t size;      // requested size in bytes
} ZvBlockHeader;
ZV_LAYOUT(sizeof(ZvBlockHeader) == 24);
ZV_LAYOUT(offsetof(ZvBlockHeader, slot) == 16);
ZV_LAYOUT(offsetof(ZvBlockHeader, size) == 20);

// Indexes of the statistics record (14 int32) returned by debugGetMallocStat.
enum {
  ZV_STAT_HEAP_ALLOCATED = 0,  // heap bytes allocated, cumulative
  ZV_STAT_HEAP_FREED = 1,      // heap bytes freed, cumulative
  ZV_STAT_HEAP_IN_USE = 2,
  ZV_STAT_BYTES_COPIED = 3,    // by _memcpy, cumulative
  ZV_STAT_HEAP_PEAK = 4,
  ZV_STAT_POOL_ALLOCATED = 5,  // pool bytes, cumulative
  ZV_STAT_POOL_FREED = 6,
  ZV_STAT_POOL_IN_USE = 7,
  ZV_STAT_POOL_PEAK = 8,
  ZV_STAT_POOL_ALLOCS = 9,     // pool allocations, cumulative
  ZV_STAT_POOL_RELEASES = 10,
  ZV_STAT_POOL_BLOCKS = 11,    // pool blocks in use
  ZV_STAT_POOL_BLOCKS_PEAK = 12,
  ZV_STAT_MESSAGES_POSTED = 13,  // by the message bus, cumulative
  ZV_STAT_COUNT = 14
};

// A zero-filled block of `size` bytes tagged `tag`; null for size 0.
ZVEXPORT void* ZVAPI mallocex(int32_t size, const char* tag);
// mallocex with an empty tag.
ZVEXPORT void* ZVAPI _malloc(int32_t size);
// Resizes a block (new bytes zero; may move). Size 0 frees and returns null;
// a null block allocates. A non-empty tag replaces the old one.
ZVEXPORT void* ZVAPI mreallocex(void* block, int32_t size, const char* tag);
ZVEXPORT void* ZVAPI _mrealloc(void* block, int32_t size);
// Releases a block; null does nothing.
ZVEXPORT void ZVAPI _mfree(void* block);
// The requested size of a block; 0 for null.
ZVEXPORT int32_t ZVAPI _mgetsize(void* block);
// Always 1.
ZVEXPORT int32_t ZVAPI _mdidalloc(void);
// A block holding a copy of `text` with its terminating zero.
ZVEXPORT char* ZVAPI strallocex(const char* text, const char* tag);
ZVEXPORT char* ZVAPI _stralloc(const char* text);
// A block holding a copy of `length` bytes of `source`.
ZVEXPORT void* ZVAPI varallocex(const void* source, int32_t length, const char* tag);
ZVEXPORT void* ZVAPI _varalloc(const void* source, int32_t length);
// Copies `length` bytes (when > 0), correct for overlapping ranges.
ZVEXPORT void ZVAPI _memcpy(void* destination, const void* source, int32_t length);

// The statistics record: ZV_STAT_COUNT int32 values, read only for callers.
ZVEXPORT const int32_t* ZVAPI debugGetMallocStat(void);
// Writes the memory map to the diagnostic output ("Memory map disabled" when off).
ZVEXPORT void ZVAPI debugPrintMemMap(void);
// Registers a thread by name for the thread usage table (the engine keeps a
// duplicate of the handle, so the caller may close its own; a null handle
// stands for the whole process). Any thread.
ZVEXPORT void ZVAPI debugAddThread(const char* name, uint32_t threadId, void* threadHandle);
// Removes the first entry with this thread id. Any thread.
ZVEXPORT void ZVAPI debugDelThread(uint32_t threadId);
// Writes the registered name of a thread, or its id in decimal, to `out`
// (260 bytes; longer names are cut). Any thread.
ZVEXPORT void ZVAPI debugGetThreadName(uint32_t threadId, char* out);
// Writes the thread usage table to `out` (4096 bytes; whole lines only): the
// character 1 and the header "ID\tName\tPr\tKrn\tUsr\n", then one line per
// entry, last registered first: id ("Total": the character 1), name, priority
// letter, kernel and user CPU percent over the last five calls; a line of an
// entry using 20 % or more starts with the character 2. An entry shows from
// the second call on. Any thread.
ZVEXPORT void ZVAPI debugGetThreadList(char* out);

// Code of a software exception that carries an error object: parameter 0
// points to its class name, parameter 1 to its message (both NUL-terminated
// 8-bit texts). exceptionString describes it as "<class> [<message>]".
#define ZV_ERROR_OBJECT_EXCEPTION 0xE05A5601u
// Describes an exception record (EXCEPTION_RECORD*) in one line into `out`
// (257 bytes): "<thread name>: <description> at <address>". Any thread.
ZVEXPORT void ZVAPI exceptionString(const void* exceptionRecord, char* out);

#ifdef __cplusplus
}
#endif
