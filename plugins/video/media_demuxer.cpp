#include "media_demuxer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace zvvideo {
namespace {

constexpr int kIoBufferSize = 64 * 1024;
// A damaged file can make every read fail; this many errors in a row end it.
constexpr int kErrorsInARow = 64;

std::string codecName(const AVCodecParameters* p) {
  const AVCodecDescriptor* d = avcodec_descriptor_get(p->codec_id);
  return d ? d->name : "unknown";
}

}  // namespace

int64_t toMs(int64_t ts, AVRational base, int64_t fallback) {
  if (ts == AV_NOPTS_VALUE) return fallback;
  return av_rescale_q(ts, base, AVRational{1, 1000});
}

int MediaDemuxer::readPacket(void* self, uint8_t* buf, int size) {
  auto* d = static_cast<MediaDemuxer*>(self);
  size_t got = d->file_.read(buf, static_cast<size_t>(size));
  return got ? static_cast<int>(got) : AVERROR_EOF;
}

int64_t MediaDemuxer::seekTo(void* self, int64_t offset, int whence) {
  auto* d = static_cast<MediaDemuxer*>(self);
  if (whence & AVSEEK_SIZE) return d->file_.size();
  whence &= ~AVSEEK_FORCE;
  if (!d->file_.seek(offset, whence)) return -1;
  return d->file_.tell();
}

int MediaDemuxer::interrupted(void* self) {
  auto* d = static_cast<MediaDemuxer*>(self);
  return d->deadline_ && GetTickCount64() > d->deadline_ ? 1 : 0;
}

void MediaDemuxer::setDeadline(int ms) { deadline_ = ms > 0 ? GetTickCount64() + uint64_t(ms) : 0; }

std::unique_ptr<MediaDemuxer> MediaDemuxer::open(const char* fileName, int probeBudgetMs) {
  std::unique_ptr<MediaDemuxer> d(new MediaDemuxer());
  d->file_ = deckit::SourceFile(fileName);
  if (!d->file_.isOpen()) return nullptr;
  auto* buffer = static_cast<uint8_t*>(av_malloc(kIoBufferSize));
  if (!buffer) return nullptr;
  d->io_ = avio_alloc_context(buffer, kIoBufferSize, 0, d.get(), readPacket, nullptr, seekTo);
  if (!d->io_) {
    av_free(buffer);
    return nullptr;
  }
  AVFormatContext* raw = avformat_alloc_context();
  if (!raw) return nullptr;
  raw->pb = d->io_;
  raw->flags |= AVFMT_FLAG_CUSTOM_IO;
  raw->interrupt_callback = AVIOInterruptCB{interrupted, d.get()};
  raw->probesize = 8 * 1024 * 1024;
  raw->max_analyze_duration = 5 * AV_TIME_BASE;
  d->setDeadline(probeBudgetMs);
  // avformat_open_input frees the context itself when it fails.
  if (avformat_open_input(&raw, fileName, nullptr, nullptr) < 0) return nullptr;
  d->format_.reset(raw);
  if (avformat_find_stream_info(raw, nullptr) < 0) return nullptr;
  d->setDeadline(0);

  MediaInfo& info = d->info_;
  info.videoStream = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  info.audioStream = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  if (info.videoStream >= 0) {
    const AVStream* s = raw->streams[info.videoStream];
    const AVCodecParameters* p = s->codecpar;
    if (p->width <= 0 || p->height <= 0 || p->width > 16384 || p->height > 16384 ||
        !avcodec_find_decoder(p->codec_id) || (s->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
      info.videoStream = -1;
    } else {
      info.width = p->width;
      info.height = p->height;
      AVRational sar = av_guess_sample_aspect_ratio(raw, raw->streams[info.videoStream], nullptr);
      if (sar.num > 0 && sar.den > 0 && sar.num != sar.den) {
        // Shown in square pixels: the width carries the aspect.
        info.width = static_cast<int>(av_rescale(p->width, sar.num, sar.den));
        info.width = std::clamp(info.width, 1, 16384);
      }
      AVRational rate = av_guess_frame_rate(raw, raw->streams[info.videoStream], nullptr);
      if (rate.num > 0 && rate.den > 0) info.frameRate = av_q2d(rate);
      info.videoBitRate = p->bit_rate;
      info.videoCodec = codecName(p);
    }
  }
  if (info.audioStream >= 0) {
    const AVCodecParameters* p = raw->streams[info.audioStream]->codecpar;
    if (!avcodec_find_decoder(p->codec_id) || p->sample_rate <= 0 || p->ch_layout.nb_channels <= 0) {
      info.audioStream = -1;
    } else {
      info.sampleRate = p->sample_rate;
      info.channels = p->ch_layout.nb_channels;
      info.audioCodec = codecName(p);
    }
  }
  if (info.videoStream < 0 && info.audioStream < 0) return nullptr;
  info.lengthMs = raw->duration != AV_NOPTS_VALUE && raw->duration > 0 ? raw->duration / 1000 : 0;
  info.startMs = raw->start_time != AV_NOPTS_VALUE ? raw->start_time / 1000 : 0;
  info.bitRate = raw->bit_rate;
  info.seekable = info.lengthMs > 0;
  info.formatName = raw->iformat->name;
  return d;
}

MediaDemuxer::~MediaDemuxer() {
  format_.reset();
  if (io_) {
    av_freep(&io_->buffer);
    avio_context_free(&io_);
  }
}

AVStream* MediaDemuxer::stream(int index) const {
  if (!format_ || index < 0 || index >= static_cast<int>(format_->nb_streams)) return nullptr;
  return format_->streams[index];
}

bool MediaDemuxer::read(AVPacket* packet) {
  for (int errors = 0; errors < kErrorsInARow;) {
    int r = av_read_frame(format_.get(), packet);
    if (r == AVERROR_EOF || (r < 0 && format_->pb && avio_feof(format_->pb))) return false;
    if (r == AVERROR_EXIT) return false;
    if (r < 0) {
      ++errors;
      continue;
    }
    if (packet->stream_index == info_.videoStream || packet->stream_index == info_.audioStream) return true;
    av_packet_unref(packet);
  }
  return false;
}

bool MediaDemuxer::seek(int64_t ms) {
  int64_t ts = av_rescale(std::max<int64_t>(ms, 0), AV_TIME_BASE, 1000);
  if (format_->start_time != AV_NOPTS_VALUE) ts += format_->start_time;
  return av_seek_frame(format_.get(), -1, ts, AVSEEK_FLAG_BACKWARD) >= 0;
}

}  // namespace zvvideo
