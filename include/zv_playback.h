// Decoders and playback control of zvengine.dll.
// The owner (the player's main window) opens a file with inOpen: the engine
// tries the input kinds in order of how well their extensions match, one
// instance at a time, and the instance answers with msgOpened or
// msgOpenFailed (then call stopPlugin and inOpenNext). Control calls post one
// message to the instance and return at once; results come back as messages.
// All of these run on the owner's thread (checkFile and fsControl: any thread).
#pragma once
#include "zv_plugins.h"

#ifdef __cplusplus
extern "C" {
#endif

// Written by the playing instance's thread, read by the owner without a lock
// (aligned 32-bit words). Owned by the caller of inOpen; it must stay valid
// until the instance sent msgClosed.
typedef struct ZvStatusRec {
  int32_t positionMs;  // updated every 100 ms while playing, and at stops and seeks
  int32_t lengthMs;    // set when the file opens
  int32_t state;       // st* (zv_plugins.h)
  int32_t sampleRate;  // Hz, by kinds that know it (`decode` writes only the first three fields)
  int32_t bits;        // bits per sample
  int32_t channels;
  int32_t bitrate;     // bits per second
} ZvStatusRec;
ZV_LAYOUT(sizeof(ZvStatusRec) == 28);
ZV_LAYOUT(offsetof(ZvStatusRec, lengthMs) == 4);
ZV_LAYOUT(offsetof(ZvStatusRec, state) == 8);
ZV_LAYOUT(offsetof(ZvStatusRec, sampleRate) == 12);
ZV_LAYOUT(offsetof(ZvStatusRec, bits) == 16);
ZV_LAYOUT(offsetof(ZvStatusRec, channels) == 20);
ZV_LAYOUT(offsetof(ZvStatusRec, bitrate) == 24);

// The status record a player provides for instances that show pictures: they
// keep five more words after the seven above.
typedef struct ZvVideoStatusRec {
  ZvStatusRec audio;
  int32_t frameRate;       // [7] frames per second x 100 (shown second in "FPS: a/b")
  int32_t videoKbps;       // [8] video bit rate, kilobits per second
  int32_t frameRate2;      // [9] frames per second x 100 (shown first)
  int32_t droppedPercent;  // [10] dropped frames in percent
  int32_t syncOffsetMs;    // [11] synchronisation offset
} ZvVideoStatusRec;
ZV_LAYOUT(sizeof(ZvVideoStatusRec) == 48);
ZV_LAYOUT(offsetof(ZvVideoStatusRec, frameRate) == 28);
ZV_LAYOUT(offsetof(ZvVideoStatusRec, syncOffsetMs) == 44);

// An open attempt (allocation tag "openContext"), created by inOpen and freed by
// inOpenNext when no candidate is left. Callers only keep the pointer.
typedef struct ZvOpenContext {
  char* fileName;             // engine string
  ZvTarget owner;
  ZvStatusRec* status;        // may be null
  int32_t next;               // index of the next candidate
  void* candidates;           // hStrList (zv_containers.h) whose objects are kind or decoder records
} ZvOpenContext;
ZV_LAYOUT_32(sizeof(ZvOpenContext) == 20);
ZV_LAYOUT_32(offsetof(ZvOpenContext, owner) == 4);
ZV_LAYOUT_32(offsetof(ZvOpenContext, status) == 8);
ZV_LAYOUT_32(offsetof(ZvOpenContext, next) == 12);
ZV_LAYOUT_32(offsetof(ZvOpenContext, candidates) == 16);
ZV_LAYOUT_64(sizeof(ZvOpenContext) == 40);

// Fade modes of inPlay, inStop and inClose (the output library's). Macros with
// the same values as zvdsp.h's, so both headers may be included together.
#define ZV_FADE_LINEAR 0
#define ZV_FADE_EXPONENTIAL 1
#define ZV_FADE_LINEAR_NO_FADE_IN 2
#define ZV_FADE_EXPONENTIAL_NO_FADE_IN 3

// How items are put into the current playlist: by the command line, the
// hand-over from a second copy, the open commands and drag and drop.
typedef uint32_t OpenMode;
enum {
  ZV_OPEN_NEW_PLAYLIST = 0,  // no bit: a new playlist
  ZV_OPEN_ADD = 1,
  ZV_OPEN_PLAY = 2,     // start playing
  ZV_OPEN_FIND = 4,     // find items already present
  ZV_OPEN_REPLACE = 8
};

// Number of decoder records (decoder libraries loaded by initPlugins).
ZVEXPORT int32_t ZVAPI decoderCount(void);
// Decoder record by index, 0 <= index < decoderCount(); owned by the engine.
ZVEXPORT const ZvDecoderRec* ZVAPI decoderInfoByNum(int32_t index);
// Starts opening `fileName` for `owner`: stores a new context through
// `context` and sends the file to the first accepting input kind. Returns that
// instance's id, or 0 (no kind took it; the context is then freed and null).
ZVEXPORT ZvTarget ZVAPI inOpen(const char* fileName, ZvTarget owner, ZvStatusRec* status, ZvOpenContext** context);
// After msgOpenFailed (and stopPlugin): tries the next candidate. Returns its
// instance id, or 0 with the context freed and *context null (also for a null context).
ZVEXPORT ZvTarget ZVAPI inOpenNext(ZvOpenContext** context);
// Posts msgInPlay / msgInStop / msgInClose with a fade length (0 = none) and ZV_FADE_* mode.
ZVEXPORT void ZVAPI inPlay(ZvTarget id, int32_t fadeMs, int32_t fadeMode);
ZVEXPORT void ZVAPI inStop(ZvTarget id, int32_t fadeMs, int32_t fadeMode);
ZVEXPORT void ZVAPI inClose(ZvTarget id, int32_t fadeMs, int32_t fadeMode);
// Posts msgInSeek.
ZVEXPORT void ZVAPI inSeek(ZvTarget id, int32_t positionMs);
// Posts msgInSetVideo with the window that shows the pictures.
ZVEXPORT void ZVAPI inSetVideo(ZvTarget id, void* window);
// Posts msgInSetVideoRect: the target rectangle in the window, then the source
// rectangle of the picture (left, top, right, bottom each).
ZVEXPORT void ZVAPI inSetVideoRect(ZvTarget id, int32_t targetLeft, int32_t targetTop, int32_t targetRight,
                                   int32_t targetBottom, int32_t sourceLeft, int32_t sourceTop,
                                   int32_t sourceRight, int32_t sourceBottom);
// Asks the input kinds and decoders about a file (fileName and request set by
// the caller). 0 = answered (fields filled), 9 = nobody answered, else the
// answering plug-in's error. Playlists and directories give 9. Any thread.
ZVEXPORT int32_t ZVAPI checkFile(ZvFileCheckRec* rec);
// Offers a file-system request to the plug-ins (not decoders) in list order.
// 0 = done, 9 = nobody handled it, else an error. Any thread.
ZVEXPORT int32_t ZVAPI fsControl(ZvFsRequest* rec);

#ifdef __cplusplus
}
#endif
