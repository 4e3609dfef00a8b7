// The equalizer's stored records as the player reads them and the output
// library then runs them: the 52-byte preset (preset files, "eqSave", a
// folder's "EQ" cache record; presetFromBytes) and the 108-byte block
// "dspData" (sanitizedBlock). Only 52-byte presets count; every gain read
// lies in its slider's range and stays there when read again; and the
// equalizer built from the result turns an impulse into finite samples and
// a finite response. Preset names typed are cleaned into file names.
// First byte: 0 a preset, 1 a block, then the record's bytes.
#include <cmath>
#include <cstring>

#include "eq_preset.h"
#include "eq_scale.h"
#include "equalizer.h"
#include "fuzz_check.h"

using namespace zv::eq;

namespace {

void checkGains(const ZvEqualizer& b) {
  for (int slider = kPreamp; slider < kBands; ++slider) {
    const float gain = slider == kPreamp ? b.preamp : b.gains[slider];
    ZV_FUZZ_CHECK(!std::isnan(gain));
    const int position = positionOfGain(gain);
    ZV_FUZZ_CHECK(position >= sliderMin(slider) && position <= sliderMax(slider));
    ZV_FUZZ_CHECK(labelOfGain(gain).size() <= 4);
  }
}

void run(const ZvEqualizer& block) {
  for (int rate : {8000, 44100, 96000})
    for (int channels : {1, 2}) {
      zvdsp::Equalizer eq;
      eq.configure(block, rate, channels);
      double frames[64 * 2] = {};
      frames[0] = 1.0;  // an impulse; the rest is its decay
      if (channels == 2) frames[1] = -1.0;
      eq.process(frames, 64);
      for (int i = 0; i < 64 * channels; ++i) ZV_FUZZ_CHECK(std::isfinite(frames[i]));
      for (double hz : {20.0, 1000.0, 20000.0}) ZV_FUZZ_CHECK(std::isfinite(eq.responseAt(hz)));
    }
}

}  // namespace

// A preset's name as typed becomes a file name: none of the characters a
// file name cannot hold, no blanks around it, and cleaning it again keeps it.
void checkName(const uint8_t* data, size_t size) {
  const std::string name = cleanPresetName(std::string(reinterpret_cast<const char*>(data), size));
  ZV_FUZZ_CHECK(name.find_first_of("*/:<>?\\|") == std::string::npos);
  if (!name.empty()) ZV_FUZZ_CHECK(name.front() != ' ' && name.front() != '\t' && name.back() != ' ' && name.back() != '\t');
  ZV_FUZZ_CHECK(cleanPresetName(name) == name);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  checkName(data + 1, size - 1);
  const bool isBlock = data[0] & 1;
  ++data, --size;
  ZvEqualizer block{};
  if (!isBlock) {
    std::optional<EqPreset> preset = presetFromBytes(data, size);
    ZV_FUZZ_CHECK(preset.has_value() == (size == kPresetBytes));
    if (!preset) return 0;
    block.enabled = -1;
    putPreset(block, *preset);
    checkGains(block);
    std::optional<EqPreset> again = presetFromBytes(&*preset, sizeof *preset);
    ZV_FUZZ_CHECK(again && std::memcmp(&*again, &*preset, sizeof *preset) == 0);
  } else {
    // configRec hands over the record only at its exact size.
    if (size != sizeof block) return 0;
    std::memcpy(&block, data, sizeof block);
    block = sanitizedBlock(block);
    ZV_FUZZ_CHECK(block.enabled == -1 || block.enabled == 0);
    for (int32_t off : block.bandOff) ZV_FUZZ_CHECK(off == -1 || off == 0);
    checkGains(block);
    ZvEqualizer again = sanitizedBlock(block);
    ZV_FUZZ_CHECK(std::memcmp(&again, &block, sizeof block) == 0);
  }
  run(block);
  return 0;
}
