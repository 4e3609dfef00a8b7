// CD database client of zvengine.dll: one xmcd text file per disc
// ("<cddbDir>\%8.8X.cdb", default folder <base>\cddb) addressed by the CDDB
// disc id, read into and written from a caller-owned info record. No network
// code: missing titles may come from "cdplayer.ini" and the optional title
// library "zvwcd.dll". Calls run synchronously on the caller's thread.
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
  ZV_CDDB_MAX_TRACKS = 256,
  ZV_CDDB_TEXT = 80,     // text fields hold at most 79 characters
  ZV_CDDB_FRAMES_PER_SECOND = 75
};

// A disc's database entry. Owned by the caller (usually on its stack); filled
// by cddbGetInfo or cddbCreateInfo. The pointer fields are engine texts
// (_stralloc) or null; cddbFreeInfo frees them, so set them only to engine
// blocks. Pointers widen on x86_64.
typedef struct ZvCddbInfo {
  uint32_t discId;
  int32_t trackCount;                         // highest track index seen + 1
  int32_t frameOffsets[ZV_CDDB_MAX_TRACKS];   // track starts, 1/75 s frames from the disc start
  int32_t leadOut;                            // frame offset of the lead-out
  int32_t discLengthSeconds;
  int32_t revision;
  char submittedVia[ZV_CDDB_TEXT];
  char discTitle[ZV_CDDB_TEXT];               // by convention "artist / title"
  char* extendedDisc;                         // or null
  int32_t playOrderCount;                     // 0 = track order
  int32_t playOrder[ZV_CDDB_MAX_TRACKS];      // track indices from 0
  char* trackTitles[ZV_CDDB_MAX_TRACKS];      // or null
  char* extendedTracks[ZV_CDDB_MAX_TRACKS];   // or null
  char mciId[16];                             // MCI media identity, hexadecimal
} ZvCddbInfo;
ZV_LAYOUT_32(sizeof(ZvCddbInfo) == 4300);
ZV_LAYOUT(offsetof(ZvCddbInfo, trackCount) == 4);
ZV_LAYOUT(offsetof(ZvCddbInfo, frameOffsets) == 8);
ZV_LAYOUT(offsetof(ZvCddbInfo, leadOut) == 1032);
ZV_LAYOUT(offsetof(ZvCddbInfo, discLengthSeconds) == 1036);
ZV_LAYOUT(offsetof(ZvCddbInfo, revision) == 1040);
ZV_LAYOUT(offsetof(ZvCddbInfo, submittedVia) == 1044);
ZV_LAYOUT(offsetof(ZvCddbInfo, discTitle) == 1124);
ZV_LAYOUT_32(offsetof(ZvCddbInfo, extendedDisc) == 1204);
ZV_LAYOUT_64(offsetof(ZvCddbInfo, extendedDisc) == 1208);
ZV_LAYOUT_32(offsetof(ZvCddbInfo, playOrderCount) == 1208);
ZV_LAYOUT_32(offsetof(ZvCddbInfo, playOrder) == 1212);
ZV_LAYOUT_32(offsetof(ZvCddbInfo, trackTitles) == 2236);
ZV_LAYOUT_32(offsetof(ZvCddbInfo, extendedTracks) == 3260);
ZV_LAYOUT_32(offsetof(ZvCddbInfo, mciId) == 4284);
ZV_LAYOUT_64(sizeof(ZvCddbInfo) == 6360);
ZV_LAYOUT_64(offsetof(ZvCddbInfo, trackTitles) == 2248);
ZV_LAYOUT_64(offsetof(ZvCddbInfo, mciId) == 6344);

// The CDDB disc id of the disc in drive `drive` ('D'); 0 when it cannot be read.
ZVEXPORT uint32_t ZVAPI cddbId(char drive);
// Reads the disc's database file into `info` (cleared first; the disc id is
// set even on failure). False when the file cannot be read. On success free
// the texts with cddbFreeInfo.
ZVEXPORT ZvBool ZVAPI cddbGetInfo(uint32_t discId, ZvCddbInfo* info);
// Writes the database file with a revision one above both the record's and
// the stored file's, creating the folder if needed and replacing the file
// only once the new one is complete; false when writing fails.
ZVEXPORT ZvBool ZVAPI cddbSetInfo(uint32_t discId, const ZvCddbInfo* info);
// Builds `info` from the disc in the drive and fills titles (cddbQueryInfo);
// false when the drive cannot be read. On success free with cddbFreeInfo.
ZVEXPORT ZvBool ZVAPI cddbCreateInfo(char drive, ZvCddbInfo* info);
// Fills disc and track titles from "cdplayer.ini" in the Windows folder (section:
// the record's mciId) and from the title library zvwcd.dll when it loads; true.
ZVEXPORT ZvBool ZVAPI cddbQueryInfo(uint32_t discId, ZvCddbInfo* info);
// Frees the record's engine texts and nulls them; the record itself stays the caller's.
ZVEXPORT void ZVAPI cddbFreeInfo(ZvCddbInfo* info);
// Announces changed data of a disc: msgFileChanged and fresh descriptions for
// "CD:\%8.8X.m3u" and for the drive holding it.
ZVEXPORT void ZVAPI cddbChangeNotify(uint32_t discId);

#ifdef __cplusplus
}
#endif
