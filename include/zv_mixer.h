// Mixer of zvengine.dll: a thin layer over the Windows mixer of the output
// library's wave-out device. Line and control ids are the mixer API's ids,
// -1 meaning "not found"; volumes are 0..65535, balance -100..100. Changes made
// anywhere (the system's own volume control too) are broadcast as
// msgMixerChange. All calls from the main thread, which owns the hidden
// notification window.
#pragma once
#include "zv_plugins.h"

#ifdef __cplusplus
extern "C" {
#endif

// msgMixerChange
typedef struct ZvMixerChangePrm {
  int32_t controlId;
  int32_t volume;   // 0..65535
  int32_t balance;  // always 0: the mixer is driven as one uniform channel
  ZvBool mute;      // -1 or 0
} ZvMixerChangePrm;
ZV_LAYOUT(sizeof(ZvMixerChangePrm) == 16);
ZV_LAYOUT(offsetof(ZvMixerChangePrm, volume) == 4);
ZV_LAYOUT(offsetof(ZvMixerChangePrm, balance) == 8);
ZV_LAYOUT(offsetof(ZvMixerChangePrm, mute) == 12);

// Opens the mixer of the output device (closing an open one first). 0 on
// success, else the mixer API's error code.
ZVEXPORT int32_t ZVAPI openMixer(void);
// Closes the mixer and its notification window, if open.
ZVEXPORT void ZVAPI closeMixer(void);
// The line id of a line component type (MIXERLINE_COMPONENTTYPE_*), or -1.
ZVEXPORT int32_t ZVAPI findLine(uint32_t componentType);
// The id of the line's control of a control type (MIXERCONTROL_CONTROLTYPE_*), or -1.
ZVEXPORT int32_t ZVAPI findCtl(int32_t lineId, uint32_t controlType);
// Reads a volume control: 0..65535 and balance 0; 65535 and 0 when the query fails.
ZVEXPORT void ZVAPI getVolume(int32_t controlId, int32_t* volume, int32_t* balance);
// Sets a volume control (clamped to 0..65535; the balance, clamped to
// -100..100, has no effect). Returns the mixer API's result.
ZVEXPORT int32_t ZVAPI setVolume(int32_t controlId, int32_t volume, int32_t balance);
// -1 when muted or when the query fails, 0 when not muted.
ZVEXPORT ZvBool ZVAPI getMute(int32_t controlId);
// Sets a mute control (any nonzero = muted). Returns the mixer API's result.
ZVEXPORT int32_t ZVAPI setMute(int32_t controlId, ZvBool mute);

#ifdef __cplusplus
}
#endif
