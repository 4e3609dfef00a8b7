// zvdsp.dll: sound output, equalizer and FFT used by the engine and the player.
//
// One output thread mixes every open stream (two at once during a
// cross-fade), applies each stream's fade, the preamp and the equalizer,
// converts to the device format and writes to a wave-out device. Streams are
// fed by their producer (the engine's decode instance) through the stream
// record: the library signals needData with byteCount = capacity, the
// producer fills buffer, stores the bytes written in byteCount and sets
// dataReady. A producer that is late only costs silence, never a stall.
//
// All functions may be called from any thread; all are flat C, stdcall.
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

// Output parameters, configuration record "outParams" (36 bytes).
typedef struct ZvOutParams {
  int32_t sampleRate;    // [0] Hz; every stream is fed in this rate
  int32_t bits;          // [1] bits per sample: 8, 16, 24 or 32
  int32_t channels;      // [2] channel count, 1 to 8
  int32_t device;        // [3] wave-out device number, -1 = default device
  uint32_t waveOut;      // [4] handle of the open wave-out device (read only)
  int32_t bufferMs;      // [5] device buffering in milliseconds (40..2000, 0 = 200)
  int32_t visFrames;     // [6] frames the visualisation analyses (a power of two, 64..8192)
  int32_t reserved;      // [7] kept as given
  int32_t priority;      // [8] output thread priority (Windows priority, 2 = highest)
} ZvOutParams;
ZV_LAYOUT(sizeof(ZvOutParams) == 36);
ZV_LAYOUT(offsetof(ZvOutParams, device) == 12);
ZV_LAYOUT(offsetof(ZvOutParams, waveOut) == 16);
ZV_LAYOUT(offsetof(ZvOutParams, visFrames) == 24);
ZV_LAYOUT(offsetof(ZvOutParams, priority) == 32);

// Stream record, owned by the library from outNewStream to outCloseStream.
typedef struct ZvStreamRec {
  void* needData;        // auto-reset event: the library wants byteCount bytes
  void* dataReady;       // event set by the producer after filling buffer (the library resets it)
  void* buffer;          // where the producer writes
  int32_t byteCount;     // in: capacity (set by the library); out: bytes written, 0 = nothing
  int32_t playedOut;     // nonzero once everything given, or a fade-out, has been heard
  int32_t framesPlayed;  // frames heard since the last clear (the producer may write 0)
  int32_t rate;          // format of the data written: Hz,
  int32_t bits;          //   bits per sample,
  int32_t channels;      //   channel count
} ZvStreamRec;
ZV_LAYOUT_32(sizeof(ZvStreamRec) == 36);
ZV_LAYOUT_32(offsetof(ZvStreamRec, byteCount) == 12);
ZV_LAYOUT_32(offsetof(ZvStreamRec, framesPlayed) == 20);
ZV_LAYOUT_32(offsetof(ZvStreamRec, channels) == 32);
ZV_LAYOUT_64(sizeof(ZvStreamRec) == 48);

#define ZV_EQ_BANDS 12

// Equalizer block, configuration record "dspData" (108 bytes).
typedef struct ZvEqualizer {
  int32_t enabled;                // -1 on, 0 off (off bypasses preamp and bands)
  float preamp;                   // linear factor
  float gains[ZV_EQ_BANDS];       // linear; 40, 100, 200, 500 Hz, 1, 2, 3, 4, 6, 8, 12, 16 kHz
  int32_t bandOff[ZV_EQ_BANDS];   // -1 = band off (flat), 0 = band on
  int32_t width;                  // band width: 0 = from the band spacing, n = every band with Q n/100
} ZvEqualizer;
ZV_LAYOUT(sizeof(ZvEqualizer) == 108);
ZV_LAYOUT(offsetof(ZvEqualizer, gains) == 8);
ZV_LAYOUT(offsetof(ZvEqualizer, bandOff) == 56);
ZV_LAYOUT(offsetof(ZvEqualizer, width) == 104);

// Fade modes of outFadeIn / outFadeOut.
#define ZV_FADE_LINEAR 0
#define ZV_FADE_EXPONENTIAL 1
#define ZV_FADE_LINEAR_NO_FADEIN 2
#define ZV_FADE_EXPONENTIAL_NO_FADEIN 3

// Starts the output thread and opens the device of the current parameters.
// Returns -1 when ready (also when no device could be opened: the library
// then keeps time on its own), 0 on failure. Calling it again does nothing.
ZVEXPORT ZvBool ZVAPI outInit(void);

// Copies the current parameters (word 4 = the open device's handle) to *p.
ZVEXPORT void ZVAPI outGetParams(ZvOutParams* p);

// Applies *p: out-of-range words fall back to their defaults; a changed
// format or device reopens the device while streams keep playing.
// Returns -1 on success, 0 if p is null.
ZVEXPORT ZvBool ZVAPI outSetParams(const ZvOutParams* p);

// Creates a stream (starting the library if needed) and stores the address
// of its record in *rec. Returns the stream number, or -1 when no more
// streams can be opened. The producer must call outCloseStream at the end.
ZVEXPORT int32_t ZVAPI outNewStream(ZvStreamRec** rec);

// Drops the sound queued for stream s and restarts its counters.
ZVEXPORT void ZVAPI outClear(int32_t s);

// Raises the volume of stream s from silence to full over ms milliseconds
// (modes 2 and 3: full at once) and lets it play.
ZVEXPORT void ZVAPI outFadeIn(int32_t s, int32_t ms, int32_t mode);

// Lowers the volume of stream s from where it is to silence over ms; once
// that has been heard, the record's playedOut becomes nonzero.
ZVEXPORT void ZVAPI outFadeOut(int32_t s, int32_t ms, int32_t mode);

// Releases stream s; what it still sounds is ramped down in a few ms. The
// record must not be used afterwards. Unknown numbers are ignored.
ZVEXPORT void ZVAPI outCloseStream(int32_t s);

// Stops the output thread and closes the device. Stream records stay valid
// until their outCloseStream, so producers still running are safe.
ZVEXPORT void ZVAPI outFree(void);

// Copies the equalizer block in use to *b (off and flat before any set).
ZVEXPORT void ZVAPI outGetEqualizer(ZvEqualizer* b);

// Applies *b from the next block the output thread mixes.
ZVEXPORT void ZVAPI outSetEqualizer(const ZvEqualizer* b);

// Fills out[0..points-1] with the equalizer's gain (linear, preamp
// included, 1.0 everywhere while it is off) at frequencies spaced evenly
// on a logarithmic scale from 20 Hz (point 0) to 20 kHz (the last point).
// Returns the number of points written.
ZVEXPORT int32_t ZVAPI outGetFilter(int32_t points, float* out);

// Integer FFT of n (left, right) pairs of samples, replaced in place: the
// low byte of the left and right word of pair i (0 <= i < n/2) becomes the
// level of frequency band i of that channel, 0.8 per dB, a full-scale 16-bit
// sine giving about 64 and 80 dB below that giving 0. n is used down to a
// power of two (2..65536); the other pairs are zeroed.
ZVEXPORT void ZVAPI IntFFTEnergy(int32_t n, int32_t* pairs);

#ifdef __cplusplus
}
#endif
