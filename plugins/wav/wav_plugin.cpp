// wav.dec on the shared decoder kit: the kit owns the entry points, the file
// and the conversion to the format the engine asks for; this file reads the
// sample data of a RIFF WAVE file in blocks, as it is stored.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "entry_points.h"
#include "wav_file.h"

namespace wav {
namespace {

// Frames per block handed to the kit: large enough that a read costs little,
// small enough that a seek or a conversion never holds much.
constexpr uint64_t kBlockFrames = 4096;

class WavDecoder final : public deckit::Decoder {
 public:
  WavDecoder(deckit::SourceFile file, const Layout& layout) : file_(std::move(file)), layout_(layout) {}

  bool read(deckit::Block& block) override {
    const uint64_t want = std::min<uint64_t>(kBlockFrames, layout_.frames - next_);
    if (want == 0) return false;
    const size_t frameBytes = static_cast<size_t>(layout_.format.bytesPerFrame());
    raw_.resize(static_cast<size_t>(want) * frameBytes);
    const uint64_t got = file_.readAt(static_cast<int64_t>(layout_.dataOffset + next_ * frameBytes), raw_.data(),
                                      raw_.size()) / frameBytes;
    if (got < want) layout_.frames = next_ + got;  // the file shrank under us: end there
    if (got == 0) return false;
    block.data = raw_.data();
    block.format = layout_.format;
    block.frames = static_cast<size_t>(got);
    block.rate = layout_.rate;
    next_ += got;
    return true;
  }

  bool seekMs(int64_t ms) override {
    next_ = std::min<uint64_t>(layout_.frames, deckit::msToFrames(ms, layout_.rate));
    return true;
  }

  int64_t lengthMs() const override { return lengthMsOf(layout_); }

 private:
  deckit::SourceFile file_;
  Layout layout_;
  uint64_t next_ = 0;  // next frame to read
  std::vector<uint8_t> raw_;
};

template <size_t N>
void setText(char (&field)[N], const std::string& text) {
  const size_t n = std::min(text.size(), N - 1);
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

std::optional<deckit::FileFacts> probe(deckit::SourceFile& file, uint32_t request) {
  Layout l;
  if (!readLayout(file, l)) return std::nullopt;
  // A compressed file is described, but not claimed as playable.
  if ((request & ZV_CHECK_PLAYABLE) && !l.playable()) return std::nullopt;
  deckit::FileFacts f;
  f.typeName = "WAVE audio";
  f.formatText = formatText(l);
  f.rate = l.rate;
  f.channels = l.format.channels;
  f.bitsPerSample = l.format.bits;
  f.lengthFrames = l.frames;
  return f;
}

std::unique_ptr<deckit::Decoder> open(deckit::SourceFile file, bool) {
  Layout l;
  if (!readLayout(file, l) || !l.playable()) return nullptr;
  return std::make_unique<WavDecoder>(std::move(file), l);
}

// The texts wav.dec has always given, kept over the kit's: its own info
// lines, the length cut (not rounded) to whole milliseconds, and no tag or
// description texts (a WAVE file's own chunks carry none we read).
void fillCheck(const deckit::FileFacts& f, ZvFileCheckRec& rec) {
  const uint32_t ms = f.rate > 0 ? static_cast<uint32_t>(f.lengthFrames * 1000 / uint64_t(f.rate)) : 0;
  if (rec.request & ZV_CHECK_TYPE_NAME) setText(rec.typeName, f.typeName);
  if (rec.request & ZV_CHECK_FORMAT_TEXT) setText(rec.formatText, f.formatText);
  if (rec.request & ZV_CHECK_LENGTH) rec.lengthMs = ms;
  if (rec.request & ZV_CHECK_INFO_TEXT) {
    char text[512];
    std::snprintf(text, sizeof(text),
                  "Format: %s\nChannels: %d\nSample rate: %d Hz\nBits per sample: %d\nLength: %u:%02u\nFrames: %llu",
                  f.formatText.c_str(), f.channels, f.rate, f.bitsPerSample, ms / 60000, ms / 1000 % 60,
                  static_cast<unsigned long long>(f.lengthFrames));
    setText(rec.infoText, text);
  }
}

const deckit::PluginDef kPlugin{"RIFF WAVE decoder (PCM and floating point)", ".wav,.wave", probe, open, fillCheck};

}  // namespace
}  // namespace wav

DECKIT_ENTRY_POINTS(wav::kPlugin)

// wav.dec has always exported comConfig, with no settings to show; it stays,
// so the engine sees the library as before.
ZVEXPORT int32_t ZVAPI comConfig(ZvConfigRec*) { return ZV_PLUGIN_DONE; }
