#include "pcm_convert.h"

#include <cmath>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace audioconv {

bool isSupported(const PcmFormat& f) {
  if (f.channels < 1 || f.channels > 64) return false;
  if (f.isFloat) return f.bits == 32 || f.bits == 64;
  return f.bits == 8 || f.bits == 16 || f.bits == 24 || f.bits == 32;
}

namespace {

int32_t read24(const uint8_t* p) {
  uint32_t v = p[0] | (p[1] << 8) | (uint32_t(p[2]) << 16);
  return static_cast<int32_t>(v << 8) >> 8;
}

template <class Real>
void toRealT(const void* src, const PcmFormat& f, size_t frames, Real* dst) {
  const size_t n = frames * static_cast<size_t>(f.channels);
  const uint8_t* p = static_cast<const uint8_t*>(src);
  if (f.isFloat) {
    for (size_t i = 0; i < n; ++i) {
      if (f.bits == 32) {
        float v;
        std::memcpy(&v, p + i * 4, 4);
        dst[i] = static_cast<Real>(v);
      } else {
        double v;
        std::memcpy(&v, p + i * 8, 8);
        dst[i] = static_cast<Real>(v);
      }
    }
    return;
  }
  switch (f.bits) {
    case 8:
      for (size_t i = 0; i < n; ++i) dst[i] = static_cast<Real>((static_cast<int>(p[i]) - 128) / 128.0);
      break;
    case 16:
      for (size_t i = 0; i < n; ++i) {
        int16_t v;
        std::memcpy(&v, p + i * 2, 2);
        dst[i] = static_cast<Real>(v / 32768.0);
      }
      break;
    case 24:
      for (size_t i = 0; i < n; ++i) dst[i] = static_cast<Real>(read24(p + i * 3) / 8388608.0);
      break;
    case 32:
      for (size_t i = 0; i < n; ++i) {
        int32_t v;
        std::memcpy(&v, p + i * 4, 4);
        dst[i] = static_cast<Real>(v / 2147483648.0);
      }
      break;
    default:
      std::memset(dst, 0, n * sizeof(Real));
  }
}

// Rounds x * scale to the nearest integer within [lo, hi]; NaN gives 0.
int64_t quantize(double x, double scale, int64_t lo, int64_t hi) {
  // rint rounds like nearbyint (to nearest, ties to even) but GCC inlines
  // it; MinGW's nearbyint is a library call that costs more than decoding.
  double v = std::rint(x * scale);
  if (!(v == v)) return 0;
  if (v < static_cast<double>(lo)) return lo;
  if (v > static_cast<double>(hi)) return hi;
  return static_cast<int64_t>(v);
}

// Float to 16-bit, four samples a step where SSE2 is there. x * 32768 is
// exact in float as in double, the conversion rounds to nearest even as rint
// does, and clamping before rounding clips as quantize does; NaN gives 0.
// Returns the count of samples done.
size_t floatTo16Fast(const float* src, size_t n, uint8_t* p) {
#if defined(__SSE2__)
  const __m128 scale = _mm_set1_ps(32768.0f), lo = _mm_set1_ps(-32768.0f), hi = _mm_set1_ps(32767.0f);
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    __m128 a = _mm_loadu_ps(src + i), b = _mm_loadu_ps(src + i + 4);
    a = _mm_and_ps(_mm_mul_ps(a, scale), _mm_cmpord_ps(a, a));
    b = _mm_and_ps(_mm_mul_ps(b, scale), _mm_cmpord_ps(b, b));
    a = _mm_min_ps(_mm_max_ps(a, lo), hi);
    b = _mm_min_ps(_mm_max_ps(b, lo), hi);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i * 2), _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b)));
  }
  return i;
#else
  (void)src, (void)n, (void)p;
  return 0;
#endif
}

