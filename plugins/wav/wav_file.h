// Reading the layout of a RIFF WAVE file: its format chunk (plain, float or
// extensible) and where its sample data lies. Unknown chunks are skipped;
// data running past the end of the file is cut to what is there.
#pragma once
#include <cstdint>
#include <string>

#include "pcm_convert.h"
#include "source_file.h"

namespace wav {

struct Layout {
  audioconv::PcmFormat format;
  int rate = 0;
  uint16_t tag = 0;          // format tag (the sub-format's for extensible files)
  bool extensible = false;
  uint64_t dataOffset = 0;
  uint64_t frames = 0;       // whole frames present in the file
  bool playable() const { return rate > 0 && audioconv::isSupported(format); }
};

// False when the file is not RIFF WAVE or has no format or data chunk.
bool readLayout(deckit::SourceFile& f, Layout& out);

// "PCM 16-bit 44 kHz stereo".
std::string formatText(const Layout& l);

// The length cut to whole milliseconds (wav.dec has always cut, not rounded).
int64_t lengthMsOf(const Layout& l);

}  // namespace wav
