// The video input's second thread: it reads the file ahead and decodes, so
// the instance thread only hands out sound and shows pictures. Packets wait
// in a queue per stream (small, compressed); sound is decoded while less
// than kAudioAheadMs of it waits, pictures while fewer than kPicturesAhead
// do. A seek empties everything at once; what the thread was doing for the
// old position is thrown away by a generation count.
#pragma once
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio_decoder.h"
#include "media_demuxer.h"
#include "video_decoder.h"
#include "win32/owners.h"

namespace zvvideo {

class DecodeWorker {
 public:
  // Either decoder may be null (no such stream). Starts the thread at `fromMs`.
  DecodeWorker(std::unique_ptr<MediaDemuxer> demuxer, std::unique_ptr<AudioDecoder> audio,
               std::unique_ptr<VideoDecoder> video, int64_t fromMs);
  ~DecodeWorker();
  DecodeWorker(const DecodeWorker&) = delete;
  DecodeWorker& operator=(const DecodeWorker&) = delete;

  // Drops everything queued and goes on from `ms` (the picture showing at
  // `ms` comes first, the sound starts exactly there).
  void seek(int64_t ms);

  // Set whenever new sound or a new picture was queued, or the end reached.
  HANDLE progress() const { return progress_.get(); }

  // Moves up to `max` bytes of sound into `dst`; returns how many.
  // `ended` tells whether the sound is over for good (nothing will follow).
  size_t takeAudio(uint8_t* dst, size_t max, bool& ended);

  // The latest picture due at `clockMs` (earlier due ones are counted in
  // `dropped` and freed), or none. `ended`: no picture will follow.
  bool takeDuePicture(int64_t clockMs, DecodedPicture& out, int& dropped, bool& ended);
  // The picture showing at `ms` while nothing plays (earlier ones are freed):
  // false until it is decoded. The first picture of the file also counts for
  // a time before it.
  bool takeStillPicture(int64_t ms, DecodedPicture& out);
  // Media time of the first waiting picture; false if none waits.
  bool nextPictureMs(int64_t& ms);

  bool hasAudio() const { return audio_ != nullptr; }
  bool hasVideo() const { return video_ != nullptr; }
  // Bytes of video packets read since the start (for the bit rate).
  int64_t videoBytesRead();

 private:
  void run();
  // One step of work under the decision of the queues; false: nothing to do.
  bool step(std::unique_lock<std::mutex>& lock);
  void restart(int64_t ms);
  size_t audioHighBytes() const;
  bool wantsAudio() const;
  bool wantsVideo() const;

  std::unique_ptr<MediaDemuxer> demuxer_;
  std::unique_ptr<AudioDecoder> audio_;
  std::unique_ptr<VideoDecoder> video_;
  zv::UniqueKernelHandle progress_;

  std::mutex lock_;
  std::condition_variable wake_;
  bool quit_ = false;
  bool seekPending_ = false;
  int64_t seekMs_ = 0;
  uint64_t generation_ = 0;
  std::deque<PacketPtr> audioPackets_, videoPackets_;
  size_t packetBytes_ = 0;
  std::vector<uint8_t> pcm_;
  size_t pcmRead_ = 0;
  std::deque<DecodedPicture> pictures_;
  bool fileEnded_ = false, audioEnded_ = false, videoEnded_ = false;
  int64_t videoBytes_ = 0;
  std::thread thread_;
};

}  // namespace zvvideo
