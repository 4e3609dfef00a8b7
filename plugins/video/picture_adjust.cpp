#include "picture_adjust.h"

#include <algorithm>

namespace zvvideo {

SwsColorParams swsColorParams(const PictureAdjust& adjust) {
  auto unit = [](int32_t v) { return int64_t(std::clamp<int32_t>(v, -1000, 1000)); };
  SwsColorParams p;
  // Brightness moves the luma by up to a whole range; contrast and colour
  // scale from nothing (-1000) through unchanged (0) to double (1000).
  p.brightness = static_cast<int>(unit(adjust.brightness) * 65536 / 1000);
  p.contrast = static_cast<int>((1000 + unit(adjust.contrast)) * 65536 / 1000);
  p.saturation = static_cast<int>((1000 + unit(adjust.color)) * 65536 / 1000);
  return p;
}

}  // namespace zvvideo
