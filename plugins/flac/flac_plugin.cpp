// FLAC and Ogg FLAC through libFLAC: 4 to 32 bits, 1 to 8 channels, decoded
// bit-exactly and seekable to the exact sample.
#include <FLAC/stream_decoder.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "entry_points.h"
#include "text_convert.h"

namespace flacdec {

namespace {

using deckit::SourceFile;

enum class Container { none, native, ogg };

// "fLaC" at the start or behind ID3v2 tags (which libFLAC skips), or an Ogg
// stream whose first packet is a FLAC mapping header.
Container sniff(SourceFile& file) {
  uint8_t head[64] = {};
  size_t got = file.readAt(0, head, sizeof head);
  if (got >= 4 && std::memcmp(head, "fLaC", 4) == 0) return Container::native;
  if (got >= 10 && std::memcmp(head, "ID3", 3) == 0) {
    size_t tag = 10 + ((size_t(head[6]) << 21) | (size_t(head[7]) << 14) | (size_t(head[8]) << 7) | head[9]);
    uint8_t magic[4];
    if (file.readAt(static_cast<int64_t>(tag), magic, 4) == 4 && std::memcmp(magic, "fLaC", 4) == 0) return Container::native;
  }
  if (got >= 28 && std::memcmp(head, "OggS", 4) == 0) {
    size_t packet = 27 + size_t(head[26]);
    if (packet + 5 <= got && std::memcmp(head + packet, "\x7F" "FLAC", 5) == 0) return Container::ogg;
  }
  return Container::none;
}

struct DecoderDeleter {
  void operator()(FLAC__StreamDecoder* d) const { FLAC__stream_decoder_delete(d); }
};

class FlacDecoder final : public deckit::Decoder {
 public:
  explicit FlacDecoder(SourceFile file) : file_(std::move(file)) {}
  ~FlacDecoder() override {
    if (dec_) FLAC__stream_decoder_finish(dec_.get());
  }

  // Reads the metadata; false if the stream is not decodable FLAC.
  bool open(Container container, bool wantTags) {
    dec_.reset(FLAC__stream_decoder_new());
    if (!dec_) return false;
    if (wantTags) FLAC__stream_decoder_set_metadata_respond(dec_.get(), FLAC__METADATA_TYPE_VORBIS_COMMENT);
    file_.seek(0, SEEK_SET);
    FLAC__StreamDecoderInitStatus s =
        container == Container::ogg
            ? FLAC__stream_decoder_init_ogg_stream(dec_.get(), onRead, onSeek, onTell, onLength, onEof, onWrite,
                                                   onMetadata, onError, this)
            : FLAC__stream_decoder_init_stream(dec_.get(), onRead, onSeek, onTell, onLength, onEof, onWrite,
                                               onMetadata, onError, this);
    if (s != FLAC__STREAM_DECODER_INIT_STATUS_OK) return false;
    if (!FLAC__stream_decoder_process_until_end_of_metadata(dec_.get())) return false;
    return haveInfo_ && rate_ > 0 && channels_ >= 1 && channels_ <= 8 && bits_ >= 4 && bits_ <= 32;
  }

  bool read(deckit::Block& b) override {
    if (atEnd_) return false;
    if (pendingFrames_ > 0) {  // what the last seek decoded from its target on
      fill(b);
      pendingFrames_ = 0;
      return true;
    }
    clearPending();
    while (pendingFrames_ == 0) {
      FLAC__StreamDecoderState st = FLAC__stream_decoder_get_state(dec_.get());
      if (st == FLAC__STREAM_DECODER_END_OF_STREAM || st >= FLAC__STREAM_DECODER_OGG_ERROR) return false;
      if (!FLAC__stream_decoder_process_single(dec_.get())) return false;
    }
    fill(b);
    pendingFrames_ = 0;
    return true;
  }

  bool seekMs(int64_t ms) override {
    uint64_t frame = deckit::msToFrames(ms, rate_);
    clearPending();
    atEnd_ = total_ > 0 && frame >= total_;
    if (atEnd_) return true;
    if (FLAC__stream_decoder_seek_absolute(dec_.get(), frame)) return true;
    // A failed seek (past the end of a stream of unknown length, damage)
    // leaves the decoder unusable until flushed; treat it as the end.
    FLAC__stream_decoder_flush(dec_.get());
    atEnd_ = true;
    return false;
  }

