// The picture adjustments of the video window (brightness, contrast and
// colour, -1000..1000 each, 0 = unchanged) as swscale's 16.16 fixed-point
// colour-conversion parameters.
#pragma once

#include <cstdint>

namespace zvvideo {

struct PictureAdjust {
  int32_t brightness = 0, contrast = 0, color = 0;
  bool operator==(const PictureAdjust&) const = default;
};

struct SwsColorParams {
  int brightness;  // added to the luma: 0 none, +-65536 the full range
  int contrast;    // luma factor: 65536 = 1.0, 0..131072
  int saturation;  // chroma factor: 65536 = 1.0, 0..131072
};

// Values outside -1000..1000 are clamped.
SwsColorParams swsColorParams(const PictureAdjust& adjust);

}  // namespace zvvideo
