// The interface between zvengine.dll and its plug-in libraries: decoder
// libraries ("*.dec") and general plug-ins ("*.z", "*.zz", "*.zzz"), all in
// <base>\plugins. Outside authors build against this header with any
// compiler, so it is plain C and every record is fixed byte by byte.
//
// Every entry point takes one pointer to a record and returns an int32:
// ZV_PLUGIN_DONE (0) on success, ZV_PLUGIN_NOT_MINE (9) when the file or the
// request is not this library's (the engine then asks the next library), any
// other value is a failure. Texts are zero-terminated, in the system code
// page. Entry points are __stdcall and exported under their plain names
// (comPluginInfo, not comPluginInfo@4): the engine looks them up by name.
//
// The layouts are fixed for the 32-bit build. Fields that hold addresses or
// handles are pointer-sized, so they widen on x86_64 and the records grow
// there (ZV_LAYOUT_32 checks the 32-bit sizes, ZV_LAYOUT_64 the x86_64 ones).
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

// Results of every plug-in entry point (and of checkFile and fsControl).
enum {
  ZV_PLUGIN_DONE = 0,
  ZV_PLUGIN_NOT_MINE = 9
};

// Where messages go: a thread id or a window handle (the bus tries the thread
// first). Instance ids, owners and senders are all of this type; it is
// pointer-sized so that a window handle survives on x86_64.
typedef uintptr_t ZvTarget;

// A decoder's own handle for one open file, opaque to the engine. Pointer-sized
// so a library may keep a pointer in it.
typedef uintptr_t ZvDecHandle;

// The interface version the engine puts into every init block.
enum { ZV_INTERFACE_VERSION = 2050 };

// ---- Records passed to the entry points ----------------------------------

// Filled by comPluginInfo.
typedef struct ZvPluginInfoBlock {
  char description[256];  // display text
  uint32_t kindFlags;     // pf* flags (zv_plugins.h); ignored for decoder libraries
} ZvPluginInfoBlock;
ZV_LAYOUT(sizeof(ZvPluginInfoBlock) == 260);
ZV_LAYOUT(offsetof(ZvPluginInfoBlock, kindFlags) == 256);

// Filled by inPluginInfo.
typedef struct ZvInputInfoBlock {
  char extensions[4096];  // comma-separated, each with its dot: ".wav,.au"
  char extra[4096];       // kept by the engine, never read
  uint8_t infoTail[16];   // kept by the engine, never read
} ZvInputInfoBlock;
ZV_LAYOUT(sizeof(ZvInputInfoBlock) == 8208);
ZV_LAYOUT(offsetof(ZvInputInfoBlock, extra) == 4096);
ZV_LAYOUT(offsetof(ZvInputInfoBlock, infoTail) == 8192);

// Passed to comInit, which starts an instance of a general plug-in kind.
typedef struct ZvInitBlock {
  void* engineModule;         // module handle of zvengine.dll
  ZvTarget owner;             // the owner given to startPlugin
  void* kindModule;           // the plug-in library's module handle
  uint32_t interfaceVersion;  // ZV_INTERFACE_VERSION
  ZvTarget instanceId;        // out: where the instance takes its messages
  void* threadHandle;         // out: the instance's thread handle (0 if none)
} ZvInitBlock;
ZV_LAYOUT_32(sizeof(ZvInitBlock) == 24);
ZV_LAYOUT_32(offsetof(ZvInitBlock, owner) == 4);
ZV_LAYOUT_32(offsetof(ZvInitBlock, kindModule) == 8);
ZV_LAYOUT_32(offsetof(ZvInitBlock, interfaceVersion) == 12);
ZV_LAYOUT_32(offsetof(ZvInitBlock, instanceId) == 16);
ZV_LAYOUT_32(offsetof(ZvInitBlock, threadHandle) == 20);
ZV_LAYOUT_64(sizeof(ZvInitBlock) == 48);
ZV_LAYOUT_64(offsetof(ZvInitBlock, instanceId) == 32);

