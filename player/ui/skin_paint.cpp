#include "skin_paint.h"

#include <algorithm>

namespace zv::ui {

namespace {

// Clips `source` to the bitmap and moves `dest` by what was cut on the left
// and top. False when nothing is left.
bool clipSource(const SkinBitmap& bitmap, RECT& source, POINT& dest) {
  if (bitmap.empty()) return false;
  RECT clipped{std::max<LONG>(source.left, 0), std::max<LONG>(source.top, 0),
               std::min<LONG>(source.right, bitmap.width()), std::min<LONG>(source.bottom, bitmap.height())};
  if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) return false;
  dest.x += clipped.left - source.left;
  dest.y += clipped.top - source.top;
  source = clipped;
  return true;
}

}  // namespace

void fillSolid(HDC dc, RECT r, COLORREF color) {
  COLORREF old = SetBkColor(dc, color);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void blitClipped(HDC dc, const SkinBitmap& bitmap, RECT source, POINT dest) {
  if (!clipSource(bitmap, source, dest) || !bitmap.dc()) return;
  BitBlt(dc, dest.x, dest.y, source.right - source.left, source.bottom - source.top, bitmap.dc(), source.left,
         source.top, SRCCOPY);
}

void stretchClipped(HDC dc, const SkinBitmap& bitmap, RECT source, RECT dest) {
  if (bitmap.empty() || !bitmap.handle() || dest.right <= dest.left || dest.bottom <= dest.top) return;
  RECT clipped{std::max<LONG>(source.left, 0), std::max<LONG>(source.top, 0),
               std::min<LONG>(source.right, bitmap.width()), std::min<LONG>(source.bottom, bitmap.height())};
  if (clipped.right <= clipped.left || clipped.bottom <= clipped.top || !bitmap.dc()) return;
  HDC mem = bitmap.dc();
  const int sw = clipped.right - clipped.left, sh = clipped.bottom - clipped.top;
  const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  if (sw == dw && sh == dh) {
    BitBlt(dc, dest.left, dest.top, dw, dh, mem, clipped.left, clipped.top, SRCCOPY);
    return;
  }
  int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, dest.left, dest.top, dw, dh, mem, clipped.left, clipped.top, sw, sh, SRCCOPY);
  SetStretchBltMode(dc, oldMode);
}

void drawNineSlice(HDC dc, const SkinBitmap& bitmap, RECT s, RECT d, RECT inset) {
  const LONG sw = s.right - s.left, sh = s.bottom - s.top;
  const LONG dw = d.right - d.left, dh = d.bottom - d.top;
  // Insets never exceed half of either rectangle.
  LONG l = std::clamp<LONG>(inset.left, 0, std::min(sw, dw) / 2), r = std::clamp<LONG>(inset.right, 0, std::min(sw, dw) / 2);
  LONG t = std::clamp<LONG>(inset.top, 0, std::min(sh, dh) / 2), b = std::clamp<LONG>(inset.bottom, 0, std::min(sh, dh) / 2);
  const LONG sx[4] = {s.left, s.left + l, s.right - r, s.right};
  const LONG sy[4] = {s.top, s.top + t, s.bottom - b, s.bottom};
  const LONG dx[4] = {d.left, d.left + l, d.right - r, d.right};
  const LONG dy[4] = {d.top, d.top + t, d.bottom - b, d.bottom};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col)
      stretchClipped(dc, bitmap, {sx[col], sy[row], sx[col + 1], sy[row + 1]},
                     {dx[col], dy[row], dx[col + 1], dy[row + 1]});
}

void fillGradient(HDC dc, RECT r, const std::array<COLORREF, 4>& c) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  // Bilinear between the corners, drawn in horizontal bands of one colour
  // per pixel column group: plain GDI, no extra library.
  auto mix = [](COLORREF a, COLORREF b, int num, int den) {
    auto ch = [&](int shift) {
      int x = (a >> shift) & 0xff, y = (b >> shift) & 0xff;
      return static_cast<COLORREF>(x + (y - x) * num / std::max(1, den)) << shift;
    };
    return ch(0) | ch(8) | ch(16);
  };
  for (int y = 0; y < h; ++y) {
    COLORREF left = mix(c[0], c[3], y, h - 1), right = mix(c[1], c[2], y, h - 1);
    const int step = std::max(1, w / 32);
    for (int x = 0; x < w; x += step) {
      RECT band{r.left + x, r.top + y, r.left + std::min(w, x + step), r.top + y + 1};
      fillSolid(dc, band, mix(left, right, x, w - 1));
    }
  }
}

void drawSkinBackground(HDC dc, const TSkin& skin, int width, int height, const RECT* area) {
  RECT all{0, 0, width, height};
  if (area) IntersectRect(&all, &all, area);
  if (skin.bitmap.empty()) {
    fillSolid(dc, all, RGB(40, 40, 40));
    return;
  }
  // Parts of the window the bitmap does not cover are filled, not left with
  // whatever the buffer held.
  if (width > skin.bitmap.width() || height > skin.bitmap.height()) fillSolid(dc, all, RGB(0, 0, 0));
  blitClipped(dc, skin.bitmap, all, {all.left, all.top});
}

void drawSkinControl(HDC dc, const TSkin& skin, const TSkinCtl& ctl, int width, int height, const RECT* area) {
  if (ctl.fill == sfNone) return;
  RECT bounds = ctl.bounds(width, height);
  if (bounds.right <= bounds.left || bounds.bottom <= bounds.top) return;
  RECT overlap;
  if (area && !IntersectRect(&overlap, &bounds, area)) return;
  int saved = 0;
  if (ctl.shapeKind == skPolygon) {
    std::vector<POINT> poly = ctl.polygon(width, height);
    UniqueRegion clip(CreatePolygonRgn(poly.data(), static_cast<int>(poly.size()), ALTERNATE));
    if (!clip) return;
    saved = SaveDC(dc);
    ExtSelectClipRgn(dc, clip.get(), RGN_AND);
  }
  const StatePicture& picture = ctl.picture();
  switch (ctl.fill) {
    case sfColor: fillSolid(dc, bounds, picture.color); break;
    case sfGradient: fillGradient(dc, bounds, picture.gradient); break;
    default: {
      // The picture at the control's top-left corner, no larger than the control.
      RECT source = picture.source;
      source.right = std::min<LONG>(source.right, source.left + (bounds.right - bounds.left));
      source.bottom = std::min<LONG>(source.bottom, source.top + (bounds.bottom - bounds.top));
      blitClipped(dc, skin.bitmap, source, {bounds.left, bounds.top});
      break;
    }
  }
  if (saved) RestoreDC(dc, saved);
}

}  // namespace zv::ui
