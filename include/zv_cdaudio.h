// Audio CD paths and disc identity of zvengine.dll. CD locations are the
// pseudo-paths "CD:\*.m3u" (every known disc), "CD:\<disc id>.m3u" (one known
// disc), "CD:\<disc id>\trackNN.cda" (a track of a known disc), and on a
// CD-ROM drive holding an audio disc its root "D:\" and its "D:\trackNN.cda"
// files. The built-in "cdaudio" plug-in kind plays tracks through MCI.
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

// Kinds of CD path, as checkCDA reports them.
enum {
  cdaNone = 0,
  cdaDiscList = 1,   // "CD:\*.m3u"
  cdaKnownDisc = 2,  // "CD:\8A09BC0B.m3u"
  cdaKnownTrack = 3, // "CD:\8A09BC0B\track03.cda"
  cdaDriveDisc = 4,  // "D:\" or "D:" with an audio disc
  cdaDriveTrack = 5  // "D:\track03.cda" with an audio disc
};

// Data of msgDiscChange (21 bytes, packed): a drive's disc changed.
#pragma pack(push, 1)
typedef struct ZvDiscChange {
  char drive;         // drive letter
  int32_t present;    // -1 when a disc is in the drive, else 0
  char identity[16];  // MCI media identity in hexadecimal, "" without disc
} ZvDiscChange;
#pragma pack(pop)
ZV_LAYOUT(sizeof(ZvDiscChange) == 21);
ZV_LAYOUT(offsetof(ZvDiscChange, present) == 1);
ZV_LAYOUT(offsetof(ZvDiscChange, identity) == 5);

// Recognises a CD path. Returns -1 with kind 1..5, else 0 with kind 0. The
// drive letter is set for kinds 4 and 5 (else 0), the disc id for kinds 2
// and 3 (else 0), the zero-based track for kinds 3 and 5 (else -1). Any out
// pointer may be null. Kinds 4 and 5 ask the drive. Any thread.
ZVEXPORT ZvBool ZVAPI checkCDA(const char* path, uint32_t* kind, char* drive, uint32_t* discId, int32_t* track);
// As checkCDA; for kinds 4 and 5 the disc id is that of the disc in the drive
// (cddbId). Any thread.
ZVEXPORT ZvBool ZVAPI decodeCDA(const char* path, uint32_t* kind, char* drive, uint32_t* discId, int32_t* track);
// Writes the media identity of the disc in drive `letter` in hexadecimal to
// `out` (at least 16 bytes); "" when the drive cannot be opened or asked.
ZVEXPORT void ZVAPI getCDId(char letter, char* out);

#ifdef __cplusplus
}
#endif
