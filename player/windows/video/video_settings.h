// The video window's stored values: the per-file "VIDSET" record of the
// information cache (64 bytes; words 0..3 are image controls 0..3, 32-bit
// little-endian, the rest zero) and the ranges of the seven image controls.
// Cache files are per folder and may come with the media, so a record is
// read only when it has exactly 64 bytes and its words are clamped to the
// slider ranges.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "video_layout.h"

namespace zvplayer {

constexpr int kImageControls = 7;
constexpr size_t kVidsetSize = 64;
constexpr char kVidsetName[] = "VIDSET";

// Slider range of image control `index` (0..6): 500..2000 for the sizes,
// -1000..1000 for the positions and the three adjustments.
struct ControlRange {
  int32_t low, high;
};
ControlRange controlRange(int index);
int32_t clampControl(int index, int32_t value);

// The label beside the slider: the value / 10 as "%5.1f%%".
std::string controlLabel(int32_t value);

// True when the zoom is at its defaults (the record is then deleted).
bool isDefaultZoom(const PictureZoom& zoom);

std::vector<uint8_t> encodeVidset(const PictureZoom& zoom);
// None for a record of any other size than 64 bytes.
std::optional<PictureZoom> decodeVidset(const uint8_t* data, size_t size);

// The statistics line: picture size, frame rates [9] and [7] / 100, dropped
// [10], synchronisation [11], bit rate [8].
std::string statisticsLine(int width, int height, int32_t rate9, int32_t rate7, int32_t dropped, int32_t syncMs,
                           int32_t kbps);

}  // namespace zvplayer
