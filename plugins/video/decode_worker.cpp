#include "decode_worker.h"

#include <algorithm>
#include <cstring>

namespace zvvideo {
namespace {

constexpr int kAudioAheadMs = 500;
constexpr size_t kPicturesAhead = 6;
// Compressed packets waiting for a decoder that has no room: beyond this (a
// damaged or badly interleaved file) the oldest packet of the fuller queue
// is dropped rather than letting memory grow.
constexpr size_t kMaxPacketBytes = 48u << 20;
constexpr size_t kMaxPackets = 4000;

}  // namespace

DecodeWorker::DecodeWorker(std::unique_ptr<MediaDemuxer> demuxer, std::unique_ptr<AudioDecoder> audio,
                           std::unique_ptr<VideoDecoder> video, int64_t fromMs)
    : demuxer_(std::move(demuxer)),
      audio_(std::move(audio)),
      video_(std::move(video)),
      progress_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
  audioEnded_ = !audio_;
  videoEnded_ = !video_;
  seekPending_ = true;
  seekMs_ = fromMs;
  thread_ = std::thread([this] { run(); });
}

DecodeWorker::~DecodeWorker() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    quit_ = true;
    demuxer_->setDeadline(1);  // a read in progress gives up at once
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

size_t DecodeWorker::audioHighBytes() const {
  const PcmFormat& f = audio_->format();
  return size_t(f.rate) * size_t(f.bytesPerFrame()) * kAudioAheadMs / 1000;
}

void DecodeWorker::seek(int64_t ms) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    ++generation_;
    seekPending_ = true;
    seekMs_ = ms;
    pcm_.clear();
    pcmRead_ = 0;
    pictures_.clear();
    audioEnded_ = !audio_;
    videoEnded_ = !video_;
  }
  wake_.notify_all();
}

void DecodeWorker::restart(int64_t ms) {
  // Called without the lock: only this thread touches the demuxer and decoders.
  if (demuxer_->info().seekable || ms == 0) demuxer_->seek(ms);
  if (audio_) audio_->restartAt(ms);
  if (video_) video_->restartAt(ms);
}

bool DecodeWorker::wantsAudio() const {
  return audio_ && !audioEnded_ && pcm_.size() - pcmRead_ < audioHighBytes();
}

bool DecodeWorker::wantsVideo() const { return video_ && !videoEnded_ && pictures_.size() < kPicturesAhead; }

void DecodeWorker::run() {
  std::unique_lock<std::mutex> lock(lock_);
  while (!quit_) {
    if (seekPending_) {
      seekPending_ = false;
      const int64_t ms = seekMs_;
      audioPackets_.clear();
      videoPackets_.clear();
      packetBytes_ = 0;
      fileEnded_ = false;
      lock.unlock();
      restart(ms);
      lock.lock();
      continue;
    }
    if (!step(lock)) wake_.wait(lock, [this] { return quit_ || seekPending_ || wantsAudio() || wantsVideo(); });
  }
}

