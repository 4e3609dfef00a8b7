// Equalizer presets: the 52-byte record (preamp and the 12 band gains,
// float32), as a file of its own under "<user dir>\eqpreset\" or as the
// "EQ" information-cache record of a folder; and the 108-byte block
// ("dspData") made safe before the output library gets it.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "zvdsp.h"

namespace zv::eq {

struct EqPreset {
  float preamp = 1.0f;
  float gains[ZV_EQ_BANDS] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
};
static_assert(sizeof(EqPreset) == 52);

constexpr size_t kPresetBytes = sizeof(EqPreset);

EqPreset flatPreset();
// A record counts only when it is exactly 52 bytes; its gains are clamped
// to the sliders' ranges (NaN: flat).
std::optional<EqPreset> presetFromBytes(const void* data, size_t size);
EqPreset presetOf(const ZvEqualizer& block);
void putPreset(ZvEqualizer& block, const EqPreset& preset);

// The block as the sliders can show it: on/off and the band switches are
// -1 or 0, the gains clamped. The band width is passed on as it is.
ZvEqualizer sanitizedBlock(const ZvEqualizer& block);

// A name typed for a preset: each of * / : < > ? \ | becomes "-" (the name
// is a file name); surrounding blanks go.
std::string cleanPresetName(const std::string& typed);

// The preset files of a folder (sub-folders skipped), sorted without case.
std::vector<std::string> listPresetFiles(const std::string& folder);
// nullopt for a missing file or one of another size than 52 bytes.
std::optional<EqPreset> readPresetFile(const std::string& path);
// Creates the folder when needed; false when the file could not be written.
bool writePresetFile(const std::string& folder, const std::string& name, const EqPreset& preset);

}  // namespace zv::eq
