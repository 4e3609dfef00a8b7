// Ogg Vorbis (vorbisfile) and Ogg Opus (opusfile), chained streams included,
// seekable to the exact sample. Opus always decodes at 48 kHz; the output
// stage converts to the rate the engine asks for. Ogg FLAC is left to flac.dec.
#include <opusfile.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "channel_order.h"
#include "entry_points.h"
#include "text_convert.h"

namespace oggdec {

namespace {

using deckit::SourceFile;

enum class Codec { none, vorbis, opus };

Codec sniff(SourceFile& file) {
  uint8_t head[64] = {};
  size_t got = file.readAt(0, head, sizeof head);
  if (got < 28 || std::memcmp(head, "OggS", 4) != 0) return Codec::none;
  size_t packet = 27 + size_t(head[26]);
  if (packet + 8 > got) return Codec::none;
  if (std::memcmp(head + packet, "\x01vorbis", 7) == 0) return Codec::vorbis;
  if (std::memcmp(head + packet, "OpusHead", 8) == 0) return Codec::opus;
  return Codec::none;
}

// Interleaves planar (or reorders interleaved) Vorbis-order channels into WAVE order.
void toWaveOrder(const float* const* planes, const float* interleaved, int channels, size_t frames,
                 std::vector<float>& out) {
  out.resize(frames * size_t(channels));
  const int* order = channels <= 8 ? deckit::kVorbisToWave[channels] : nullptr;
  for (int w = 0; w < channels; ++w) {
    const int v = order ? order[w] : w;
    float* dst = out.data() + w;
    if (planes) {
      const float* src = planes[v];
      for (size_t i = 0; i < frames; ++i) dst[i * size_t(channels)] = src[i];
    } else {
      const float* src = interleaved + v;
      for (size_t i = 0; i < frames; ++i) dst[i * size_t(channels)] = src[i * size_t(channels)];
    }
  }
}

void addComments(deckit::FileFacts& f, char** comments, const int* lengths, int count) {
  for (int i = 0; i < count; ++i) {
    std::string_view e(comments[i], size_t(lengths[i]));
    size_t eq = e.find('=');
    if (eq == std::string_view::npos || eq == 0) continue;
    f.tags.emplace_back(deckit::lowerAscii(e.substr(0, eq)), deckit::utf8ToAnsi(e.substr(eq + 1)));
  }
}

// ---- Vorbis ----------------------------------------------------------------

size_t vorbisRead(void* dst, size_t size, size_t count, void* src) {
  if (size == 0) return 0;
  return static_cast<SourceFile*>(src)->read(dst, size * count) / size;
}
int vorbisSeek(void* src, ogg_int64_t offset, int whence) {
  return static_cast<SourceFile*>(src)->seek(offset, whence) ? 0 : -1;
}
long vorbisTell(void* src) { return static_cast<long>(static_cast<SourceFile*>(src)->tell()); }

class VorbisDecoder final : public deckit::Decoder {
 public:
  explicit VorbisDecoder(SourceFile file) : file_(std::move(file)) {}
  ~VorbisDecoder() override {
    if (open_) ov_clear(&vf_);
  }

  bool open() {
    file_.seek(0, SEEK_SET);
    ov_callbacks cb{vorbisRead, vorbisSeek, nullptr, vorbisTell};
    open_ = ov_open_callbacks(&file_, &vf_, nullptr, 0, cb) == 0;
    if (!open_ || ov_streams(&vf_) < 1) return false;
    for (long i = 0; i < ov_streams(&vf_); ++i) {
      vorbis_info* vi = ov_info(&vf_, static_cast<int>(i));
      if (!vi || vi->rate <= 0 || vi->channels < 1 || vi->channels > 8) return false;
    }
    return true;
  }

  bool read(deckit::Block& b) override {
    for (int holes = 0; holes < 64; ++holes) {
      float** pcm = nullptr;
      int link = 0;
      long n = ov_read_float(&vf_, &pcm, 4096, &link);
      if (n == OV_HOLE) continue;  // a gap in the data: decoding goes on after it
      if (n <= 0) return false;
      vorbis_info* vi = ov_info(&vf_, link);
      toWaveOrder(pcm, nullptr, vi->channels, size_t(n), buffer_);
      b.data = buffer_.data();
      b.frames = size_t(n);
      b.rate = static_cast<int>(vi->rate);
      b.format = audioconv::PcmFormat{32, vi->channels, true};
      return true;
    }
    return false;
  }

