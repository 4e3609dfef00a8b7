#include "audio_decoder.h"

#include <algorithm>
#include <cstring>

namespace zvvideo {
namespace {

// Silence put before a first frame that starts late after a seek is limited,
// so a damaged timestamp cannot ask for hours of it.
constexpr int64_t kMaxLeadInMs = 2000;

AVSampleFormat convertedFormat(int bits) {
  switch (bits) {
    case 8: return AV_SAMPLE_FMT_U8;
    case 16: return AV_SAMPLE_FMT_S16;
    default: return AV_SAMPLE_FMT_S32;  // 24 is packed from 32 afterwards
  }
}

}  // namespace

std::unique_ptr<AudioDecoder> AudioDecoder::open(const AVStream* stream, int64_t startMs, PcmFormat out) {
  if (!stream || !out.valid()) return nullptr;
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) return nullptr;
  std::unique_ptr<AudioDecoder> d(new AudioDecoder());
  d->codec_.reset(avcodec_alloc_context3(codec));
  if (!d->codec_ || !d->frame_) return nullptr;
  if (avcodec_parameters_to_context(d->codec_.get(), stream->codecpar) < 0) return nullptr;
  d->codec_->pkt_timebase = stream->time_base;
  if (avcodec_open2(d->codec_.get(), codec, nullptr) < 0) return nullptr;
  d->timeBase_ = stream->time_base;
  d->startMs_ = startMs;
  d->out_ = out;
  return d;
}

void AudioDecoder::restartAt(int64_t targetMs) {
  avcodec_flush_buffers(codec_.get());
  swr_.reset();
  inRate_ = 0;
  inFormat_ = -1;
  aligning_ = true;
  targetMs_ = targetMs;
}

bool AudioDecoder::ensureResampler(const AVFrame* frame) {
  if (frame->sample_rate <= 0 || frame->ch_layout.nb_channels <= 0 || frame->ch_layout.nb_channels > 64)
    return false;
  if (swr_ && inRate_ == frame->sample_rate && inFormat_ == frame->format &&
      av_channel_layout_compare(&inLayout_, &frame->ch_layout) == 0)
    return true;
  AVChannelLayout outLayout{};
  av_channel_layout_default(&outLayout, out_.channels);
  SwrContext* raw = nullptr;
  int r = swr_alloc_set_opts2(&raw, &outLayout, convertedFormat(out_.bits), out_.rate, const_cast<AVChannelLayout*>(&frame->ch_layout),
                              static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
  av_channel_layout_uninit(&outLayout);
  swr_.reset(raw);
  if (r < 0 || !raw || swr_init(raw) < 0) {
    swr_.reset();
    return false;
  }
  inRate_ = frame->sample_rate;
  inFormat_ = frame->format;
  av_channel_layout_uninit(&inLayout_);
  av_channel_layout_copy(&inLayout_, &frame->ch_layout);
  return true;
}

void AudioDecoder::convert(const AVFrame* frame, std::vector<uint8_t>& out) {
  if (!ensureResampler(frame)) return;
  const int outFrames = swr_get_out_samples(swr_.get(), frame->nb_samples);
  if (outFrames <= 0) return;
  const int convertedBytesPerFrame = (out_.bits == 24 ? 4 : out_.bits / 8) * out_.channels;
  scratch_.resize(size_t(outFrames) * size_t(convertedBytesPerFrame));
  uint8_t* dst = scratch_.data();
  int got = swr_convert(swr_.get(), &dst, outFrames, const_cast<const uint8_t**>(frame->extended_data),
                        frame->nb_samples);
  if (got <= 0) return;
  size_t skipFrames = 0;
  if (aligning_) {
    aligning_ = false;
    int64_t ts = frame->best_effort_timestamp;
    if (ts != AV_NOPTS_VALUE) {
      int64_t frameMs = av_rescale_q(ts, timeBase_, AVRational{1, 1000}) - startMs_;
      int64_t gapFrames = (targetMs_ - frameMs) * out_.rate / 1000;
      if (gapFrames > 0) {
        skipFrames = size_t(gapFrames);
      } else if (gapFrames < 0) {
        int64_t lead = std::min<int64_t>(-gapFrames, kMaxLeadInMs * out_.rate / 1000);
        out.insert(out.end(), size_t(lead) * size_t(out_.bytesPerFrame()), out_.bits == 8 ? 0x80 : 0);
      }
    }
  }
  if (skipFrames >= size_t(got)) {
    aligning_ = true;  // the target lies further on: keep cutting in the next frame
    return;
  }
  const uint8_t* from = scratch_.data() + skipFrames * size_t(convertedBytesPerFrame);
  const size_t frames = size_t(got) - skipFrames;
  if (out_.bits != 24) {
    out.insert(out.end(), from, from + frames * size_t(convertedBytesPerFrame));
    return;
  }
  // 24-bit: the top three bytes of each 32-bit sample, little-endian.
  const size_t samples = frames * size_t(out_.channels);
  const size_t at = out.size();
  out.resize(at + samples * 3);
  for (size_t i = 0; i < samples; ++i) std::memcpy(&out[at + i * 3], from + i * 4 + 1, 3);
}

void AudioDecoder::decode(const AVPacket* packet, std::vector<uint8_t>& out) {
  if (avcodec_send_packet(codec_.get(), packet) < 0 && packet) return;
  while (avcodec_receive_frame(codec_.get(), frame_.get()) >= 0) {
    convert(frame_.get(), out);
    av_frame_unref(frame_.get());
  }
}

}  // namespace zvvideo
