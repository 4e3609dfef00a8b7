// The pictures of a video file: packets decoded by libavcodec (with its own
// threads) into frames that carry their media time. After a seek, pictures
// that end before the target are left out, so the first one given is the
// picture showing at the target.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "av_owners.h"

namespace zvvideo {

struct DecodedPicture {
  FramePtr frame;
  int64_t ms = 0;          // media time at which it shows
  int64_t durationMs = 0;  // how long it shows, as far as known
};

class VideoDecoder {
 public:
  // Null when the stream's codec cannot be opened.
  static std::unique_ptr<VideoDecoder> open(const AVStream* stream, int64_t startMs, double frameRate);

  // Decodes one packet (null: the end, drains the codec) and appends the
  // pictures it gave. A packet the codec refuses is skipped.
  void decode(const AVPacket* packet, std::vector<DecodedPicture>& out);

  // Forgets what the codec holds; pictures ending before `targetMs` are dropped.
  void restartAt(int64_t targetMs);

  int64_t frameDurationMs() const { return frameMs_; }

 private:
  VideoDecoder() = default;

  CodecContextPtr codec_;
  AVRational timeBase_{1, 1000};
  int64_t startMs_ = 0;
  int64_t frameMs_ = 40;
  int64_t skipBeforeMs_ = INT64_MIN;
  int64_t lastMs_ = INT64_MIN;
};

}  // namespace zvvideo