  // Links may differ in rate, so the position is found link by link.
  bool seekMs(int64_t ms) override {
    ogg_int64_t base = 0;
    int64_t linkStartMs = 0;
    for (long i = 0; i < ov_streams(&vf_); ++i) {
      const int rate = static_cast<int>(ov_info(&vf_, static_cast<int>(i))->rate);
      const ogg_int64_t frames = ov_pcm_total(&vf_, static_cast<int>(i));
      const uint64_t into = deckit::msToFrames(ms - linkStartMs, rate);
      if (ms >= linkStartMs && into < static_cast<uint64_t>(frames))
        return ov_pcm_seek(&vf_, base + static_cast<ogg_int64_t>(into)) == 0;
      base += frames;
      linkStartMs += static_cast<int64_t>(frames) * 1000 / rate;
    }
    // Past the end: the raw seek to the end leaves nothing to read.
    return ov_raw_seek(&vf_, ov_raw_total(&vf_, -1)) == 0;
  }

  int64_t lengthMs() const override {
    auto* vf = const_cast<OggVorbis_File*>(&vf_);
    double ms = 0;
    for (long i = 0; i < ov_streams(vf); ++i)
      ms += double(ov_pcm_total(vf, static_cast<int>(i))) * 1000.0 / double(ov_info(vf, static_cast<int>(i))->rate);
    return static_cast<int64_t>(ms + 0.5);
  }

  bool seekable() const override { return ov_seekable(const_cast<OggVorbis_File*>(&vf_)) != 0; }

  void describe(deckit::FileFacts& f) {
    vorbis_info* vi = ov_info(&vf_, 0);
    f.typeName = "Ogg Vorbis audio file";
    f.codec = "Vorbis";
    f.rate = static_cast<int>(vi->rate);
    f.channels = vi->channels;
    f.lengthFrames = static_cast<uint64_t>(std::max<ogg_int64_t>(0, ov_pcm_total(&vf_, -1)));
    f.bitrate = static_cast<int>(ov_bitrate(&vf_, -1));
    if (f.bitrate <= 0) f.bitrate = static_cast<int>(vi->bitrate_nominal);
    f.formatText = "Vorbis " + std::to_string((f.bitrate + 500) / 1000) + " kbps";
    if (ov_streams(&vf_) > 1) f.extraInfo.push_back("Chained streams: " + std::to_string(ov_streams(&vf_)));
    if (vorbis_comment* vc = ov_comment(&vf_, 0)) {
      if (vc->vendor) f.encoder = deckit::utf8ToAnsi(vc->vendor);
      addComments(f, vc->user_comments, vc->comment_lengths, vc->comments);
    }
  }

 private:
  SourceFile file_;
  OggVorbis_File vf_{};
  bool open_ = false;
  std::vector<float> buffer_;
};

// ---- Opus ------------------------------------------------------------------

int opusRead(void* src, unsigned char* dst, int bytes) {
  return static_cast<int>(static_cast<SourceFile*>(src)->read(dst, size_t(std::max(bytes, 0))));
}
int opusSeek(void* src, opus_int64 offset, int whence) {
  return static_cast<SourceFile*>(src)->seek(offset, whence) ? 0 : -1;
}
opus_int64 opusTell(void* src) { return static_cast<SourceFile*>(src)->tell(); }

constexpr int kOpusRate = 48000;
constexpr uint64_t kSeekLeadIn = kOpusRate / 2;

class OpusDecoder final : public deckit::Decoder {
 public:
  explicit OpusDecoder(SourceFile file) : file_(std::move(file)) {}
  ~OpusDecoder() override {
    if (of_) op_free(of_);
  }

  bool open() {
    file_.seek(0, SEEK_SET);
    OpusFileCallbacks cb{opusRead, opusSeek, opusTell, nullptr};
    int err = 0;
    of_ = op_open_callbacks(&file_, &cb, nullptr, 0, &err);
    if (!of_) return false;
    for (int i = 0; i < op_link_count(of_); ++i)
      if (op_channel_count(of_, i) < 1 || op_channel_count(of_, i) > 8) return false;
    return true;
  }

