// The CD path parser behind checkCDA. The parser takes the drive probe as an
// argument so that the drive forms (kinds 4 and 5) can be exercised without
// an audio CD in a drive.
#pragma once
#include <cstddef>
#include <cstdint>

#include "zv_cdaudio.h"

namespace zv {

struct CdPath {
  uint32_t kind = cdaNone;
  char drive = 0;
  uint32_t discId = 0;
  int32_t track = -1;
};

// Whether drive `letter` is a CD-ROM drive holding an audio disc.
using AudioCdProbe = bool (*)(char letter);

// The real probe: drive type CD-ROM and volume label "Audio CD".
bool isAudioCdDrive(char letter);

namespace cdpath {

// Up to eight hexadecimal digits read as a number; anything else gives 0.
uint32_t hexId(const char* text, size_t length);

// The track from a file name: the text from its first to its last digit,
// read as a decimal number, minus one; -1 without digits.
int32_t trackFromName(const char* name);

// The part behind the last '\'.
const char* fileName(const char* path);

}  // namespace cdpath

// The kind of CD location `path` is, with its drive, disc id and track;
// `probe` answers for the drive forms.
CdPath parseCdPath(const char* path, AudioCdProbe probe);

}  // namespace zv
