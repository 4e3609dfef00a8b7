// The engine's allocation exports over malloc, so AddressSanitizer sees every
// block the cores allocate, overrun or leak. Same contract as the engine's
// (zv_memory.h): zero-filled blocks, null for size 0, a resize to 0 frees,
// grown bytes are zero. Under AddressSanitizer the usable size of a block is
// exactly the size asked for, as the engine's own bookkeeping reports it.
#include <malloc.h>

#include <cstdlib>
#include <cstring>

#include "zv_memory.h"

ZVEXPORT void* ZVAPI _malloc(int32_t size) { return size <= 0 ? nullptr : std::calloc(1, size_t(size)); }
ZVEXPORT void* ZVAPI mallocex(int32_t size, const char*) { return _malloc(size); }
ZVEXPORT void* ZVAPI _mrealloc(void* block, int32_t size) {
  if (size < 0) return nullptr;
  if (size == 0) {
    std::free(block);
    return nullptr;
  }
  const size_t old = block ? malloc_usable_size(block) : 0;
  auto* grown = static_cast<char*>(std::realloc(block, size_t(size)));
  if (grown && size_t(size) > old) std::memset(grown + old, 0, size_t(size) - old);
  return grown;
}
ZVEXPORT void* ZVAPI mreallocex(void* block, int32_t size, const char*) { return _mrealloc(block, size); }
ZVEXPORT void ZVAPI _mfree(void* block) { std::free(block); }
ZVEXPORT void ZVAPI _memcpy(void* destination, const void* source, int32_t length) {
  if (length > 0) std::memmove(destination, source, size_t(length));
}
ZVEXPORT char* ZVAPI _stralloc(const char* text) {
  size_t n = text ? std::strlen(text) : 0;
  auto* out = static_cast<char*>(std::malloc(n + 1));
  if (n) std::memcpy(out, text, n);
  out[n] = '\0';
  return out;
}
ZVEXPORT char* ZVAPI strallocex(const char* text, const char*) { return _stralloc(text); }
ZVEXPORT int32_t ZVAPI _mgetsize(void* block) { return block ? int32_t(malloc_usable_size(block)) : 0; }
