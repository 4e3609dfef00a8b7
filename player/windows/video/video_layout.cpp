#include "video_layout.h"

#include <cmath>

namespace zvplayer {
namespace {

// Kept at 64 bits: a picture of extreme proportions (its sides come from the
// stream) gives a quotient beyond 32 bits before the fit cuts it down.
int64_t roundDiv(int64_t num, int64_t den) {
  // Rounded to the nearest, halves away from zero; den > 0.
  return (num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den));
}

}  // namespace

std::optional<RECT> pictureRect(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight,
                                const PictureZoom& zoom) {
  if (clientWidth <= 0 || clientHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return std::nullopt;
  int64_t w = clientWidth;
  int64_t h = roundDiv(int64_t(clientWidth) * pictureHeight, pictureWidth);
  if (h > clientHeight) {
    h = clientHeight;
    w = roundDiv(int64_t(clientHeight) * pictureWidth, pictureHeight);
  }
  w = roundDiv(w * zoom.hSize, 1000);
  h = roundDiv(h * zoom.vSize, 1000);
  const int64_t left = (clientWidth - w) / 2 + roundDiv(int64_t(zoom.hPos) * clientWidth, 1000);
  const int64_t top = (clientHeight - h) / 2 + roundDiv(int64_t(zoom.vPos) * clientHeight, 1000);
  return RECT{LONG(left), LONG(top), LONG(left + w), LONG(top + h)};
}

RECT framedWindowRect(int pictureWidth, int pictureHeight, double scale, const RECT& frame, POINT centre,
                      const RECT& workArea) {
  if (pictureWidth <= 0 || pictureHeight <= 0) {
    pictureWidth = kFallbackWidth;
    pictureHeight = kFallbackHeight;
  }
  const LONG clientW = LONG(std::lround(pictureWidth * scale)), clientH = LONG(std::lround(pictureHeight * scale));
  const LONG w = clientW + (frame.right - frame.left), h = clientH + (frame.bottom - frame.top);
  RECT r{centre.x - w / 2, centre.y - h / 2, 0, 0};
  r.right = r.left + w;
  r.bottom = r.top + h;
  auto shift = [&](LONG dx, LONG dy) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  };
  if (r.left < workArea.left) shift(workArea.left - r.left, 0);
  if (r.top < workArea.top) shift(0, workArea.top - r.top);
  if (r.right > workArea.right) shift(workArea.right - r.right, 0);
  if (r.bottom > workArea.bottom) shift(0, workArea.bottom - r.bottom);
  return r;
}

}  // namespace zvplayer
