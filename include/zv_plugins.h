// Plug-in host and message bus of zvengine.dll.
// Everything that plays, shows or watches runs as a plug-in instance with a
// thread of its own. Instances, the engine and the player talk only through
// posted messages: the bus copies the sender's data into an engine block
// (tag "msg", "bcastMsg" or "bfilterMsg") passed in lParam, with the sender in
// wParam. Every receiver reads the block with getMsgPrm and then calls
// finishMsg with the same message, whatever its code.
//
// The kind and instance lists are not locked: initPlugins, startPlugin,
// stopPlugin and the broadcast filters are called from the player's main
// thread (built-in kinds register their filters inside comInit, on that thread).
#pragma once
#include "zv_decoder.h"

#ifdef __cplusplus
extern "C" {
#endif

struct tagMSG;       // the Windows MSG of <windows.h>
struct ZvStatusRec;  // zv_playback.h

// Kind flags (ZvPluginRec.kindFlags).
enum {
  pfInput = 0x01,     // plays files: takes part in opening them
  pfVis = 0x04,       // a visualisation kind
  pfInternal = 0x10,  // never offered for a file
  pfDecoder = 0x40    // a decoder record; its files play in a `decode` instance
};

// An instance record is a copy of its kind's record (ZvPluginRec) with the
// instance id in threadId and the thread handle in threadHandle.
typedef ZvPluginRec ZvInstanceRec;

// Play states (msgState, ZvStatusRec.state).
enum {
  stClosed = 0,
  stPlaying = 1,
  stStopped = 2,  // open, not playing
  stOpening = 4,
  stSeeking = 5,
  stFading = 6    // fading out before a stop or close
};

// Capabilities: the first word of the msgOpened block.
enum {
  capVideo = 0x20,   // pictures; the block carries their width and height
  capAnalog = 0x40,  // the sound bypasses the output library: visualisation needs the sampler
  capStream = 0x80,  // the sound plays through an output-library stream
  capNoSeek = 0x100  // seeking is impossible
};

// The message catalogue. "Owner" is the owner given to startPlugin or inOpen.
enum {
  msgPluginQuit = 6023,      // host to instance, right after WM_QUIT; lParam 0, no block
  msgPluginError = 6024,     // plug-in thread to owner; ZvPluginErrorPrm
  msgInOpen = 6124,          // to an input instance, wParam = owner; ZvInOpenPrm
  msgInClose = 6125,         // ZvFadePrm
  msgInSeek = 6126,          // ZvSeekPrm
  msgInPlay = 6127,          // ZvFadePrm (fade-in)
  msgInStop = 6128,          // ZvFadePrm (fade-out; 0 = stop at once)
  msgInSetVideo = 6130,      // ZvWindowPrm: the window that shows the pictures
  msgInSetVideoRect = 6131,  // ZvVideoRectPrm
  msgInVideoAdjust = 6132,   // ZvVideoAdjustPrm
  msgOpenFailed = 6224,      // instance to owner; no block
  msgOpened = 6225,          // instance to owner; ZvOpenedPrm
  msgState = 6226,           // instance to owner at every change of play state; ZvStatePrm
  msgEndReached = 6228,      // instance to owner: the end of the file was played; no block
  msgClosed = 6229,          // instance to owner: closed, stop the instance now; no block
  msgVisWindow = 6425,       // to `vis` / `winampvis`; ZvWindowPrm (null = none)
  msgVisSettings = 6454,     // to `vis`: ZvVisSettings; to `winampvis`: ZvWinampVisOpen (zv_vis.h)
  msgVisClosed = 6455,       // `winampvis` to owner: the outside visualisation was unloaded; no block
  msgVisSongInfo = 6456,     // to `winampvis`; ZvVisSongInfo (zv_vis.h)
  msgInfoReady = 7024,       // description results; ZvQueryResult (zv_desc.h)
  msgMixerChange = 7025,     // broadcast by the mixer; ZvMixerChangePrm (zv_mixer.h)
  msgFileChanged = 7027,     // broadcast: a file or disc changed; ZvFileChangedPrm
  msgDiscChange = 7028,      // broadcast by the CD monitor; 21 bytes (zv_cdaudio.h)
  msgConfigChanged = 7029,   // broadcast: settings changed, re-read them; no block
  msgSamplerStart = 7074,    // to `insampler`; no block
  msgSamplerStop = 7075,     // to `insampler`; no block
  msgStreamGone = 7124       // to a `decode` instance: forget the output stream and end; no block
};

// Codes whose lParam is a bus block (finishMsg frees exactly these). The bus
// must not be used with other codes.
enum {
  ZV_BUS_FIRST = 6024,
  ZV_BUS_LAST = 8024
};

// Allocation tags of bus blocks: one target, one copy per instance of a
// broadcast, one copy per matching broadcast filter. A block is an ordinary
// engine block (zv_memory.h) of exactly the sender's length; _mgetsize gives it.
#define ZV_TAG_MSG "msg"
#define ZV_TAG_BCAST_MSG "bcastMsg"
#define ZV_TAG_BFILTER_MSG "bfilterMsg"

// ---- Parameter blocks ------------------------------------------------------

// msgPluginError
typedef struct ZvPluginErrorPrm {
  uint32_t reserved;
  char caption[256];
  char text[256];
} ZvPluginErrorPrm;
ZV_LAYOUT(sizeof(ZvPluginErrorPrm) == 516);
ZV_LAYOUT(offsetof(ZvPluginErrorPrm, caption) == 4);
ZV_LAYOUT(offsetof(ZvPluginErrorPrm, text) == 260);

// msgInOpen
typedef struct ZvInOpenPrm {
  char fileName[260];               // at most 259 characters
  struct ZvStatusRec* status;       // the owner's status record, or null
  const ZvDecoderRec* decoder;      // the decoder to use (`decode` kind), else null
} ZvInOpenPrm;
ZV_LAYOUT_32(sizeof(ZvInOpenPrm) == 268);
ZV_LAYOUT_32(offsetof(ZvInOpenPrm, status) == 260);
ZV_LAYOUT_32(offsetof(ZvInOpenPrm, decoder) == 264);
ZV_LAYOUT_64(sizeof(ZvInOpenPrm) == 280);
ZV_LAYOUT_64(offsetof(ZvInOpenPrm, status) == 264);

// msgInPlay, msgInStop, msgInClose. Fade modes: ZV_FADE_* (zv_playback.h).
typedef struct ZvFadePrm {
  int32_t fadeMs;
  int32_t fadeMode;
} ZvFadePrm;
ZV_LAYOUT(sizeof(ZvFadePrm) == 8);
ZV_LAYOUT(offsetof(ZvFadePrm, fadeMode) == 4);

// msgInSeek
typedef struct ZvSeekPrm {
  int32_t positionMs;
} ZvSeekPrm;
ZV_LAYOUT(sizeof(ZvSeekPrm) == 4);

// msgInSetVideo, msgVisWindow: a window handle (pointer-sized).
typedef struct ZvWindowPrm {
  void* window;
} ZvWindowPrm;
ZV_LAYOUT_32(sizeof(ZvWindowPrm) == 4);
ZV_LAYOUT_64(sizeof(ZvWindowPrm) == 8);

typedef struct ZvRect32 {
  int32_t left, top, right, bottom;
} ZvRect32;
ZV_LAYOUT(sizeof(ZvRect32) == 16);

// msgInSetVideoRect: where to draw in the window, and which part of the picture.
typedef struct ZvVideoRectPrm {
  ZvRect32 target;
  ZvRect32 source;
} ZvVideoRectPrm;
ZV_LAYOUT(sizeof(ZvVideoRectPrm) == 32);
ZV_LAYOUT(offsetof(ZvVideoRectPrm, source) == 16);

// msgInVideoAdjust: picture adjustments, -1000..1000 each (0 = unchanged).
typedef struct ZvVideoAdjustPrm {
  int32_t brightness;
  int32_t contrast;
  int32_t color;
  int32_t reserved[2];  // zero
} ZvVideoAdjustPrm;
ZV_LAYOUT(sizeof(ZvVideoAdjustPrm) == 20);
ZV_LAYOUT(offsetof(ZvVideoAdjustPrm, reserved) == 12);

// msgOpened
typedef struct ZvOpenedPrm {
  uint32_t caps;    // cap* bits
  int32_t width;    // picture size, meaningful only with capVideo
  int32_t height;
  uint32_t reserved;
} ZvOpenedPrm;
ZV_LAYOUT(sizeof(ZvOpenedPrm) == 16);
ZV_LAYOUT(offsetof(ZvOpenedPrm, width) == 4);
ZV_LAYOUT(offsetof(ZvOpenedPrm, height) == 8);

// msgState
typedef struct ZvStatePrm {
  int32_t state;  // st*
} ZvStatePrm;
ZV_LAYOUT(sizeof(ZvStatePrm) == 4);

// msgFileChanged
typedef struct ZvFileChangedPrm {
  char path[260];  // the file, playlist or disc ("CD:\*.m3u", "D:") that changed
} ZvFileChangedPrm;
ZV_LAYOUT(sizeof(ZvFileChangedPrm) == 260);

// ---- Exports -----------------------------------------------------------------

// Builds the kind list: decoder libraries, the five built-in kinds, general
// plug-ins of <base>\plugins, then the supported extensions. Call once, after
// setConfigMode, on the main thread.
ZVEXPORT void ZVAPI initPlugins(void);
// Shuts the output library down, ends every instance (waiting up to 1 s each)
// and empties the kind list. Call last, on the main thread.
ZVEXPORT void ZVAPI freePlugins(void);
// Posts `code` with a copy of `length` bytes of `data` to `target` (0 =
// broadcast to every instance and matching filter); the sender is the calling
// thread's id. Never blocks; a failed post frees its block. Any thread.
ZVEXPORT void ZVAPI pluginMsg(ZvTarget target, uint32_t code, const void* data, int32_t length);
// pluginMsg with an explicit sender (wParam).
ZVEXPORT void ZVAPI pluginMsgFrom(ZvTarget from, ZvTarget target, uint32_t code, const void* data, int32_t length);
// pluginMsg / pluginMsgFrom with an empty block.
ZVEXPORT void ZVAPI pluginMsgX(ZvTarget target, uint32_t code);
ZVEXPORT void ZVAPI pluginMsgFromX(ZvTarget from, ZvTarget target, uint32_t code);
// Copies the whole parameter block of a received bus message to `destination`,
// which must hold at least _mgetsize(block) bytes (the block size the catalogue gives).
ZVEXPORT void ZVAPI getMsgPrm(const struct tagMSG* message, void* destination);
// Frees the parameter block of a received message if its code is a bus code
// (ZV_BUS_FIRST..ZV_BUS_LAST); call it for every message taken from the queue.
ZVEXPORT void ZVAPI finishMsg(const struct tagMSG* message);
// Number of plug-in kinds / of running instances.
ZVEXPORT int32_t ZVAPI pluginCount(void);
ZVEXPORT int32_t ZVAPI instanceCount(void);
// Kind record / instance record by list index; null (and a diagnostic line)
// when out of range. Owned by the engine; valid until freePlugins / stopPlugin.
ZVEXPORT const ZvPluginRec* ZVAPI pluginInfoByNum(int32_t index);
ZVEXPORT const ZvInstanceRec* ZVAPI instanceInfoByNum(int32_t index);
// First kind / instance whose name equals `name` ignoring case; null if none.
ZVEXPORT const ZvPluginRec* ZVAPI pluginInfoByName(const char* name);
ZVEXPORT const ZvInstanceRec* ZVAPI instanceInfoByName(const char* name);
// First instance with this id; null if none.
ZVEXPORT const ZvInstanceRec* ZVAPI instanceInfoById(ZvTarget id);
// Also sends broadcasts of `code` to `target` (a pair registered twice gets two copies).
ZVEXPORT void ZVAPI addBroadcastFilter(ZvTarget target, int32_t code);
// Removes every filter entry of this target and code.
ZVEXPORT void ZVAPI delBroadcastFilter(ZvTarget target, int32_t code);
// Starts an instance of the kind named `name` (ignoring case) for `owner`;
// returns its id, 0 if no kind has that name. Main thread.
ZVEXPORT ZvTarget ZVAPI startPlugin(const char* name, ZvTarget owner);
// Ends an instance (WM_QUIT, then msgPluginQuit) without waiting and frees its
// record; an unknown id does nothing. Main thread.
ZVEXPORT void ZVAPI stopPlugin(ZvTarget id);
// Rebuilds the supported extension list (after "userExt" changed).
ZVEXPORT void ZVAPI reloadSuppExt(void);

#ifdef __cplusplus
}
#endif
