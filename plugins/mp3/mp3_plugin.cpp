// MPEG audio layers I-III through libmpg123: gapless (encoder delay and
// padding of a LAME/Info header are trimmed), exact lengths and sample-exact
// seeking from a frame index built by scanning the file once at open.
#include <mpg123.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "entry_points.h"
#include "mpeg_header.h"
#include "text_convert.h"

namespace mp3 {

namespace {

using deckit::SourceFile;

// Junk before the first frame that still plays (the library's own default
// gives up after 1 KiB).
constexpr long kResyncLimit = 256 * 1024;
constexpr size_t kSniffBytes = 64 * 1024;

ssize_t readCallback(void* handle, void* buf, size_t count) {
  return static_cast<ssize_t>(static_cast<SourceFile*>(handle)->read(buf, count));
}
off_t seekCallback(void* handle, off_t offset, int whence) {
  auto* f = static_cast<SourceFile*>(handle);
  return f->seek(offset, whence) ? static_cast<off_t>(f->tell()) : off_t(-1);
}

struct HandleDeleter {
  void operator()(mpg123_handle* h) const {
    mpg123_close(h);
    mpg123_delete(h);
  }
};
using Mpg123Ptr = std::unique_ptr<mpg123_handle, HandleDeleter>;

// Cheap content test: ID3v2 skipped, then a chain of frame headers near the
// start. Other formats fail here without touching the decoder library.
bool looksLikeMpeg(SourceFile& file, FrameHeader& first, std::vector<uint8_t>& head) {
  head.resize(kSniffBytes);
  head.resize(file.readAt(0, head.data(), head.size()));
  size_t tag = id3v2Size(head.data(), head.size());
  if (tag > 0 && tag + 16 > head.size()) {  // a large tag (pictures): look behind it
    head.resize(kSniffBytes);
    head.resize(file.readAt(static_cast<int64_t>(tag), head.data(), head.size()));
    tag = 0;
  }
  static const char* kOtherFormats[] = {"RIFF", "fLaC", "OggS", "FORM", "MThd", "MAC ", "wvpk"};
  for (const char* magic : kOtherFormats)
    if (head.size() >= tag + 4 && std::memcmp(head.data() + tag, magic, 4) == 0) return false;
  const bool complete = static_cast<int64_t>(head.size()) == file.size();
  long at = findFirstFrame(head.data() + tag, head.size() - tag, complete);
  if (at < 0) return false;
  parseFrameHeader(head.data() + tag + at, first);
  head.erase(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(tag + static_cast<size_t>(at)));
  return true;
}

// The encoder named in the first frame's LAME/Lavc tag ("LAME3.100").
std::string encoderName(const std::vector<uint8_t>& frame) {
  size_t limit = std::min<size_t>(frame.size(), 2048);
  for (const char* tag : {"LAME", "Lavc", "Lavf", "GOGO"}) {
    for (size_t i = 0; i + 4 <= limit; ++i) {
      if (std::memcmp(frame.data() + i, tag, 4) != 0) continue;
      std::string name;
      for (size_t j = i; j < limit && j < i + 9 && frame[j] >= 0x20 && frame[j] < 0x7F; ++j) name += char(frame[j]);
      while (!name.empty() && name.back() == ' ') name.pop_back();
      return name;
    }
  }
  return "";
}

std::string vbrHeaderName(const std::vector<uint8_t>& frame) {
  size_t limit = std::min<size_t>(frame.size(), 200);
  for (const char* tag : {"Xing", "Info", "VBRI"})
    for (size_t i = 0; i + 4 <= limit; ++i)
      if (std::memcmp(frame.data() + i, tag, 4) == 0) return tag;
  return "";
}

void initLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { mpg123_init(); });
}

