// The preset record and the block made safe: pure, so that the host build
// can fuzz them; the preset files are in eq_preset_files.cpp.
#include "eq_preset.h"

#include <algorithm>
#include <cstring>

#include "eq_scale.h"

namespace zv::eq {

EqPreset flatPreset() { return EqPreset{}; }

std::optional<EqPreset> presetFromBytes(const void* data, size_t size) {
  if (!data || size != kPresetBytes) return std::nullopt;
  EqPreset p;
  std::memcpy(&p, data, kPresetBytes);
  p.preamp = clampGain(p.preamp, kPreamp);
  for (int b = 0; b < kBands; ++b) p.gains[b] = clampGain(p.gains[b], b);
  return p;
}

EqPreset presetOf(const ZvEqualizer& block) {
  EqPreset p;
  p.preamp = block.preamp;
  std::copy(std::begin(block.gains), std::end(block.gains), p.gains);
  return p;
}

void putPreset(ZvEqualizer& block, const EqPreset& preset) {
  block.preamp = preset.preamp;
  std::copy(std::begin(preset.gains), std::end(preset.gains), block.gains);
}

ZvEqualizer sanitizedBlock(const ZvEqualizer& block) {
  ZvEqualizer b = block;
  b.enabled = b.enabled ? -1 : 0;
  b.preamp = clampGain(b.preamp, kPreamp);
  for (int i = 0; i < kBands; ++i) {
    b.gains[i] = clampGain(b.gains[i], i);
    b.bandOff[i] = b.bandOff[i] ? -1 : 0;
  }
  return b;
}

std::string cleanPresetName(const std::string& typed) {
  std::string name = typed;
  for (char& c : name)
    if (std::strchr("*/:<>?\\|", c) && c) c = '-';
  const size_t first = name.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return name.substr(first, name.find_last_not_of(" \t") - first + 1);
}

}  // namespace zv::eq