  int64_t lengthMs() const override { return deckit::framesToMs(total_, rate_); }

  int rate() const { return rate_; }
  int channels() const { return channels_; }
  int bits() const { return bits_; }
  uint64_t total() const { return total_; }
  const uint8_t* md5() const { return md5_; }
  const std::vector<std::pair<std::string, std::string>>& tags() const { return tags_; }
  const std::string& vendor() const { return vendor_; }

 private:
  void clearPending() {
    for (auto& plane : planes_) plane.clear();
    pendingFrames_ = 0;
  }

  // Packed little-endian samples as wide as the next whole byte; narrower
  // depths are shifted to full scale (8-bit WAVE data is unsigned).
  int containerBits() const { return bits_ <= 8 ? 8 : bits_ <= 16 ? 16 : bits_ <= 24 ? 24 : 32; }

  // The planes as decoded; the output stage writes the asked depth from them.
  void fill(deckit::Block& b) {
    for (int c = 0; c < channels_; ++c) planePointers_[c] = planes_[c].data();
    b.data = nullptr;
    b.planes = planePointers_;
    b.planeFirst = 0;
    b.planeShift = containerBits() - bits_;
    b.frames = pendingFrames_;
    b.rate = rate_;
    b.format = audioconv::PcmFormat{containerBits(), channels_, false};
  }

  FLAC__StreamDecoderWriteStatus write(const FLAC__Frame* frame, const FLAC__int32* const planes[]) {
    const unsigned n = frame->header.blocksize;
    if (static_cast<int>(frame->header.channels) != channels_ ||
        static_cast<int>(frame->header.bits_per_sample) != bits_)
      return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;  // the format may not change mid-stream
    for (int c = 0; c < channels_; ++c) planes_[c].insert(planes_[c].end(), planes[c], planes[c] + n);
    pendingFrames_ += n;
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
  }

  void metadata(const FLAC__StreamMetadata* m) {
    if (m->type == FLAC__METADATA_TYPE_STREAMINFO) {
      const auto& si = m->data.stream_info;
      rate_ = static_cast<int>(si.sample_rate);
      channels_ = static_cast<int>(si.channels);
      bits_ = static_cast<int>(si.bits_per_sample);
      total_ = si.total_samples;
      std::memcpy(md5_, si.md5sum, 16);
      haveInfo_ = true;
    } else if (m->type == FLAC__METADATA_TYPE_VORBIS_COMMENT) {
      const auto& vc = m->data.vorbis_comment;
      vendor_ = deckit::utf8ToAnsi(std::string_view(reinterpret_cast<const char*>(vc.vendor_string.entry),
                                                    vc.vendor_string.length));
      for (FLAC__uint32 i = 0; i < vc.num_comments; ++i) {
        std::string_view e(reinterpret_cast<const char*>(vc.comments[i].entry), vc.comments[i].length);
        size_t eq = e.find('=');
        if (eq == std::string_view::npos || eq == 0) continue;
        tags_.emplace_back(deckit::lowerAscii(e.substr(0, eq)), deckit::utf8ToAnsi(e.substr(eq + 1)));
      }
    }
  }