  bool read(deckit::Block& b) override {
    interleaved_.resize(size_t(5760) * 8);  // 120 ms at 48 kHz, the longest Opus packet, 8 channels
    for (int holes = 0; holes < 64;) {
      int link = 0;
      int n = op_read_float(of_, interleaved_.data(), static_cast<int>(interleaved_.size()), &link);
      if (n == OP_HOLE) {
        ++holes;
        continue;
      }
      if (n <= 0) return false;
      const int ch = op_channel_count(of_, link);
      size_t skip = static_cast<size_t>(std::min<int64_t>(skip_, n));
      skip_ -= static_cast<int64_t>(skip);
      if (skip == size_t(n)) continue;
      toWaveOrder(nullptr, interleaved_.data() + skip * size_t(ch), ch, size_t(n) - skip, buffer_);
      b.data = buffer_.data();
      b.frames = size_t(n) - skip;
      b.rate = kOpusRate;
      b.format = audioconv::PcmFormat{32, ch, true};
      return true;
    }
    return false;
  }

  bool seekMs(int64_t ms) override {
    const uint64_t frame = deckit::msToFrames(ms, kOpusRate);
    const ogg_int64_t total = op_pcm_total(of_, -1);
    skip_ = 0;
    if (total >= 0 && frame >= static_cast<uint64_t>(total)) return op_raw_seek(of_, op_raw_total(of_, -1)) == 0;
    // opusfile's own pre-roll (80 ms) leaves the decoder's state audibly
    // different from a linear decode for a while; starting earlier and
    // dropping the lead-in makes a seek sound exactly like playing through.
    const uint64_t start = frame > kSeekLeadIn ? frame - kSeekLeadIn : 0;
    if (op_pcm_seek(of_, static_cast<ogg_int64_t>(start)) != 0) return false;
    skip_ = static_cast<int64_t>(frame - start);
    return true;
  }

  int64_t lengthMs() const override {
    return deckit::framesToMs(static_cast<uint64_t>(std::max<ogg_int64_t>(0, op_pcm_total(of_, -1))), kOpusRate);
  }

  bool seekable() const override { return op_seekable(of_) != 0; }

  void describe(deckit::FileFacts& f) {
    const OpusHead* head = op_head(of_, 0);
    f.typeName = "Ogg Opus audio file";
    f.codec = "Opus";
    f.rate = kOpusRate;
    f.channels = head->channel_count;
    f.lengthFrames = static_cast<uint64_t>(std::max<ogg_int64_t>(0, op_pcm_total(of_, -1)));
    f.bitrate = static_cast<int>(op_bitrate(of_, -1));
    f.formatText = "Opus " + std::to_string((std::max(f.bitrate, 0) + 500) / 1000) + " kbps";
    if (head->input_sample_rate > 0)
      f.extraInfo.push_back("Original sample rate: " + std::to_string(head->input_sample_rate) + " Hz");
    if (op_link_count(of_) > 1) f.extraInfo.push_back("Chained streams: " + std::to_string(op_link_count(of_)));
    if (const OpusTags* tags = op_tags(of_, 0)) {
      if (tags->vendor) f.encoder = deckit::utf8ToAnsi(tags->vendor);
      addComments(f, tags->user_comments, tags->comment_lengths, tags->comments);
    }
  }

 private:
  SourceFile file_;
  OggOpusFile* of_ = nullptr;
  int64_t skip_ = 0;  // frames still to drop after a seek
  std::vector<float> interleaved_, buffer_;
};

std::optional<deckit::FileFacts> probe(SourceFile& file, uint32_t) {
  Codec codec = sniff(file);
  deckit::FileFacts f;
  if (codec == Codec::vorbis) {
    VorbisDecoder dec(std::move(file));
    if (!dec.open()) return std::nullopt;
    dec.describe(f);
  } else if (codec == Codec::opus) {
    OpusDecoder dec(std::move(file));
    if (!dec.open()) return std::nullopt;
    dec.describe(f);
  } else {
    return std::nullopt;
  }
  return f;
}

template <class D>
std::unique_ptr<deckit::Decoder> openAs(SourceFile file) {
  auto dec = std::make_unique<D>(std::move(file));
  if (!dec->open()) return nullptr;
  return dec;
}

std::unique_ptr<deckit::Decoder> open(SourceFile file, bool) {
  switch (sniff(file)) {
    case Codec::vorbis: return openAs<VorbisDecoder>(std::move(file));
    case Codec::opus: return openAs<OpusDecoder>(std::move(file));
    default: return nullptr;
  }
}

const deckit::PluginDef kPlugin{"Ogg decoder (Vorbis, Opus)", ".ogg,.oga,.opus", probe, open};

}  // namespace

}  // namespace oggdec

DECKIT_ENTRY_POINTS(oggdec::kPlugin)
