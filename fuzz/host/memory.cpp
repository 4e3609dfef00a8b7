// The engine's allocation exports over malloc, so AddressSanitizer sees every
// block the cores allocate, overrun or leak.
#include <cstdlib>
#include <cstring>

#include "zv_memory.h"

ZVEXPORT void* ZVAPI _malloc(int32_t size) { return size < 0 ? nullptr : std::calloc(1, size ? size_t(size) : 1); }
ZVEXPORT void* ZVAPI mallocex(int32_t size, const char*) { return _malloc(size); }
ZVEXPORT void* ZVAPI _mrealloc(void* block, int32_t size) {
  return size < 0 ? nullptr : std::realloc(block, size ? size_t(size) : 1);
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
