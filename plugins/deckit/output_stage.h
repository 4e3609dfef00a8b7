// Turns a decoder's blocks into the format decRead asks for: sample format,
// channel count and rate, through the shared conversion library. When the
// codec's format already is the asked one, blocks are copied as they are.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "decoder.h"
#include "resampler.h"

namespace deckit {

struct OutFormat {
  int rate = 44100;
  int bits = 16;
  int channels = 2;
  bool operator==(const OutFormat&) const = default;
};

// Output bit depths we write (integer PCM, as the output library plays it).
bool isValidOutFormat(const OutFormat& f);

class OutputStage {
 public:
  // Writes up to `capacity` frames in `out` format; returns the count, 0 only
  // at the end of the file.
  size_t pull(Decoder& dec, void* dst, size_t capacity, const OutFormat& out);
  // Forgets everything pending (after a seek).
  void reset();

 private:
  // Writes the first `frames` frames of a block at the output rate to `dst`
  // and keeps the rest of it for the next pull.
  size_t deliver(Block b, size_t frames, const OutFormat& out, void* dst);
  void take(const Block& b, const OutFormat& out);
  // Converts a whole block straight into the caller's buffer.
  void convertInto(const Block& b, const OutFormat& out, void* dst);
  void finishResampler();
  // A planar block packed into packed_ in its own format (for the paths that
  // read packed samples); a packed block as it is.
  Block packed(const Block& b);
  size_t pending() const { return (ready_.size() - readyPos_) / static_cast<size_t>(readyCh_); }

  std::vector<float> ready_;  // resampled output frames at the output channel count
  size_t readyPos_ = 0;
  int readyCh_ = 1;
  // The part of a block at the output rate not yet delivered, still in the
  // codec's format: it is converted from there, never through ready_, so
  // every sample takes the same path whatever the read sizes.
  Block rest_;
  std::unique_ptr<audioconv::Resampler> resampler_;
  std::vector<double> real_, mapped_;
  std::vector<float> toResample_;
  std::vector<uint8_t> packed_;
  bool ended_ = false;
};

}  // namespace deckit
