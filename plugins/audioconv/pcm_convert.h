// Conversion between interleaved PCM in its stored form (8-bit unsigned,
// 16/24/32-bit signed little-endian, IEEE float 32/64) and floating-point
// frames scaled to -1..1, and mapping between channel layouts.
#pragma once
#include <cstddef>
#include <cstdint>

namespace audioconv {

struct PcmFormat {
  int bits = 16;         // 8, 16, 24, 32 (integer) or 32, 64 (float)
  int channels = 2;
  bool isFloat = false;
  int bytesPerFrame() const { return bits / 8 * channels; }
};

// True for the layouts that toReal/fromReal handle.
bool isSupported(const PcmFormat& f);

// Reads `frames` frames of `src` in format `f` into src-channel-interleaved
// values in -1..1 (integer full scale maps to exactly -1).
void toReal(const void* src, const PcmFormat& f, size_t frames, double* dst);
void toReal(const void* src, const PcmFormat& f, size_t frames, float* dst);

// Writes `frames` frames to `dst` in format `f`. Integer output is rounded to
// the nearest step and clipped, so a value read by toReal comes back exactly.
void fromReal(const double* src, size_t frames, const PcmFormat& f, void* dst);
void fromReal(const float* src, size_t frames, const PcmFormat& f, void* dst);

// Integer PCM to integer PCM with the same channel count, in integer
// arithmetic with exactly the result of toReal followed by fromReal (rounded
// to nearest even, clipped). False, writing nothing, for any other pair.
bool convertInteger(const void* src, const PcmFormat& from, size_t frames, const PcmFormat& to, void* dst);

// Planar integer samples (one array per channel, as FLAC decodes them) to
// interleaved integer PCM: sample i of channel c is `planes[c][first + i]`
// shifted left by `shift` and stored at `from.bits` (a packed container of
// the file's depth, 8-bit offset by 128), then taken to `to.bits` as
// convertInteger would. The result is byte for byte that of packing the
// planes into `from` and calling convertInteger, without the packed copy.
// False, writing nothing, unless both are integer with the same channels.
bool convertPlanes(const int32_t* const* planes, size_t first, int shift, size_t frames, const PcmFormat& from,
                   const PcmFormat& to, void* dst);

// Maps interleaved frames from srcCh to dstCh channels in the WAVE speaker
// order (FL FR FC LFE BL BR ...). Mono goes to every output channel; several
// channels to mono or stereo are down-mixed with the centre and surrounds at
// -3 dB, scaled so a full-scale signal on every channel cannot clip; other
// layouts keep the channels they share and silence the rest. src and dst
// must not overlap.
void mapChannels(const double* src, int srcCh, double* dst, int dstCh, size_t frames);
void mapChannels(const float* src, int srcCh, float* dst, int dstCh, size_t frames);

}  // namespace audioconv