// Requests of a file check (bits of ZvFileCheckRec.request); several may be
// set together and a library fills what it can.
enum {
  ZV_CHECK_PLAYABLE = 0x01,     // answer 0 only if the library can decode the file
  ZV_CHECK_TYPE_NAME = 0x04,    // typeName
  ZV_CHECK_INFO_TEXT = 0x08,    // infoText and infoFixedPitch
  ZV_CHECK_TAG_TEXT = 0x40,     // tagText
  ZV_CHECK_LENGTH = 0x80,       // lengthMs
  ZV_CHECK_FORMAT_TEXT = 0x100, // formatText
  ZV_CHECK_DESCRIPTION = 0x200  // description
};
// ZvFileCheckRec.resultFlags: the engine adds this when a decoder library
// answered (the file plays through an output stream, so it can cross-fade).
enum { ZV_CHECK_BY_DECODER = 0x04 };
// ZvFileCheckRec.cacheFlags: the answers must not be cached (e.g. a disc).
enum { ZV_CHECK_NO_CACHE = 0x01 };

// Passed to inCheckFile; the caller zero-fills it and sets fileName and
// request before each call.
typedef struct ZvFileCheckRec {
  const char* fileName;     // the file to examine
  uint32_t request;         // ZV_CHECK_* bits
  uint32_t resultFlags;     // out; ZV_CHECK_BY_DECODER added by the engine
  char typeName[256];       // out for ZV_CHECK_TYPE_NAME: name of the file type
  char infoText[4096];      // out for ZV_CHECK_INFO_TEXT: lines separated by "\n"
  char description[4096];   // out for ZV_CHECK_DESCRIPTION: display title
  char tagText[256];        // out for ZV_CHECK_TAG_TEXT: "name=value" lines
  char formatText[256];     // out for ZV_CHECK_FORMAT_TEXT: short format text
  uint32_t infoFixedPitch;  // out with infoText: nonzero = show in a fixed-pitch OEM font
  uint32_t lengthMs;        // out for ZV_CHECK_LENGTH: play length
  uint32_t cacheFlags;      // out; ZV_CHECK_NO_CACHE
} ZvFileCheckRec;
ZV_LAYOUT_32(sizeof(ZvFileCheckRec) == 8984);
ZV_LAYOUT_32(offsetof(ZvFileCheckRec, request) == 4);
ZV_LAYOUT_32(offsetof(ZvFileCheckRec, resultFlags) == 8);
ZV_LAYOUT_32(offsetof(ZvFileCheckRec, typeName) == 12);
ZV_LAYOUT_32(offsetof(ZvFileCheckRec, infoText) == 268);
ZV_LAYOUT_32(offsetof(ZvFileCheckRec, description) == 4364);
ZV_LAYOUT_32(offsetof(ZvFileCheckRec, tagText) == 8460);
ZV_LAYOUT_32(offsetof(ZvFileCheckRec, formatText) == 8716);
ZV_LAYOUT_32(offsetof(ZvFileCheckRec, infoFixedPitch) == 8972);
ZV_LAYOUT_32(offsetof(ZvFileCheckRec, lengthMs) == 8976);
ZV_LAYOUT_32(offsetof(ZvFileCheckRec, cacheFlags) == 8980);
ZV_LAYOUT_64(sizeof(ZvFileCheckRec) == 8992);
ZV_LAYOUT_64(offsetof(ZvFileCheckRec, typeName) == 16);
ZV_LAYOUT_64(offsetof(ZvFileCheckRec, cacheFlags) == 8984);

// ZvDecOpenRec.flags
enum {
  ZV_DEC_PREFER_FLOAT = 0x01,  // in: the user prefers floating-point decoding ("PreferFP")
  ZV_DEC_CANNOT_SEEK = 0x02    // out: the file cannot seek
};

