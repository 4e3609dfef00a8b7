// Where the video window puts the picture and itself: the picture rectangle
// sent to the playing instance (msgInSetVideoRect) and the window's place in
// the normal and double size modes. Pure arithmetic; a size of 0 anywhere
// gives no rectangle rather than a division by zero.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>

namespace zvplayer {

// Image controls 0..3: horizontal and vertical size (per mille of the fitted
// picture), horizontal and vertical position (per mille of the client area).
struct PictureZoom {
  int32_t hSize = 1000, vSize = 1000, hPos = 0, vPos = 0;
};

// The largest rectangle of the picture's proportions that fits the client
// area, scaled by the zoom, centred and moved. None when the client area or
// the picture has no size.
std::optional<RECT> pictureRect(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight,
                                const PictureZoom& zoom);

// Normal (scale 1) and double (scale 2) size: the window rectangle whose
// client area is the picture times `scale` (a picture without size counts as
// kFallbackWidth x kFallbackHeight), `frame` added around it (from
// AdjustWindowRectEx of an empty rectangle), centred on `centre`, then moved
// back inside `workArea` where it sticks out: left, top, right, bottom in
// that order (so a window larger than the work area keeps its right and
// bottom edges inside, as the order gives).
constexpr int kFallbackWidth = 320, kFallbackHeight = 240;
RECT framedWindowRect(int pictureWidth, int pictureHeight, double scale, const RECT& frame, POINT centre,
                      const RECT& workArea);

}  // namespace zvplayer