// The same from double: x * 32768 is exact, and so is everything after.
size_t doubleTo16Fast(const double* src, size_t n, uint8_t* p) {
#if defined(__SSE2__)
  const __m128d scale = _mm_set1_pd(32768.0), lo = _mm_set1_pd(-32768.0), hi = _mm_set1_pd(32767.0);
  auto four = [&](const double* s) {
    __m128d a = _mm_loadu_pd(s), b = _mm_loadu_pd(s + 2);
    a = _mm_and_pd(_mm_mul_pd(a, scale), _mm_cmpord_pd(a, a));
    b = _mm_and_pd(_mm_mul_pd(b, scale), _mm_cmpord_pd(b, b));
    a = _mm_min_pd(_mm_max_pd(a, lo), hi);
    b = _mm_min_pd(_mm_max_pd(b, lo), hi);
    return _mm_unpacklo_epi64(_mm_cvtpd_epi32(a), _mm_cvtpd_epi32(b));
  };
  size_t i = 0;
  for (; i + 8 <= n; i += 8)
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i * 2), _mm_packs_epi32(four(src + i), four(src + i + 4)));
  return i;
#else
  (void)src, (void)n, (void)p;
  return 0;
#endif
}

template <class Real>
void fromRealT(const Real* src, size_t frames, const PcmFormat& f, void* dst) {
  const size_t n = frames * static_cast<size_t>(f.channels);
  uint8_t* p = static_cast<uint8_t*>(dst);
  if (f.isFloat) {
    for (size_t i = 0; i < n; ++i) {
      if (f.bits == 32) {
        float v = static_cast<float>(src[i]);
        std::memcpy(p + i * 4, &v, 4);
      } else {
        double v = static_cast<double>(src[i]);
        std::memcpy(p + i * 8, &v, 8);
      }
    }
    return;
  }
  switch (f.bits) {
    case 8:
      for (size_t i = 0; i < n; ++i) p[i] = static_cast<uint8_t>(quantize(src[i], 128.0, -128, 127) + 128);
      break;
    case 16: {
      size_t i = 0;
      if constexpr (sizeof(Real) == 4) i = floatTo16Fast(src, n, p);
      else i = doubleTo16Fast(src, n, p);
      for (; i < n; ++i) {
        int16_t v = static_cast<int16_t>(quantize(src[i], 32768.0, -32768, 32767));
        std::memcpy(p + i * 2, &v, 2);
      }
      break;
    }
    case 24:
      for (size_t i = 0; i < n; ++i) {
        int32_t v = static_cast<int32_t>(quantize(src[i], 8388608.0, -8388608, 8388607));
        p[i * 3] = static_cast<uint8_t>(v);
        p[i * 3 + 1] = static_cast<uint8_t>(v >> 8);
        p[i * 3 + 2] = static_cast<uint8_t>(v >> 16);
      }
      break;
    case 32:
      for (size_t i = 0; i < n; ++i) {
        int32_t v = static_cast<int32_t>(quantize(src[i], 2147483648.0, INT32_MIN, INT32_MAX));
        std::memcpy(p + i * 4, &v, 4);
      }
      break;
    default:
      std::memset(dst, 0, n * static_cast<size_t>(f.bits / 8));
  }
}

// One integer sample in its stored form, as a signed value of its depth.
template <int Bits>
int32_t loadInt(const uint8_t* p) {
  if constexpr (Bits == 8) return static_cast<int32_t>(p[0]) - 128;
  if constexpr (Bits == 24) return read24(p);
  if constexpr (Bits == 16) {
    int16_t v;
    std::memcpy(&v, p, 2);
    return v;
  }
  if constexpr (Bits == 32) {
    int32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
}

template <int Bits>
void storeInt(int32_t v, uint8_t* p) {
  if constexpr (Bits == 8) p[0] = static_cast<uint8_t>(v + 128);
  if constexpr (Bits == 16) {
    const int16_t s = static_cast<int16_t>(v);
    std::memcpy(p, &s, 2);
  }
  if constexpr (Bits == 24) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
  }
  if constexpr (Bits == 32) std::memcpy(p, &v, 4);
}