bool DecodeWorker::step(std::unique_lock<std::mutex>& lock) {
  const bool audio = wantsAudio(), video = wantsVideo();
  if (!audio && !video) return false;
  const uint64_t generation = generation_;

  if (audio && !audioPackets_.empty()) {
    PacketPtr packet = std::move(audioPackets_.front());
    audioPackets_.pop_front();
    packetBytes_ -= size_t(packet->size);
    std::vector<uint8_t> pcm;
    lock.unlock();
    audio_->decode(packet.get(), pcm);
    lock.lock();
    if (generation == generation_ && !seekPending_ && !pcm.empty()) {
      pcm_.insert(pcm_.end(), pcm.begin(), pcm.end());
      SetEvent(progress_.get());
    }
    return true;
  }
  if (video && !videoPackets_.empty()) {
    PacketPtr packet = std::move(videoPackets_.front());
    videoPackets_.pop_front();
    packetBytes_ -= size_t(packet->size);
    std::vector<DecodedPicture> pictures;
    lock.unlock();
    video_->decode(packet.get(), pictures);
    lock.lock();
    if (generation == generation_ && !seekPending_ && !pictures.empty()) {
      for (DecodedPicture& p : pictures) pictures_.push_back(std::move(p));
      SetEvent(progress_.get());
    }
    return true;
  }
  if (!fileEnded_) {
    // Room first: the queue that holds more gives up its oldest packet.
    while (packetBytes_ > kMaxPacketBytes || audioPackets_.size() + videoPackets_.size() > kMaxPackets) {
      auto& fuller = audioPackets_.size() > videoPackets_.size() ? audioPackets_ : videoPackets_;
      packetBytes_ -= size_t(fuller.front()->size);
      fuller.pop_front();
    }
    PacketPtr packet = newPacket();
    lock.unlock();
    const bool got = packet && demuxer_->read(packet.get());
    lock.lock();
    if (generation != generation_ || seekPending_) return true;
    if (!got) {
      fileEnded_ = true;
      return true;
    }
    const bool isVideo = packet->stream_index == demuxer_->info().videoStream;
    if (isVideo && !video_) return true;
    if (!isVideo && !audio_) return true;
    packetBytes_ += size_t(packet->size);
    if (isVideo) {
      videoBytes_ += packet->size;
      videoPackets_.push_back(std::move(packet));
    } else {
      audioPackets_.push_back(std::move(packet));
    }
    return true;
  }
  // The file is read to its end: what the codecs still hold comes out now.
  if (audio) {
    std::vector<uint8_t> pcm;
    lock.unlock();
    audio_->decode(nullptr, pcm);
    lock.lock();
    if (generation != generation_ || seekPending_) return true;
    pcm_.insert(pcm_.end(), pcm.begin(), pcm.end());
    audioEnded_ = true;
    SetEvent(progress_.get());
    return true;
  }
  std::vector<DecodedPicture> pictures;
  lock.unlock();
  video_->decode(nullptr, pictures);
  lock.lock();
  if (generation != generation_ || seekPending_) return true;
  for (DecodedPicture& p : pictures) pictures_.push_back(std::move(p));
  videoEnded_ = true;
  SetEvent(progress_.get());
  return true;
}

size_t DecodeWorker::takeAudio(uint8_t* dst, size_t max, bool& ended) {
  std::lock_guard<std::mutex> hold(lock_);
  const size_t frameBytes = audio_ ? size_t(audio_->format().bytesPerFrame()) : 1;
  size_t n = std::min(max, pcm_.size() - pcmRead_) / frameBytes * frameBytes;
  if (n) std::memcpy(dst, pcm_.data() + pcmRead_, n);
  pcmRead_ += n;
  if (pcmRead_ > 0 && pcmRead_ >= pcm_.size() / 2) {
    pcm_.erase(pcm_.begin(), pcm_.begin() + std::ptrdiff_t(pcmRead_));
    pcmRead_ = 0;
  }
  ended = audioEnded_ && pcm_.size() - pcmRead_ < frameBytes;
  if (n) wake_.notify_all();
  return n;
}

bool DecodeWorker::takeDuePicture(int64_t clockMs, DecodedPicture& out, int& dropped, bool& ended) {
  std::lock_guard<std::mutex> hold(lock_);
  bool taken = false;
  while (pictures_.size() >= 2 && pictures_[1].ms <= clockMs) {
    pictures_.pop_front();
    ++dropped;
  }
  if (!pictures_.empty() && pictures_.front().ms <= clockMs) {
    out = std::move(pictures_.front());
    pictures_.pop_front();
    taken = true;
  }
  ended = videoEnded_ && pictures_.empty();
  if (taken || dropped) wake_.notify_all();
  return taken;
}

bool DecodeWorker::takeStillPicture(int64_t ms, DecodedPicture& out) {
  std::lock_guard<std::mutex> hold(lock_);
  while (pictures_.size() >= 2 && pictures_[1].ms <= ms) pictures_.pop_front();
  if (pictures_.empty()) return false;
  const DecodedPicture& front = pictures_.front();
  if (front.ms + front.durationMs <= ms && !(videoEnded_ && pictures_.size() == 1)) return false;
  out = std::move(pictures_.front());
  pictures_.pop_front();
  wake_.notify_all();
  return true;
}

bool DecodeWorker::nextPictureMs(int64_t& ms) {
  std::lock_guard<std::mutex> hold(lock_);
  if (pictures_.empty()) return false;
  ms = pictures_.front().ms;
  return true;
}

int64_t DecodeWorker::videoBytesRead() {
  std::lock_guard<std::mutex> hold(lock_);
  return videoBytes_;
}

}  // namespace zvvideo
