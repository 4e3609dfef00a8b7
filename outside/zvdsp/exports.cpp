// The library's exports: thin, each keeping every exception inside.
#include "output.h"
#include "zvdsp.h"

namespace {

template <class T, class Body>
T guarded(T fallback, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return fallback;
  }
}

template <class Body>
void guardedVoid(Body&& body) noexcept {
  try {
    body();
  } catch (...) {
  }
}

zvdsp::Output& out() { return zvdsp::Output::instance(); }

}  // namespace

ZVEXPORT ZvBool ZVAPI outInit(void) {
  return guarded<ZvBool>(ZV_FALSE, [] { return out().init() ? ZV_TRUE : ZV_FALSE; });
}

ZVEXPORT void ZVAPI outGetParams(ZvOutParams* p) {
  if (p) guardedVoid([&] { *p = out().params(); });
}

ZVEXPORT ZvBool ZVAPI outSetParams(const ZvOutParams* p) {
  if (!p) return ZV_FALSE;
  return guarded<ZvBool>(ZV_FALSE, [&] {
    out().setParams(*p);
    return ZV_TRUE;
  });
}

ZVEXPORT int32_t ZVAPI outNewStream(ZvStreamRec** rec) {
  return guarded<int32_t>(-1, [&] { return out().newStream(rec); });
}

ZVEXPORT void ZVAPI outClear(int32_t s) {
  guardedVoid([&] { out().clear(s); });
}

ZVEXPORT void ZVAPI outFadeIn(int32_t s, int32_t ms, int32_t mode) {
  guardedVoid([&] { out().fadeIn(s, ms, mode); });
}

ZVEXPORT void ZVAPI outFadeOut(int32_t s, int32_t ms, int32_t mode) {
  guardedVoid([&] { out().fadeOut(s, ms, mode); });
}

ZVEXPORT void ZVAPI outCloseStream(int32_t s) {
  guardedVoid([&] { out().closeStream(s); });
}

ZVEXPORT void ZVAPI outFree(void) {
  guardedVoid([] { out().free(); });
}

ZVEXPORT void ZVAPI outGetEqualizer(ZvEqualizer* b) {
  if (b) guardedVoid([&] { *b = out().equalizer(); });
}

ZVEXPORT void ZVAPI outSetEqualizer(const ZvEqualizer* b) {
  if (b) guardedVoid([&] { out().setEqualizer(*b); });
}

ZVEXPORT int32_t ZVAPI outGetFilter(int32_t points, float* o) {
  return guarded<int32_t>(0, [&] { return out().filter(points, o); });
}
