// Reading the layout of a RIFF WAVE file: its format chunk (plain, float or
// extensible) and where its sample data lies. Unknown chunks are skipped;
// data running past the end of the file is cut to what is there.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "pcm_convert.h"
#include "win32/owners.h"

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

// An open file, read-only, shared for reading.
class File {
 public:
  explicit File(const char* path);
  bool ok() const { return h_.valid(); }
  uint64_t size() const;
  // Reads up to n bytes at offset; returns the count read.
  size_t readAt(uint64_t offset, void* dst, size_t n) const;

 private:
  zv::UniqueFile h_;
};

// False when the file is not RIFF WAVE or has no format or data chunk.
bool readLayout(const File& f, Layout& out);

// "PCM 16-bit 44 kHz stereo".
std::string formatText(const Layout& l);

}  // namespace wav
