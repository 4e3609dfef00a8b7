// IntFFTEnergy: band levels of two channels for the visualisation, from a
// fixed-point FFT (Q15 window and twiddles, 64-bit accumulators). Both
// channels share one complex transform: left as the real part, right as the
// imaginary part, separated afterwards by the symmetry of real signals.
#include <cmath>
#include <cstdint>
#include <vector>

#include "zvdsp.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Tables {
  int size = 0;
  std::vector<int32_t> window;  // Hann, Q15
  std::vector<int32_t> cosQ, sinQ;  // e^{-2 pi i k / size}, Q15
  int32_t refLog2Q8 = 0;            // log2 of a full-scale sine's band energy
};

int bitLength(uint64_t v) {
  int n = 0;
  while (v) {
    ++n;
    v >>= 1;
  }
  return n;
}

// log2(v) in 1/256 steps, from the bit length and the next four bits (each
// table entry is the middle of its sixteenth of an octave).
int32_t log2Q8(uint64_t v) {
  static const int32_t kFrac[16] = {11, 33, 54, 73, 92, 109, 126, 142, 157, 172, 186, 200, 213, 226, 238, 250};
  if (v == 0) return -1 << 20;
  int b = bitLength(v) - 1;
  uint64_t top = b >= 4 ? (v >> (b - 4)) & 15 : (v << (4 - b)) & 15;
  return b * 256 + kFrac[top];
}

const Tables& tablesFor(int size) {
  thread_local Tables t;
  if (t.size == size) return t;
  t.size = size;
  t.window.resize(size_t(size));
  t.cosQ.resize(size_t(size / 2));
  t.sinQ.resize(size_t(size / 2));
  for (int k = 0; k < size; ++k)
    t.window[size_t(k)] = static_cast<int32_t>(std::lround(32767.0 * 0.5 * (1 - std::cos(2 * kPi * k / size))));
  for (int k = 0; k < size / 2; ++k) {
    t.cosQ[size_t(k)] = static_cast<int32_t>(std::lround(32767.0 * std::cos(2 * kPi * k / size)));
    t.sinQ[size_t(k)] = static_cast<int32_t>(std::lround(-32767.0 * std::sin(2 * kPi * k / size)));
  }
  // A full-scale 16-bit sine peaks at 32767 * size / 4 in its band.
  uint64_t peak = uint64_t(32767) * uint64_t(size) / 4;
  t.refLog2Q8 = 2 * log2Q8(peak);
  return t;
}

void fft(std::vector<int64_t>& re, std::vector<int64_t>& im, const Tables& t) {
  const size_t n = re.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j |= bit;
    if (i < j) {
      std::swap(re[i], re[j]);
      std::swap(im[i], im[j]);
    }
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const size_t step = n / len;
    for (size_t i = 0; i < n; i += len) {
      for (size_t k = 0; k < len / 2; ++k) {
        const int64_t c = t.cosQ[k * step], s = t.sinQ[k * step];
        const size_t a = i + k, b = a + len / 2;
        const int64_t xr = (re[b] * c - im[b] * s) >> 15;
        const int64_t xi = (re[b] * s + im[b] * c) >> 15;
        re[b] = re[a] - xr;
        im[b] = im[a] - xi;
        re[a] += xr;
        im[a] += xi;
      }
    }
  }
}

int32_t level(uint64_t energy, int shift, const Tables& t) {
  // 0.8 per dB = 2.408 per octave of energy: (log2 E - log2 Eref) * 2.408 + 64.
  int64_t rel = int64_t(log2Q8(energy)) + 2 * 256 * shift - t.refLog2Q8;
  int64_t v = (rel * 2408 / 1000 + 64 * 256 + 128) >> 8;
  return static_cast<int32_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace

ZVEXPORT void ZVAPI IntFFTEnergy(int32_t n, int32_t* pairs) {
  if (!pairs || n <= 0) return;
  try {
    int m = 1;
    while (m * 2 <= n && m < 65536) m *= 2;
    if (m < 2) {
      pairs[0] = pairs[1] = 0;
      return;
    }
    const Tables& t = tablesFor(m);
    std::vector<int64_t> re(static_cast<size_t>(m)), im(static_cast<size_t>(m));
    // Samples are 16-bit values or 8-bit ones times 512; anything wider is
    // limited so the sums below cannot overflow.
    auto sample = [](int32_t v) { return int64_t(v < -131072 ? -131072 : v > 131072 ? 131072 : v); };
    for (int k = 0; k < m; ++k) {
      re[size_t(k)] = (sample(pairs[2 * k]) * t.window[size_t(k)]) >> 15;
      im[size_t(k)] = (sample(pairs[2 * k + 1]) * t.window[size_t(k)]) >> 15;
    }
    fft(re, im, t);
    // Band values reach 2^(inputbits + log2 m); scale them so squares fit.
    int shift = bitLength(uint64_t(m)) + 20 - 31;
    if (shift < 0) shift = 0;
    for (int k = 0; k < n; ++k) pairs[2 * k] = pairs[2 * k + 1] = 0;
    for (int k = 0; k < m / 2; ++k) {
      const size_t a = size_t(k), b = size_t((m - k) % m);
      int64_t lr = (re[a] + re[b]) >> (1 + shift), li = (im[a] - im[b]) >> (1 + shift);
      int64_t rr = (im[a] + im[b]) >> (1 + shift), ri = (re[a] - re[b]) >> (1 + shift);
      pairs[2 * k] = level(uint64_t(lr * lr) + uint64_t(li * li), shift, t);
      pairs[2 * k + 1] = level(uint64_t(rr * rr) + uint64_t(ri * ri), shift, t);
    }
  } catch (...) {
    // Out of memory: leave the levels as they are.
  }
}