// Passed to decOpen.
typedef struct ZvDecOpenRec {
  const char* fileName;  // in
  int32_t lengthMs;      // out: play length
  ZvDecHandle handle;    // out: the library's handle for this file
  uint32_t flags;        // in/out: ZV_DEC_*
  int32_t sampleRate;    // in: Hz that all data must have
  int32_t reserved[2];   // zero
} ZvDecOpenRec;
ZV_LAYOUT_32(sizeof(ZvDecOpenRec) == 28);
ZV_LAYOUT_32(offsetof(ZvDecOpenRec, lengthMs) == 4);
ZV_LAYOUT_32(offsetof(ZvDecOpenRec, handle) == 8);
ZV_LAYOUT_32(offsetof(ZvDecOpenRec, flags) == 12);
ZV_LAYOUT_32(offsetof(ZvDecOpenRec, sampleRate) == 16);
ZV_LAYOUT_32(offsetof(ZvDecOpenRec, reserved) == 20);
ZV_LAYOUT_64(sizeof(ZvDecOpenRec) == 40);
ZV_LAYOUT_64(offsetof(ZvDecOpenRec, handle) == 16);
ZV_LAYOUT_64(offsetof(ZvDecOpenRec, flags) == 24);

// The value the engine always puts into ZvDecReadRec.fixed1024.
enum { ZV_DEC_READ_CONSTANT = 1024 };

// Passed to decRead. rate, bits and channels give the format the data must
// have (the output library's parameters); the library converts if needed.
typedef struct ZvDecReadRec {
  ZvDecHandle handle;
  void* buffer;        // where to write interleaved PCM
  int32_t fixed1024;   // always ZV_DEC_READ_CONSTANT
  int32_t frames;      // in: buffer capacity in frames; out: frames written
  int32_t sampleRate;  // Hz
  int32_t bits;        // bits per sample
  int32_t channels;
} ZvDecReadRec;
ZV_LAYOUT_32(sizeof(ZvDecReadRec) == 28);
ZV_LAYOUT_32(offsetof(ZvDecReadRec, buffer) == 4);
ZV_LAYOUT_32(offsetof(ZvDecReadRec, fixed1024) == 8);
ZV_LAYOUT_32(offsetof(ZvDecReadRec, frames) == 12);
ZV_LAYOUT_32(offsetof(ZvDecReadRec, sampleRate) == 16);
ZV_LAYOUT_32(offsetof(ZvDecReadRec, bits) == 20);
ZV_LAYOUT_32(offsetof(ZvDecReadRec, channels) == 24);
ZV_LAYOUT_64(sizeof(ZvDecReadRec) == 40);
ZV_LAYOUT_64(offsetof(ZvDecReadRec, fixed1024) == 16);

// Passed to decSeek.
typedef struct ZvDecSeekRec {
  ZvDecHandle handle;
  int32_t positionMs;
} ZvDecSeekRec;
ZV_LAYOUT_32(sizeof(ZvDecSeekRec) == 8);
ZV_LAYOUT_32(offsetof(ZvDecSeekRec, positionMs) == 4);
ZV_LAYOUT_64(sizeof(ZvDecSeekRec) == 16);

// Passed to decClose.
typedef struct ZvDecCloseRec {
  ZvDecHandle handle;
} ZvDecCloseRec;
ZV_LAYOUT_32(sizeof(ZvDecCloseRec) == 4);
ZV_LAYOUT_64(sizeof(ZvDecCloseRec) == 8);

// Passed to comConfig by the player's settings.
typedef struct ZvConfigRec {
  void* parentWindow;
} ZvConfigRec;
ZV_LAYOUT_32(sizeof(ZvConfigRec) == 4);
ZV_LAYOUT_64(sizeof(ZvConfigRec) == 8);

// ZvFsRequest.operation
enum {
  ZV_FS_GET_DESC = 1,       // give the description of path into text
  ZV_FS_SET_DESC = 2,       // store text as the description of path
  ZV_FS_LOAD_PLAYLIST = 3,  // load the playlist at path into playlist
  ZV_FS_SAVE_PLAYLIST = 4,  // save playlist to path
  ZV_FS_CACHE_DIR = 5       // give the information-cache folder for path into cachePath
};

