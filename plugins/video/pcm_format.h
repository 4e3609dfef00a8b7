// The sound format the video input feeds its output stream in: the output
// library's own rate, depth and channel count, so its position counts in the
// same frames the decode kind's does.
#pragma once

#include <cstdint>

namespace zvvideo {

struct PcmFormat {
  int rate = 44100;
  int bits = 16;  // 8, 16, 24 or 32, integer
  int channels = 2;
  int bytesPerFrame() const { return bits / 8 * channels; }
  bool valid() const {
    return rate >= 1000 && rate <= 768000 && channels >= 1 && channels <= 8 &&
           (bits == 8 || bits == 16 || bits == 24 || bits == 32);
  }
};

}  // namespace zvvideo