// v / 2^(From - To) rounded to nearest even and clipped to To bits, or
// v * 2^(To - From): what quantize makes of toReal's exact value.
template <int From, int To>
int32_t requantize(int32_t v) {
  if constexpr (To >= From) {
    return static_cast<int32_t>(static_cast<uint32_t>(v) << (To - From));
  } else {
    constexpr int shift = From - To;
    constexpr int64_t half = int64_t(1) << (shift - 1);
    constexpr int64_t top = (int64_t(1) << (To - 1)) - 1;
    // Adding half - 1, and one more when the truncated quotient is odd,
    // carries into the quotient exactly when rounding goes up; no branch.
    const int64_t x = static_cast<int64_t>(v);
    const int64_t rounded = (x + (half - 1) + ((x >> shift) & 1)) >> shift;
    return static_cast<int32_t>(rounded > top ? top : rounded);
  }
}

template <int From, int To>
void convertIntegerT(const uint8_t* src, size_t n, uint8_t* dst) {
  for (size_t i = 0; i < n; ++i)
    storeInt<To>(requantize<From, To>(loadInt<From>(src + i * (From / 8))), dst + i * (To / 8));
}

template <int From>
bool convertIntegerTo(const uint8_t* src, size_t n, int toBits, uint8_t* dst) {
  switch (toBits) {
    case 8: convertIntegerT<From, 8>(src, n, dst); return true;
    case 16: convertIntegerT<From, 16>(src, n, dst); return true;
    case 24: convertIntegerT<From, 24>(src, n, dst); return true;
    case 32: convertIntegerT<From, 32>(src, n, dst); return true;
  }
  return false;
}

// A planar sample as packing it into a From-bit container and reading it
// back gives it: the low From bits of the shifted value, sign-extended.
template <int From>
int32_t packedValue(int32_t sample, int shift) {
  const uint32_t u = static_cast<uint32_t>(sample) << shift;
  if constexpr (From == 32) return static_cast<int32_t>(u);
  return static_cast<int32_t>(u << (32 - From)) >> (32 - From);
}

template <int From, int To>
void convertPlanesT(const int32_t* const* planes, size_t first, int shift, size_t frames, int channels,
                    uint8_t* dst) {
  constexpr size_t step = To / 8;
  if (channels == 2) {  // the usual case, without the inner loop
    const int32_t* l = planes[0] + first;
    const int32_t* r = planes[1] + first;
    for (size_t i = 0; i < frames; ++i, dst += 2 * step) {
      storeInt<To>(requantize<From, To>(packedValue<From>(l[i], shift)), dst);
      storeInt<To>(requantize<From, To>(packedValue<From>(r[i], shift)), dst + step);
    }
    return;
  }
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c, dst += step)
      storeInt<To>(requantize<From, To>(packedValue<From>(planes[c][first + i], shift)), dst);
}

template <int From>
bool convertPlanesTo(const int32_t* const* planes, size_t first, int shift, size_t frames, int channels, int toBits,
                     uint8_t* dst) {
  switch (toBits) {
    case 8: convertPlanesT<From, 8>(planes, first, shift, frames, channels, dst); return true;
    case 16: convertPlanesT<From, 16>(planes, first, shift, frames, channels, dst); return true;
    case 24: convertPlanesT<From, 24>(planes, first, shift, frames, channels, dst); return true;
    case 32: convertPlanesT<From, 32>(planes, first, shift, frames, channels, dst); return true;
  }
  return false;
}

// Down-mix weights of source channel c into the left (side 0) or right
// (side 1) output, WAVE speaker order.
double sideWeight(int c, int side) {
  constexpr double kMinus3dB = 0.70710678118654752;
  if (c == 0) return side == 0 ? 1.0 : 0.0;
  if (c == 1) return side == 1 ? 1.0 : 0.0;
  if (c == 2) return kMinus3dB;  // front centre
  if (c == 3) return 0.0;        // LFE: not part of a stereo picture
  return (c % 2 == 0) == (side == 0) ? kMinus3dB : 0.0;
}