// Passed to fsControl: a file-system request that a plug-in may take over
// (how audio CDs appear as playlists, for instance).
typedef struct ZvFsRequest {
  const char* path;    // the file, disc or playlist concerned
  uint32_t operation;  // ZV_FS_*
  void* playlist;      // Playlist handle (zv_playlist.h) for operations 3 and 4
  char text[256];      // description: out for 1, in for 2 (else zero-filled)
  char cachePath[260]; // out for 5
  int32_t options;     // in/out: the flags word of plLoad / plSave
} ZvFsRequest;
ZV_LAYOUT_32(sizeof(ZvFsRequest) == 532);
ZV_LAYOUT_32(offsetof(ZvFsRequest, operation) == 4);
ZV_LAYOUT_32(offsetof(ZvFsRequest, playlist) == 8);
ZV_LAYOUT_32(offsetof(ZvFsRequest, text) == 12);
ZV_LAYOUT_32(offsetof(ZvFsRequest, cachePath) == 268);
ZV_LAYOUT_32(offsetof(ZvFsRequest, options) == 528);
ZV_LAYOUT_64(sizeof(ZvFsRequest) == 544);
ZV_LAYOUT_64(offsetof(ZvFsRequest, text) == 24);

// ---- Entry points, looked up by these names ------------------------------
// General plug-ins: comInit and comPluginInfo are required (a library lacking
// either is reported as not valid and skipped); the others may be absent.
// Decoder libraries: comPluginInfo is required; inPluginInfo, inCheckFile and
// comConfig may be absent. decOpen, decRead, decSeek and decClose are looked
// up by name each time a file opens: a library that plays files exports all
// four. comInit and comErrorString are looked up but never called for decoder
// libraries.

// comInit: start one instance (a thread or a window of the plug-in's own)
// and write its id and thread handle into the block. Called by startPlugin on
// the caller's thread. Result ignored. General plug-ins only.
typedef int32_t(ZVAPI* ZvComInitFn)(ZvInitBlock* init);
// comPluginInfo: fill description and kind flags. Called once when the engine
// builds its lists (initPlugins). Required.
typedef int32_t(ZVAPI* ZvComPluginInfoFn)(ZvPluginInfoBlock* info);
// comConfig: show the library's own settings dialog over the parent window.
// Called from the player's settings on its main thread. Result ignored. May be absent.
typedef int32_t(ZVAPI* ZvComConfigFn)(ZvConfigRec* config);
// comErrorString: stored, never called by the engine; the record is the
// library's own. May be absent.
typedef int32_t(ZVAPI* ZvComErrorStringFn)(void* record);
// inPluginInfo: fill the extension list. Called once after comPluginInfo.
// May be absent (the library then has no extensions but is still asked).
typedef int32_t(ZVAPI* ZvInPluginInfoFn)(ZvInputInfoBlock* info);
// inCheckFile: answer the requests of the record for its file, or
// ZV_PLUGIN_NOT_MINE. Called on any thread (the player's, the file scanner's),
// possibly at the same time for different files. May be absent.
typedef int32_t(ZVAPI* ZvInCheckFileFn)(ZvFileCheckRec* rec);
// fsControl: take over a file-system request, or ZV_PLUGIN_NOT_MINE. Called on
// any engine thread. General plug-ins only; may be absent.
typedef int32_t(ZVAPI* ZvFsControlFn)(ZvFsRequest* rec);
// decOpen: open the file for decoding and return a handle. Called on the
// playing instance's thread, which alone uses that handle afterwards; one
// library serves several files at once, so keep all state per handle.
typedef int32_t(ZVAPI* ZvDecOpenFn)(ZvDecOpenRec* rec);
// decRead: write up to `frames` frames. 0 with frames > 0: data delivered;
// 0 with frames == 0: nothing yet (called again at once); nonzero: end of file.
typedef int32_t(ZVAPI* ZvDecReadFn)(ZvDecReadRec* rec);
// decSeek: move to the position. Result ignored.
typedef int32_t(ZVAPI* ZvDecSeekFn)(ZvDecSeekRec* rec);
// decClose: release the handle. Result ignored; called once per successful open.
typedef int32_t(ZVAPI* ZvDecCloseFn)(ZvDecCloseRec* rec);

