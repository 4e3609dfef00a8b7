#include "video_decoder.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zvvideo {

std::unique_ptr<VideoDecoder> VideoDecoder::open(const AVStream* stream, int64_t startMs, double frameRate) {
  if (!stream) return nullptr;
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) return nullptr;
  std::unique_ptr<VideoDecoder> d(new VideoDecoder());
  d->codec_.reset(avcodec_alloc_context3(codec));
  if (!d->codec_) return nullptr;
  if (avcodec_parameters_to_context(d->codec_.get(), stream->codecpar) < 0) return nullptr;
  d->codec_->pkt_timebase = stream->time_base;
  d->codec_->thread_count = 0;  // as many as the machine has
  if (avcodec_open2(d->codec_.get(), codec, nullptr) < 0) return nullptr;
  d->timeBase_ = stream->time_base;
  d->startMs_ = startMs;
  if (frameRate > 1 && frameRate < 1000) d->frameMs_ = std::max<int64_t>(1, std::llround(1000.0 / frameRate));
  return d;
}

void VideoDecoder::restartAt(int64_t targetMs) {
  avcodec_flush_buffers(codec_.get());
  skipBeforeMs_ = targetMs;
  lastMs_ = INT64_MIN;
}

void VideoDecoder::decode(const AVPacket* packet, std::vector<DecodedPicture>& out) {
  if (avcodec_send_packet(codec_.get(), packet) < 0 && packet) return;
  for (;;) {
    FramePtr frame = newFrame();
    if (!frame || avcodec_receive_frame(codec_.get(), frame.get()) < 0) return;
    if (frame->width <= 0 || frame->height <= 0) continue;
    int64_t ts = frame->best_effort_timestamp;
    // A picture without a time follows the one before it.
    int64_t ms = ts != AV_NOPTS_VALUE ? av_rescale_q(ts, timeBase_, AVRational{1, 1000}) - startMs_
                                      : (lastMs_ == INT64_MIN ? 0 : lastMs_ + frameMs_);
    int64_t duration = frame->pkt_duration > 0 ? av_rescale_q(frame->pkt_duration, timeBase_, AVRational{1, 1000}) : frameMs_;
    duration = std::clamp<int64_t>(duration, 1, 10000);
    lastMs_ = ms;
    if (skipBeforeMs_ != INT64_MIN) {
      if (ms + duration <= skipBeforeMs_) continue;
      skipBeforeMs_ = INT64_MIN;
    }
    out.push_back(DecodedPicture{std::move(frame), ms, duration});
  }
}

}  // namespace zvvideo