template <class Real>
void mapChannelsT(const Real* src, int srcCh, Real* dst, int dstCh, size_t frames) {
  if (srcCh == dstCh) {
    std::memcpy(dst, src, frames * static_cast<size_t>(srcCh) * sizeof(Real));
    return;
  }
  if (srcCh == 1) {
    for (size_t i = 0; i < frames; ++i)
      for (int c = 0; c < dstCh; ++c) dst[i * dstCh + c] = src[i];
    return;
  }
  if (dstCh <= 2) {
    std::vector<double> w[2] = {std::vector<double>(srcCh), std::vector<double>(srcCh)};
    double norm = 0;
    for (int c = 0; c < srcCh; ++c) {
      w[0][c] = sideWeight(c, 0);
      w[1][c] = sideWeight(c, 1);
      norm += w[0][c];
    }
    for (int c = 0; c < srcCh; ++c) {
      w[0][c] /= norm;
      w[1][c] /= norm;
    }
    for (size_t i = 0; i < frames; ++i) {
      const Real* s = src + i * srcCh;
      double l = 0, r = 0;
      for (int c = 0; c < srcCh; ++c) {
        l += w[0][c] * s[c];
        r += w[1][c] * s[c];
      }
      if (dstCh == 1) {
        dst[i] = static_cast<Real>((l + r) * 0.5);
      } else {
        dst[i * 2] = static_cast<Real>(l);
        dst[i * 2 + 1] = static_cast<Real>(r);
      }
    }
    return;
  }
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < dstCh; ++c) dst[i * dstCh + c] = c < srcCh ? src[i * srcCh + c] : Real(0);
}

}  // namespace

void toReal(const void* src, const PcmFormat& f, size_t frames, double* dst) { toRealT(src, f, frames, dst); }
void toReal(const void* src, const PcmFormat& f, size_t frames, float* dst) { toRealT(src, f, frames, dst); }
void fromReal(const double* src, size_t frames, const PcmFormat& f, void* dst) { fromRealT(src, frames, f, dst); }
void fromReal(const float* src, size_t frames, const PcmFormat& f, void* dst) { fromRealT(src, frames, f, dst); }
bool convertInteger(const void* src, const PcmFormat& from, size_t frames, const PcmFormat& to, void* dst) {
  if (from.isFloat || to.isFloat || from.channels != to.channels || !isSupported(from) || !isSupported(to))
    return false;
  const size_t n = frames * static_cast<size_t>(from.channels);
  const uint8_t* s = static_cast<const uint8_t*>(src);
  uint8_t* d = static_cast<uint8_t*>(dst);
  switch (from.bits) {
    case 8: return convertIntegerTo<8>(s, n, to.bits, d);
    case 16: return convertIntegerTo<16>(s, n, to.bits, d);
    case 24: return convertIntegerTo<24>(s, n, to.bits, d);
    case 32: return convertIntegerTo<32>(s, n, to.bits, d);
  }
  return false;
}

bool convertPlanes(const int32_t* const* planes, size_t first, int shift, size_t frames, const PcmFormat& from,
                   const PcmFormat& to, void* dst) {
  if (from.isFloat || to.isFloat || from.channels != to.channels || !isSupported(from) || !isSupported(to) ||
      shift < 0 || shift >= from.bits)
    return false;
  uint8_t* d = static_cast<uint8_t*>(dst);
  switch (from.bits) {
    case 8: return convertPlanesTo<8>(planes, first, shift, frames, from.channels, to.bits, d);
    case 16: return convertPlanesTo<16>(planes, first, shift, frames, from.channels, to.bits, d);
    case 24: return convertPlanesTo<24>(planes, first, shift, frames, from.channels, to.bits, d);
    case 32: return convertPlanesTo<32>(planes, first, shift, frames, from.channels, to.bits, d);
  }
  return false;
}

void mapChannels(const double* src, int srcCh, double* dst, int dstCh, size_t frames) {
  mapChannelsT(src, srcCh, dst, dstCh, frames);
}
void mapChannels(const float* src, int srcCh, float* dst, int dstCh, size_t frames) {
  mapChannelsT(src, srcCh, dst, dstCh, frames);
}

}  // namespace audioconv
