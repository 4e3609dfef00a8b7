// Visualisation of zvengine.dll.
// The sound being played lands in one shared visualisation buffer through
// prepareVis (called by the output library for streams and by the `insampler`
// instance for analog sound). The `vis` and `winampvis` instances read it
// without a lock, so a frame may mix old and new data.
#pragma once
#include "zv_plugins.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { ZV_VIS_PLANE = 16384 };

// One per process, from getVisData; lives as long as the engine. Of each plane
// only the first N bytes are written, N being the output library's
// visualisation frame count (output parameter word 6).
typedef struct ZvVisBuffer {
  int8_t scopeLeft[ZV_VIS_PLANE];      // oscilloscope, signed 8-bit samples
  int8_t scopeRight[ZV_VIS_PLANE];     // a copy of the left for mono
  uint8_t spectrumLeft[ZV_VIS_PLANE];  // levels
  uint8_t spectrumRight[ZV_VIS_PLANE];
  int32_t channels;                    // channel count of the last data
} ZvVisBuffer;
ZV_LAYOUT(sizeof(ZvVisBuffer) == 65540);
ZV_LAYOUT(offsetof(ZvVisBuffer, scopeRight) == 16384);
ZV_LAYOUT(offsetof(ZvVisBuffer, spectrumLeft) == 32768);
ZV_LAYOUT(offsetof(ZvVisBuffer, spectrumRight) == 49152);
ZV_LAYOUT(offsetof(ZvVisBuffer, channels) == 65536);

// ZvVisSettings.mode
enum {
  ZV_VIS_SCOPE = 0,
  ZV_VIS_SPECTRUM = 1,
  ZV_VIS_OFF = 2  // background only
};
// ZvVisSettings.style: the skin supplies "\mask.bmp" and "\active.bmp" and the
// spectrum is drawn as bitmap bars.
enum { ZV_VIS_STYLE_BARS = 1 };

// msgVisSettings to a `vis` instance: 98 words.
// Colours are 0x00BBGGRR.
typedef struct ZvVisSettings {
  int32_t halfRate;       // nonzero: draw every second tick, double the decay steps
  int32_t style;          // ZV_VIS_STYLE_BARS or 0
  int32_t mode;           // ZV_VIS_*
  int32_t unused3;
  uint32_t gradient1[3];  // low, middle, high
  uint32_t gradient2[3];
  uint32_t color;
  int32_t trailDecay;     // per frame (8, 16 or 32)
  int32_t barFall;        // per frame (12, 18 or 24)
  int32_t peak;           // 0, 10, 5 or 3
  int32_t barCount;       // bitmap bars; 0 or more than 256 means 256
  int32_t flags[2];       // toggled by the player
  char skinDir[260];      // folder of the skin's bitmaps
  int32_t reserved[16];
} ZvVisSettings;
ZV_LAYOUT(sizeof(ZvVisSettings) == 392);
ZV_LAYOUT(offsetof(ZvVisSettings, gradient1) == 4 * 4);
ZV_LAYOUT(offsetof(ZvVisSettings, gradient2) == 7 * 4);
ZV_LAYOUT(offsetof(ZvVisSettings, color) == 10 * 4);
ZV_LAYOUT(offsetof(ZvVisSettings, trailDecay) == 11 * 4);
ZV_LAYOUT(offsetof(ZvVisSettings, barFall) == 12 * 4);
ZV_LAYOUT(offsetof(ZvVisSettings, peak) == 13 * 4);
ZV_LAYOUT(offsetof(ZvVisSettings, barCount) == 14 * 4);
ZV_LAYOUT(offsetof(ZvVisSettings, flags) == 15 * 4);
ZV_LAYOUT(offsetof(ZvVisSettings, skinDir) == 17 * 4);
ZV_LAYOUT(offsetof(ZvVisSettings, reserved) == 82 * 4);

// msgVisSettings to a `winampvis` instance: load (or, with an empty path,
// unload) an outside visualisation.
typedef struct ZvWinampVisOpen {
  char libraryPath[260];
  int32_t moduleIndex;
  void* followWindow;  // window whose rectangle the visualisation window takes
} ZvWinampVisOpen;
ZV_LAYOUT_32(sizeof(ZvWinampVisOpen) == 268);
ZV_LAYOUT(offsetof(ZvWinampVisOpen, moduleIndex) == 260);
ZV_LAYOUT_32(offsetof(ZvWinampVisOpen, followWindow) == 264);
ZV_LAYOUT_64(sizeof(ZvWinampVisOpen) == 272);

