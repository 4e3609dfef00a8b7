// One video file opened by libavformat, read through Win32 so a name in the
// system code page opens exactly as the engine gave it. It knows the best
// video and audio streams, reads their packets in file order and seeks.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "av_owners.h"
#include "source_file.h"

namespace zvvideo {

struct MediaInfo {
  int64_t lengthMs = 0;
  int64_t startMs = 0;                     // the file's first timestamp; media times count from it
  int videoStream = -1, audioStream = -1;  // indexes into the file's streams
  int width = 0, height = 0;               // picture size (display size, sample aspect applied)
  double frameRate = 0;                    // nominal frames per second, 0 unknown
  int64_t videoBitRate = 0, bitRate = 0;   // bits per second, 0 unknown
  int sampleRate = 0, channels = 0;
  bool seekable = false;
  std::string formatName, videoCodec, audioCodec;
};

class MediaDemuxer {
 public:
  // Opens and probes the file; null when it is no file of a known container or
  // has neither a decodable picture nor sound. Probing a damaged file gives
  // up after `probeBudgetMs`.
  static std::unique_ptr<MediaDemuxer> open(const char* fileName, int probeBudgetMs = 8000);
  ~MediaDemuxer();

  const MediaInfo& info() const { return info_; }
  AVStream* stream(int index) const;

  // The next packet of the video or audio stream (others are skipped).
  // False at the end of the file, or after so many errors in a row that
  // the rest of the file counts as lost.
  bool read(AVPacket* packet);

  // Moves to the last key frame at or before `ms`; false if that failed
  // (the position is then unchanged, as far as libavformat can tell).
  bool seek(int64_t ms);

  // Limits every read from now on: a call that takes longer than `ms`
  // from now is interrupted (0: no limit).
  void setDeadline(int ms);

 private:
  MediaDemuxer() = default;
  static int readPacket(void* self, uint8_t* buf, int size);
  static int64_t seekTo(void* self, int64_t offset, int whence);
  static int interrupted(void* self);

  deckit::SourceFile file_;
  FormatContextPtr format_;
  AVIOContext* io_ = nullptr;  // freed in the destructor, after the format context
  MediaInfo info_;
  std::atomic<uint64_t> deadline_{0};  // GetTickCount64 value; 0 none (set from the instance thread too)
};

// A whole number of milliseconds from a timestamp in `base`; `fallback` for AV_NOPTS_VALUE.
int64_t toMs(int64_t ts, AVRational base, int64_t fallback = 0);

}  // namespace zvvideo
