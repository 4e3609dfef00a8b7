// MPEG audio frame headers (MPEG-1, 2 and 2.5, layers I-III): enough to tell
// by content whether a file is MPEG audio and where its first frame starts,
// without handing other formats to the decoder library.
#pragma once
#include <cstddef>
#include <cstdint>

namespace mp3 {

struct FrameHeader {
  int version = 0;     // 10 = MPEG-1, 20 = MPEG-2, 25 = MPEG-2.5
  int layer = 0;       // 1..3
  int bitrateKbps = 0;
  int rate = 0;
  int channels = 0;
  int frameBytes = 0;
};

// Decodes the four header bytes at p; false for anything that is not a
// usable header (free format, reserved values).
bool parseFrameHeader(const uint8_t* p, FrameHeader& h);

// Size of the ID3v2 tag(s) at the start of data (0 if none).
size_t id3v2Size(const uint8_t* data, size_t size);

// Offset of the first frame that starts a chain of consecutive frames of one
// stream (three, or fewer when they end exactly at the end of the data), or
// -1 if the data holds none. `complete` says the data is the whole file.
long findFirstFrame(const uint8_t* data, size_t size, bool complete);

}  // namespace mp3