// ---- The engine's record of a plug-in library -----------------------------
// One per general plug-in kind (allocation tag "pluginRec"), per decoder
// library ("decRec") and per running instance ("instanceRec"; a copy of its
// kind's record with threadId and threadHandle filled). Owned by the engine's
// lists; callers only read it.
typedef struct ZvPluginRec {
  char name[64];          // kind name, lower case; empty for decoder records
  char fileName[260];     // library file name without folder; empty for built-in kinds
  char description[256];  // from comPluginInfo
  uint32_t kindFlags;     // pf* flags (zv_plugins.h); pfDecoder for decoder records
  ZvTarget threadId;      // 0 in kind records; the instance id in instance records
  void* module;           // library module handle; 0 for built-in kinds
  void* threadHandle;     // 0 in kind records; the instance's thread handle
  char extensions[4096];  // from inPluginInfo, comma-separated
  char extra[4096];       // from inPluginInfo, not interpreted
  ZvComInitFn comInit;    // entry points; null where the library lacks one
  ZvComPluginInfoFn comPluginInfo;
  ZvComConfigFn comConfig;
  ZvComErrorStringFn comErrorString;
  ZvInPluginInfoFn inPluginInfo;
  ZvInCheckFileFn inCheckFile;
  ZvFsControlFn fsControl;  // always null in decoder records
  uint8_t infoTail[16];     // from inPluginInfo, not interpreted
} ZvPluginRec;
typedef ZvPluginRec ZvDecoderRec;
ZV_LAYOUT_32(sizeof(ZvPluginRec) == 8832);
ZV_LAYOUT(offsetof(ZvPluginRec, fileName) == 64);
ZV_LAYOUT(offsetof(ZvPluginRec, description) == 324);
ZV_LAYOUT(offsetof(ZvPluginRec, kindFlags) == 580);
ZV_LAYOUT(offsetof(ZvPluginRec, threadId) == 584);
ZV_LAYOUT_32(offsetof(ZvPluginRec, module) == 588);
ZV_LAYOUT_32(offsetof(ZvPluginRec, threadHandle) == 592);
ZV_LAYOUT_32(offsetof(ZvPluginRec, extensions) == 596);
ZV_LAYOUT_32(offsetof(ZvPluginRec, extra) == 4692);
ZV_LAYOUT_32(offsetof(ZvPluginRec, comInit) == 8788);
ZV_LAYOUT_32(offsetof(ZvPluginRec, comPluginInfo) == 8792);
ZV_LAYOUT_32(offsetof(ZvPluginRec, comConfig) == 8796);
ZV_LAYOUT_32(offsetof(ZvPluginRec, comErrorString) == 8800);
ZV_LAYOUT_32(offsetof(ZvPluginRec, inPluginInfo) == 8804);
ZV_LAYOUT_32(offsetof(ZvPluginRec, inCheckFile) == 8808);
ZV_LAYOUT_32(offsetof(ZvPluginRec, fsControl) == 8812);
ZV_LAYOUT_32(offsetof(ZvPluginRec, infoTail) == 8816);
ZV_LAYOUT_64(sizeof(ZvPluginRec) == 8872);
ZV_LAYOUT_64(offsetof(ZvPluginRec, extensions) == 608);
ZV_LAYOUT_64(offsetof(ZvPluginRec, comInit) == 8800);
ZV_LAYOUT_64(offsetof(ZvPluginRec, infoTail) == 8856);

#ifdef __cplusplus
}
#endif
