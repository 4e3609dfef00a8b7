// One open WAVE file being decoded into the format the player asks for:
// sample format, channel layout and, through the resampler, sample rate.
#pragma once
#include <memory>
#include <vector>

#include "resampler.h"
#include "wav_file.h"

namespace wav {

class Decoder {
 public:
  explicit Decoder(const char* path);
  bool ok() const { return ok_; }
  const Layout& layout() const { return layout_; }
  uint32_t lengthMs() const;

  // Writes up to `capacity` frames in the given format; returns the frames
  // written, 0 at the end of the file (or for a format it cannot write).
  size_t read(void* dst, size_t capacity, int rate, const audioconv::PcmFormat& out);
  void seekMs(int64_t ms);

 private:
  size_t readSource(size_t frames, std::vector<double>& dst);

  File file_;
  Layout layout_;
  bool ok_ = false;
  uint64_t next_ = 0;  // next source frame
  std::unique_ptr<audioconv::Resampler> resampler_;
  std::vector<float> pending_;  // resampled, not yet delivered (output channels)
  size_t pendingRead_ = 0;
  bool flushed_ = false;
  std::vector<uint8_t> raw_;
};

}  // namespace wav
