// The sound of a video file: packets decoded by libavcodec and converted by
// libswresample into the output stream's format. After a seek the sound is
// cut (or led in with silence) so that it starts exactly at the seek target.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "av_owners.h"
#include "pcm_format.h"

namespace zvvideo {

class AudioDecoder {
 public:
  // Null when the stream's codec cannot be opened or the format is unusable.
  static std::unique_ptr<AudioDecoder> open(const AVStream* stream, int64_t startMs, PcmFormat out);

  // Decodes one packet (null: the end, drains the codec) and appends what
  // it gave, converted, to `out`. A packet the codec refuses is skipped.
  void decode(const AVPacket* packet, std::vector<uint8_t>& out);

  // Forgets what the codec holds; the next sound is placed at `targetMs`.
  void restartAt(int64_t targetMs);

  const PcmFormat& format() const { return out_; }
  ~AudioDecoder() { av_channel_layout_uninit(&inLayout_); }

 private:
  AudioDecoder() = default;
  void convert(const AVFrame* frame, std::vector<uint8_t>& out);
  bool ensureResampler(const AVFrame* frame);

  CodecContextPtr codec_;
  SwrPtr swr_;
  FramePtr frame_ = newFrame();
  AVRational timeBase_{1, 1000};
  int64_t startMs_ = 0;
  PcmFormat out_;
  // Input format the resampler was made for.
  int inRate_ = 0, inFormat_ = -1;
  AVChannelLayout inLayout_{};
  // After a restart: where the sound must begin, until the first frame came.
  bool aligning_ = false;
  int64_t targetMs_ = 0;
  std::vector<uint8_t> scratch_;
};

}  // namespace zvvideo
