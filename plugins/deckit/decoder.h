// What a codec plug-in implements for one open file: blocks of interleaved
// PCM in the codec's own format and rate, seeking, and the facts that
// inCheckFile reports. Conversion to the format the engine asks for is done
// by OutputStage, once for every plug-in.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pcm_convert.h"
#include "source_file.h"

namespace deckit {

// One decoded block; the data stays valid until the next call into the decoder.
// A codec that decodes into one array per channel may hand those over
// instead of `data` (which is then null): frame i of channel c is
// `planes[c][planeFirst + i]`, shifted left by `planeShift` to fill a
// container of `format.bits` (convertPlanes). The output stage then writes
// the asked depth straight from them, without a packed copy.
struct Block {
  const void* data = nullptr;
  audioconv::PcmFormat format;
  size_t frames = 0;
  int rate = 0;
  const int32_t* const* planes = nullptr;
  size_t planeFirst = 0;
  int planeShift = 0;
};

class Decoder {
 public:
  virtual ~Decoder() = default;
  // Next block; false at the end of the file (or when the rest cannot be decoded).
  virtual bool read(Block& block) = 0;
  // Moves to the frame at `ms` (msToFrames); past the end
  // the next read reports the end. False if the file cannot seek.
  virtual bool seekMs(int64_t ms) = 0;
  virtual int64_t lengthMs() const = 0;
  virtual bool seekable() const { return true; }
};

// What a file check reports; filled by a plug-in's probe.
struct FileFacts {
  std::string typeName;    // "MP3 audio file"
  std::string formatText;  // "MP3 320 kbps"
  std::string codec;       // "MPEG-1 Layer III"
  int rate = 0;
  int channels = 0;
  int bitsPerSample = 0;   // 0 for lossy codecs
  int bitrate = 0;         // bits per second, average; 0 unknown
  uint64_t lengthFrames = 0;
  std::string encoder;
  std::vector<std::string> extraInfo;                        // more "Name: value" lines
  std::vector<std::pair<std::string, std::string>> tags;     // name (lower case), value
};

// Frame index of a millisecond position at `rate` (the frame playing at that
// instant; every decoder library of ours and wav.dec round the same way).
inline uint64_t msToFrames(int64_t ms, int rate) {
  if (ms <= 0 || rate <= 0) return 0;
  return static_cast<uint64_t>(ms) * static_cast<uint64_t>(rate) / 1000;
}
// Length in milliseconds, rounded to the nearest.
inline int64_t framesToMs(uint64_t frames, int rate) {
  if (rate <= 0) return 0;
  return static_cast<int64_t>((frames * 1000 + static_cast<uint64_t>(rate) / 2) / static_cast<uint64_t>(rate));
}

}  // namespace deckit
