// The visualisation buffer: oscilloscope samples and spectrum levels of what
// is being played, written by the output library's thread (or the sampler)
// and read by the visualisation threads without a lock.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "foundation/diagnostics.h"
#include "playback/vis/vis_buffer.h"
#include "zv_vis.h"
#include "zvdsp.h"

namespace zv {

int32_t visFrameCount() {
  ZvOutParams p = {};
  outGetParams(&p);
  // The planes hold 16384 bytes whatever the parameters say.
  return std::clamp<int32_t>(p.visFrames, 0, ZV_VIS_PLANE);
}

namespace {

ZvVisBuffer g_vis;

// Sample c of frame j as a signed 16-bit value (8-bit data scaled up).
int32_t sampleAt(const void* data, int32_t bits, int32_t channels, int32_t j, int32_t c) {
  int32_t at = j * channels + (c < channels ? c : 0);
  if (bits == 8) return (static_cast<const uint8_t*>(data)[at] - 128) * 256;
  return static_cast<const int16_t*>(data)[at];
}

void fill(int32_t bits, int32_t channels, const void* data, int32_t frames, ZvVisBuffer* buf) {
  buf->channels = channels;
  const int32_t n = visFrameCount();
  if (frames < n || n == 0 || !data || (bits != 8 && bits != 16) || channels < 1 || channels > 2) return;
  for (int32_t j = 0; j < n; ++j) {
    for (int32_t c = 0; c < 2; ++c) {
      int8_t v;
      if (bits == 8)
        v = static_cast<int8_t>(static_cast<const uint8_t*>(data)[j * channels + (c < channels ? c : 0)] - 128);
      else
        v = static_cast<int8_t>(sampleAt(data, bits, channels, j, c) / 256);
      (c == 0 ? buf->scopeLeft : buf->scopeRight)[j] = v;
    }
  }
  thread_local std::vector<int32_t> pairs;
  pairs.assign(static_cast<size_t>(n) * 2, 0);
  for (int32_t j = 0; j < n; ++j) {
    // 8-bit samples enter as (value - 128) x 512, 16-bit ones as they are.
    int32_t scale = bits == 8 ? 2 : 1;
    pairs[size_t(j) * 2] = sampleAt(data, bits, channels, j, 0) * scale;
    pairs[size_t(j) * 2 + 1] = sampleAt(data, bits, channels, j, 1) * scale;
  }
  IntFFTEnergy(n, pairs.data());
  for (int32_t i = 0; i < n; ++i) {
    buf->spectrumLeft[i] = static_cast<uint8_t>(pairs[size_t(i / 2) * 2] & 0xFF);
    buf->spectrumRight[i] = static_cast<uint8_t>(pairs[size_t(i / 2) * 2 + 1] & 0xFF);
  }
}

}  // namespace
}  // namespace zv

ZVEXPORT ZvVisBuffer* ZVAPI getVisData(void) { return &zv::g_vis; }

ZVEXPORT void ZVAPI prepareVis(int32_t sampleRate, int32_t bits, int32_t channels, const void* data, int32_t frames,
                               ZvVisBuffer* buf) {
  (void)sampleRate;  // levels are per band, whatever the rate
  zv::guardedVoid("prepareVis", [&] {
    if (buf) zv::fill(bits, channels, data, frames, buf);
  });
}
