// What the fuzz targets assert besides "no sanitizer report": a property
// that must hold for every input, checked in every build type.
#pragma once
#include <cstdio>
#include <cstdlib>

#define ZV_FUZZ_CHECK(cond)                                                       \
  do {                                                                            \
    if (!(cond)) {                                                                \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                               \
    }                                                                             \
  } while (0)
