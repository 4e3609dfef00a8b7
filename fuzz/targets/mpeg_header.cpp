// The MPEG header chain check of mp3.dec: the ID3v2 skip and the search for
// a chain of frames, as the plug-in runs them on the first bytes of a file
// (behind a tag too long for them, on the bytes after it). A frame found is
// a valid header inside the data, and knowing the data is the whole file
// can only find a frame as early or earlier.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "fuzz_check.h"
#include "mpeg_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t tag = mp3::id3v2Size(data, size);
  if (tag > 0 && tag + 16 > size) {  // the plug-in reads on behind the tag
    if (tag >= size) return 0;
    data += tag;
    size -= tag;
    tag = 0;
  }
  const uint8_t* head = data + tag;
  const size_t left = size - tag;
  const long partial = mp3::findFirstFrame(head, left, false);
  const long whole = mp3::findFirstFrame(head, left, true);
  for (long at : {partial, whole}) {
    ZV_FUZZ_CHECK(at >= -1);
    if (at < 0) continue;
    ZV_FUZZ_CHECK(size_t(at) + 4 <= left);
    mp3::FrameHeader h;
    ZV_FUZZ_CHECK(mp3::parseFrameHeader(head + at, h));
    ZV_FUZZ_CHECK(h.frameBytes >= 4 && (h.channels == 1 || h.channels == 2) && h.rate >= 8000 && h.rate <= 48000);
  }
  if (partial >= 0) ZV_FUZZ_CHECK(whole >= 0 && whole <= partial);
  return 0;
}