// msgVisSongInfo: what the outside visualisation may ask about the song.
typedef struct ZvVisSongInfo {
  char fileName[260];
  char title[260];
  int32_t positionMs;
  int32_t lengthMs;
  int32_t playing;  // nonzero while playing
  int32_t sampleRate;
  int32_t bitrate;
  int32_t channels;
} ZvVisSongInfo;
ZV_LAYOUT(sizeof(ZvVisSongInfo) == 544);
ZV_LAYOUT(offsetof(ZvVisSongInfo, title) == 260);
ZV_LAYOUT(offsetof(ZvVisSongInfo, positionMs) == 520);
ZV_LAYOUT(offsetof(ZvVisSongInfo, channels) == 540);

// ---- Winamp 1.x/2.x visualisation libraries ----------------------------------
// The published interface of outside visualisation libraries: the library
// exports winampVisGetHeader; the header's getModule hands out modules by
// index (null past the last). Entry points use the C calling convention.

enum { ZV_WINAMP_VIS_SAMPLES = 576 };

typedef struct ZvWinampVisModule {
  char* description;
  void* hwndParent;    // set by the host before Init: the window that answers WM_USER
  void* hDllInstance;  // set by the host: the library's module handle
  int32_t sRate;       // set by the host
  int32_t nCh;         // set by the host
  int32_t latencyMs;   // ignored by this host
  int32_t delayMs;     // render period; 0 means 25 ms
  int32_t spectrumNch;  // set by the host before each Render
  int32_t waveformNch;
  uint8_t spectrumData[2][ZV_WINAMP_VIS_SAMPLES];
  uint8_t waveformData[2][ZV_WINAMP_VIS_SAMPLES];  // signed samples
  void(__cdecl* Config)(struct ZvWinampVisModule* self);  // may show a dialog over hwndParent
  int32_t(__cdecl* Init)(struct ZvWinampVisModule* self);  // 0 = ready
  int32_t(__cdecl* Render)(struct ZvWinampVisModule* self);  // once per period
  void(__cdecl* Quit)(struct ZvWinampVisModule* self);
  void* userData;  // the library's own
} ZvWinampVisModule;
ZV_LAYOUT_32(offsetof(ZvWinampVisModule, delayMs) == 24);
ZV_LAYOUT_32(offsetof(ZvWinampVisModule, spectrumData) == 36);
ZV_LAYOUT_32(offsetof(ZvWinampVisModule, waveformData) == 36 + 1152);
ZV_LAYOUT_32(offsetof(ZvWinampVisModule, Config) == 36 + 2304);
ZV_LAYOUT_32(sizeof(ZvWinampVisModule) == 36 + 2304 + 20);
ZV_LAYOUT_64(offsetof(ZvWinampVisModule, sRate) == 24);
ZV_LAYOUT_64(offsetof(ZvWinampVisModule, spectrumData) == 48);
ZV_LAYOUT_64(offsetof(ZvWinampVisModule, Config) == 48 + 2304);

typedef struct ZvWinampVisHeader {
  int32_t version;  // 0x101
  char* description;
  ZvWinampVisModule*(__cdecl* getModule)(int32_t index);
} ZvWinampVisHeader;
ZV_LAYOUT_32(sizeof(ZvWinampVisHeader) == 12);
ZV_LAYOUT_64(offsetof(ZvWinampVisHeader, getModule) == 16);

// The library's one export, looked up by the name "winampVisGetHeader".
typedef ZvWinampVisHeader*(__cdecl* ZvWinampVisGetHeaderFn)(void);

// Window message to a `winampvis` instance: move the visualisation window onto
// the rectangle of the window given in wParam. Not a bus message (no block).
enum { ZV_WINAMPVIS_FOLLOW = 1367 };

// The visualisation buffer; owned by the engine, never freed by callers. Any thread.
ZVEXPORT ZvVisBuffer* ZVAPI getVisData(void);
// Turns `frames` frames of PCM (8 or 16 bits, 1 or 2 channels; the rate is
// unused) into oscilloscope and spectrum planes of `buffer`. With fewer frames
// than the plane length only the channel count is stored. Sound threads.
ZVEXPORT void ZVAPI prepareVis(int32_t sampleRate, int32_t bits, int32_t channels, const void* data,
                               int32_t frames, ZvVisBuffer* buffer);
// Loads a Winamp visualisation library, shows the configuration of module
// `moduleIndex` over `parent` and unloads it again. Nonzero on success, 0
// when any step fails. Main thread.
ZVEXPORT ZvBool ZVAPI visPluginConfig(const char* libraryPath, int32_t moduleIndex, void* parent);

#ifdef __cplusplus
}
#endif