  static FlacDecoder* self(void* client) { return static_cast<FlacDecoder*>(client); }
  static FLAC__StreamDecoderReadStatus onRead(const FLAC__StreamDecoder*, FLAC__byte buf[], size_t* bytes, void* c) {
    if (*bytes == 0) return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
    *bytes = self(c)->file_.read(buf, *bytes);
    return *bytes == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
  }
  static FLAC__StreamDecoderSeekStatus onSeek(const FLAC__StreamDecoder*, FLAC__uint64 to, void* c) {
    return self(c)->file_.seek(static_cast<int64_t>(to), SEEK_SET) ? FLAC__STREAM_DECODER_SEEK_STATUS_OK
                                                                     : FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
  }
  static FLAC__StreamDecoderTellStatus onTell(const FLAC__StreamDecoder*, FLAC__uint64* at, void* c) {
    int64_t t = self(c)->file_.tell();
    if (t < 0) return FLAC__STREAM_DECODER_TELL_STATUS_ERROR;
    *at = static_cast<FLAC__uint64>(t);
    return FLAC__STREAM_DECODER_TELL_STATUS_OK;
  }
  static FLAC__StreamDecoderLengthStatus onLength(const FLAC__StreamDecoder*, FLAC__uint64* len, void* c) {
    int64_t s = self(c)->file_.size();
    if (s < 0) return FLAC__STREAM_DECODER_LENGTH_STATUS_ERROR;
    *len = static_cast<FLAC__uint64>(s);
    return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
  }
  static FLAC__bool onEof(const FLAC__StreamDecoder*, void* c) {
    return self(c)->file_.tell() >= self(c)->file_.size();
  }
  static FLAC__StreamDecoderWriteStatus onWrite(const FLAC__StreamDecoder*, const FLAC__Frame* f,
                                                const FLAC__int32* const planes[], void* c) {
    return self(c)->write(f, planes);
  }
  static void onMetadata(const FLAC__StreamDecoder*, const FLAC__StreamMetadata* m, void* c) { self(c)->metadata(m); }
  static void onError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {
    // Damaged frames are skipped by libFLAC; the rest of the stream still plays.
  }

  SourceFile file_;
  std::unique_ptr<FLAC__StreamDecoder, DecoderDeleter> dec_;
  std::vector<int32_t> planes_[8];  // decoded and not yet read, one per channel
  const int32_t* planePointers_[8] = {};
  size_t pendingFrames_ = 0;
  bool haveInfo_ = false;
  bool atEnd_ = false;
  int rate_ = 0, channels_ = 0, bits_ = 0;
  uint64_t total_ = 0;
  uint8_t md5_[16] = {};
  std::string vendor_;
  std::vector<std::pair<std::string, std::string>> tags_;
};

std::string formatText(int bits, int rate) {
  char khz[32];
  if (rate % 1000 == 0)
    std::snprintf(khz, sizeof khz, "%d", rate / 1000);
  else
    std::snprintf(khz, sizeof khz, "%.1f", rate / 1000.0);
  return "FLAC " + std::to_string(bits) + "/" + khz;
}

std::optional<deckit::FileFacts> probe(SourceFile& file, uint32_t request) {
  Container container = sniff(file);
  if (container == Container::none) return std::nullopt;
  const int64_t size = file.size();
  FlacDecoder dec(std::move(file));
  if (!dec.open(container, (request & (ZV_CHECK_TAG_TEXT | ZV_CHECK_DESCRIPTION | ZV_CHECK_INFO_TEXT)) != 0))
    return std::nullopt;
  deckit::FileFacts f;
  f.typeName = container == Container::ogg ? "Ogg FLAC audio file" : "FLAC audio file";
  f.codec = container == Container::ogg ? "FLAC (Ogg)" : "FLAC";
  f.rate = dec.rate();
  f.channels = dec.channels();
  f.bitsPerSample = dec.bits();
  f.lengthFrames = dec.total();
  f.formatText = formatText(dec.bits(), dec.rate());
  f.encoder = dec.vendor();
  f.tags = dec.tags();
  if (f.lengthFrames > 0 && f.rate > 0)  // the whole file over its play time
    f.bitrate = static_cast<int>(double(size) * 8 * f.rate / double(f.lengthFrames));
  char hex[40] = {};
  for (int i = 0; i < 16; ++i) std::snprintf(hex + 2 * i, 3, "%02x", dec.md5()[i]);
  f.extraInfo.push_back(std::string("MD5: ") + hex);
  return f;
}

std::unique_ptr<deckit::Decoder> open(SourceFile file, bool) {
  Container container = sniff(file);
  if (container == Container::none) return nullptr;
  auto dec = std::make_unique<FlacDecoder>(std::move(file));
  if (!dec->open(container, false)) return nullptr;
  return dec;
}

const deckit::PluginDef kPlugin{"FLAC decoder (FLAC, Ogg FLAC)", ".flac,.fla,.oga,.ogg", probe, open};

}  // namespace

}  // namespace flacdec

DECKIT_ENTRY_POINTS(flacdec::kPlugin)
