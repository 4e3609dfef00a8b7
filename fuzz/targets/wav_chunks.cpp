// wav.dec's chunk reader (readLayout): any RIFF file it accepts has its data
// inside the file and whole frames only; a playable layout converts its
// first frames to samples in -1..1 that map to stereo; the format text and
// the length take any layout.
#include <cmath>
#include <vector>

#include "fuzz_check.h"
#include "pcm_convert.h"
#include "source_file.h"
#include "wav_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  deckit::SourceFile file(data, size);
  wav::Layout layout;
  if (!wav::readLayout(file, layout)) return 0;
  ZV_FUZZ_CHECK(layout.dataOffset <= size);
  const int frameBytes = layout.format.bytesPerFrame();
  if (frameBytes > 0) ZV_FUZZ_CHECK(layout.dataOffset + layout.frames * uint64_t(frameBytes) <= size);
  else ZV_FUZZ_CHECK(layout.frames == 0);
  ZV_FUZZ_CHECK(!wav::formatText(layout).empty());
  ZV_FUZZ_CHECK(wav::lengthMsOf(layout) >= 0);
  if (!layout.playable() || layout.frames == 0) return 0;

  // What the decoder does with the first block: read, convert, map.
  const size_t frames = size_t(std::min<uint64_t>(layout.frames, 256));
  std::vector<uint8_t> raw(frames * size_t(frameBytes));
  ZV_FUZZ_CHECK(file.readAt(int64_t(layout.dataOffset), raw.data(), raw.size()) == raw.size());
  const int channels = layout.format.channels;
  std::vector<double> samples(frames * size_t(channels)), stereo(frames * 2);
  audioconv::toReal(raw.data(), layout.format, frames, samples.data());
  for (double s : samples)
    if (!layout.format.isFloat) ZV_FUZZ_CHECK(s >= -1.0 && s <= 1.0);
  audioconv::mapChannels(samples.data(), channels, stereo.data(), 2, frames);
  return 0;
}