// A decoder handle reading `file`, set to one output encoding for every rate.
Mpg123Ptr openHandle(SourceFile& file, int encoding) {
  initLibrary();
  int err = 0;
  Mpg123Ptr mh(mpg123_new(nullptr, &err));
  if (!mh) return nullptr;
  mpg123_param(mh.get(), MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
  mpg123_param(mh.get(), MPG123_RESYNC_LIMIT, kResyncLimit, 0);
  mpg123_format_none(mh.get());
  const long* rates = nullptr;
  size_t count = 0;
  mpg123_rates(&rates, &count);
  for (size_t i = 0; i < count; ++i) mpg123_format(mh.get(), rates[i], MPG123_MONO | MPG123_STEREO, encoding);
  if (mpg123_replace_reader_handle(mh.get(), readCallback, seekCallback, nullptr) != MPG123_OK) return nullptr;
  if (!file.seek(0, SEEK_SET) || mpg123_open_handle(mh.get(), &file) != MPG123_OK) return nullptr;
  return mh;
}

class Mp3Decoder final : public deckit::Decoder {
 public:
  Mp3Decoder(SourceFile file, bool preferFloat)
      : file_(std::move(file)), encoding_(preferFloat ? MPG123_ENC_FLOAT_32 : MPG123_ENC_SIGNED_16) {}

  bool open() {
    mh_ = openHandle(file_, encoding_);
    if (!mh_ || !updateFormat()) return false;
    // One pass over the headers: exact length (gapless-trimmed) and the index
    // that makes every seek land on the exact sample.
    if (mpg123_scan(mh_.get()) != MPG123_OK) return false;
    off_t len = mpg123_length(mh_.get());
    length_ = len > 0 ? static_cast<uint64_t>(len) : 0;
    buffer_.resize(static_cast<size_t>(mpg123_outblock(mh_.get())) * 4);
    return true;
  }

  bool read(deckit::Block& b) override {
    if (atEnd_) return false;
    size_t done = 0;
    int r = mpg123_read(mh_.get(), buffer_.data(), buffer_.size(), &done);
    if (r == MPG123_NEW_FORMAT) {
      if (!updateFormat()) return endNow();
    } else if (r != MPG123_OK && done == 0) {
      return endNow();  // the end, or nothing more that decodes
    }
    b.data = buffer_.data();
    b.format = format_;
    b.rate = rate_;
    b.frames = done / static_cast<size_t>(format_.bytesPerFrame());
    return true;
  }

  bool seekMs(int64_t ms) override {
    uint64_t frame = deckit::msToFrames(ms, rate_);
    atEnd_ = frame >= length_;
    if (atEnd_) return true;
    return mpg123_seek(mh_.get(), static_cast<off_t>(frame), SEEK_SET) >= 0;
  }

  int64_t lengthMs() const override { return deckit::framesToMs(length_, rate_); }

 private:
  bool endNow() {
    atEnd_ = true;
    return false;
  }
  bool updateFormat() {
    long rate = 0;
    int channels = 0, enc = 0;
    if (mpg123_getformat(mh_.get(), &rate, &channels, &enc) != MPG123_OK || rate <= 0 || channels <= 0) return false;
    rate_ = static_cast<int>(rate);
    format_ = audioconv::PcmFormat{enc == MPG123_ENC_FLOAT_32 ? 32 : 16, channels, enc == MPG123_ENC_FLOAT_32};
    return true;
  }

  SourceFile file_;  // before mh_: the handle reads it until it is closed
  int encoding_;
  Mpg123Ptr mh_;
  std::vector<unsigned char> buffer_;
  audioconv::PcmFormat format_;
  int rate_ = 0;
  uint64_t length_ = 0;
  bool atEnd_ = false;
};

std::string versionName(const FrameHeader& h) {
  return h.version == 10 ? "MPEG-1" : h.version == 20 ? "MPEG-2" : "MPEG-2.5";
}

void addTag(deckit::FileFacts& f, const char* name, const mpg123_string* v2, const char* v1, size_t v1Size) {
  std::string value;
  if (v2 && v2->p && v2->fill > 1) value = deckit::utf8ToAnsi(std::string_view(v2->p, strnlen(v2->p, v2->fill)));
  if (value.empty() && v1) {
    value = deckit::latin1ToAnsi(std::string_view(v1, strnlen(v1, v1Size)));
    while (!value.empty() && value.back() == ' ') value.pop_back();
  }
  if (!value.empty()) f.tags.emplace_back(name, value);
}

std::optional<deckit::FileFacts> probe(SourceFile& file, uint32_t request) {
  FrameHeader first;
  std::vector<uint8_t> head;
  if (!looksLikeMpeg(file, first, head)) return std::nullopt;
  Mpg123Ptr mh = openHandle(file, MPG123_ENC_FLOAT_32);
  long rate = 0;
  int channels = 0, enc = 0;
  if (!mh || mpg123_getformat(mh.get(), &rate, &channels, &enc) != MPG123_OK) return std::nullopt;

  deckit::FileFacts f;
  const char* layers[] = {"", "I", "II", "III"};
  f.codec = versionName(first) + " Layer " + layers[first.layer];
  f.typeName = first.layer == 3 ? "MP3 audio file" : first.layer == 2 ? "MP2 audio file" : "MP1 audio file";
  f.rate = static_cast<int>(rate);
  f.channels = channels;
  f.encoder = encoderName(head);
  std::string vbrHeader = vbrHeaderName(head);
  if (!vbrHeader.empty()) f.extraInfo.push_back("Header: " + vbrHeader);
  mpg123_frameinfo info{};
  if (mpg123_info(mh.get(), &info) == MPG123_OK) {
    const char* modes[] = {"stereo", "joint stereo", "dual channel", "mono"};
    if (info.mode >= 0 && info.mode <= 3) f.extraInfo.push_back(std::string("Mode: ") + modes[info.mode]);
    if (info.vbr != MPG123_CBR) f.extraInfo.push_back("Bit rate mode: VBR");
  }
  // The length needs the whole file's headers unless only cheap facts are asked.
  const uint32_t needLength = ZV_CHECK_LENGTH | ZV_CHECK_INFO_TEXT | ZV_CHECK_FORMAT_TEXT;
  if (request & needLength) {
    mpg123_scan(mh.get());
    off_t len = mpg123_length(mh.get());
    f.lengthFrames = len > 0 ? static_cast<uint64_t>(len) : 0;
    if (f.lengthFrames > 0) {
      double seconds = double(f.lengthFrames) / f.rate;
      f.bitrate = static_cast<int>(double(file.size()) * 8 / seconds);
    }
  }
  if (info.vbr == MPG123_CBR && first.bitrateKbps > 0 && vbrHeader != "Xing" && vbrHeader != "VBRI")
    f.bitrate = first.bitrateKbps * 1000;
  f.formatText = "MP" + std::to_string(first.layer) + (f.bitrate > 0 ? " " + std::to_string((f.bitrate + 500) / 1000) + " kbps" : "");

  if (request & (ZV_CHECK_TAG_TEXT | ZV_CHECK_DESCRIPTION)) {
    mpg123_id3v1* v1 = nullptr;
    mpg123_id3v2* v2 = nullptr;
    mpg123_meta_check(mh.get());
    if (mpg123_id3(mh.get(), &v1, &v2) == MPG123_OK) {
      addTag(f, "title", v2 ? v2->title : nullptr, v1 ? v1->title : nullptr, 30);
      addTag(f, "artist", v2 ? v2->artist : nullptr, v1 ? v1->artist : nullptr, 30);
      addTag(f, "album", v2 ? v2->album : nullptr, v1 ? v1->album : nullptr, 30);
      addTag(f, "year", v2 ? v2->year : nullptr, v1 ? v1->year : nullptr, 4);
      addTag(f, "comment", v2 ? v2->comment : nullptr, v1 ? v1->comment : nullptr, 28);
    }
  }
  return f;
}

std::unique_ptr<deckit::Decoder> open(SourceFile file, bool preferFloat) {
  FrameHeader first;
  std::vector<uint8_t> head;
  if (!looksLikeMpeg(file, first, head)) return nullptr;
  auto dec = std::make_unique<Mp3Decoder>(std::move(file), preferFloat);
  if (!dec->open()) return nullptr;
  return dec;
}

const deckit::PluginDef kPlugin{"MPEG audio decoder (MP3, MP2, MP1)", ".mp3,.mp2,.mp1,.mpa", probe, open};

}  // namespace

}  // namespace mp3

DECKIT_ENTRY_POINTS(mp3::kPlugin)
