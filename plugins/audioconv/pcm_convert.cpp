#include "pcm_convert.h"

#include <cmath>
#include <cstring>
#include <vector>

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
    case 16:
      for (size_t i = 0; i < n; ++i) {
        int16_t v = static_cast<int16_t>(quantize(src[i], 32768.0, -32768, 32767));
        std::memcpy(p + i * 2, &v, 2);
      }
      break;
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
void mapChannels(const double* src, int srcCh, double* dst, int dstCh, size_t frames) {
  mapChannelsT(src, srcCh, dst, dstCh, frames);
}
void mapChannels(const float* src, int srcCh, float* dst, int dstCh, size_t frames) {
  mapChannelsT(src, srcCh, dst, dstCh, frames);
}

}  // namespace audioconv
