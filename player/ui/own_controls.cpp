#include "own_controls.h"

#include <algorithm>
#include <cmath>

#include "gdi_text.h"
#include "skin_paint.h"

namespace zv::ui {

namespace {

COLORREF mixColor(COLORREF a, COLORREF b, int percentB) {
  auto ch = [&](int shift) {
    int x = (a >> shift) & 0xff, y = (b >> shift) & 0xff;
    return static_cast<COLORREF>((x * (100 - percentB) + y * percentB) / 100) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

void frameRectColor(HDC dc, RECT r, COLORREF color) {
  fillSolid(dc, {r.left, r.top, r.right, r.top + 1}, color);
  fillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, color);
  fillSolid(dc, {r.left, r.top, r.left + 1, r.bottom}, color);
  fillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, color);
}

void drawFocus(HDC dc, RECT r) {
  InflateRect(&r, -3, -3);
  if (r.right > r.left && r.bottom > r.top) DrawFocusRect(dc, &r);
}

void writeText(HDC dc, const std::string& text, RECT r, UINT format, COLORREF color) {
  SelectedObject font(dc, controlFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  drawActiveText(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

}  // namespace

HFONT controlFont() {
  static UniqueFont font = createSkinFont(SkinFontDesc{"Tahoma", 8});
  return font.get();
}

// Button

void TZButton::setPressed(bool on) {
  if (pressed_ != on) pressed_ = on, invalidate();
}

void TZButton::paint(HDC dc) {
  const ControlArt& art = controlArt();
  RECT r = rect();
  // Rows of button.bmp: normal, hilite, down, hilitedown, disabled.
  const int row = !enabled() ? 4 : pressed_ ? (hot() ? 3 : 2) : hot() ? 1 : 0;
  if (frameHeight(art.button, 5) > 0) {
    RECT source = frameRect(art.button, 5, row);
    LONG corner = std::max<LONG>(2, (source.bottom - source.top) / 4);
    drawNineSlice(dc, art.button, source, r, {corner, corner, corner, corner});
  } else {
    COLORREF face = row >= 2 && row <= 3 ? mixColor(art.face, art.accent, 45)
                    : row == 1           ? mixColor(art.face, RGB(255, 255, 255), 12)
                                         : art.face;
    fillSolid(dc, r, face);
    frameRectColor(dc, r, row == 1 || row == 2 || row == 3 ? art.accent : mixColor(art.face, RGB(255, 255, 255), 30));
  }
  RECT textRect = r;
  if (pressed_) OffsetRect(&textRect, 1, 1);
  writeText(dc, caption_, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
            enabled() ? art.text : mixColor(art.text, art.face, 55));
  if (focused()) drawFocus(dc, r);
}

void TZButton::mouseDown(POINT, bool right) {
  if (right) return;
  armed_ = true;
  setPressed(true);
}

void TZButton::mouseDrag(POINT, bool over) {
  if (armed_) setPressed(over);
}

void TZButton::mouseUp(POINT, bool over, bool right) {
  const bool click = armed_ && over && !right;
  armed_ = false;
  setPressed(false);
  if (click && onClick) onClick();
}

bool TZButton::key(UINT vk) {
  if (vk != VK_SPACE && vk != VK_RETURN) return false;
  if (onClick) onClick();
  return true;
}

// Check box

void TZCheck::setChecked(bool on) {
  if (checked_ == on) return;
  checked_ = on;
  invalidate();
  if (onChange) onChange(on);
}

void TZCheck::paint(HDC dc) {
  const ControlArt& art = controlArt();
  RECT r = rect();
  const int box = std::min<int>(r.bottom - r.top, 16);
  RECT boxRect{r.left, r.top + (r.bottom - r.top - box) / 2, r.left + box, r.top + (r.bottom - r.top - box) / 2 + box};
  // Cells of check.bmp: columns unchecked, checked; rows normal, hilite,
  // down, hilitedown, disabled.
  const int row = !enabled() ? 4 : pressed_ ? (hot() ? 3 : 2) : hot() ? 1 : 0;
  RECT cell = cellRect(art.check, 2, 5, checked_ ? 1 : 0, row);
  if (cell.right > cell.left) {
    stretchClipped(dc, art.check, cell, boxRect);
  } else {
    fillSolid(dc, boxRect, mixColor(art.face, RGB(0, 0, 0), 35));
    frameRectColor(dc, boxRect, hot() ? art.accent : mixColor(art.face, RGB(255, 255, 255), 35));
    if (checked_) {
      RECT mark = boxRect;
      InflateRect(&mark, -4, -4);
      fillSolid(dc, mark, art.accent);
    }
  }
  RECT textRect{boxRect.right + 6, r.top, r.right, r.bottom};
  writeText(dc, caption_, textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
            enabled() ? art.text : mixColor(art.text, art.face, 55));
  if (focused()) drawFocus(dc, {textRect.left - 3, r.top, r.right, r.bottom});
}

void TZCheck::mouseDown(POINT, bool right) {
  if (!right) pressed_ = true, invalidate();
}

void TZCheck::mouseDrag(POINT, bool over) {
  if (pressed_ != over) pressed_ = over, invalidate();
}

void TZCheck::mouseUp(POINT, bool over, bool right) {
  pressed_ = false;
  invalidate();
  if (over && !right) setChecked(!checked_);
}

bool TZCheck::key(UINT vk) {
  if (vk != VK_SPACE) return false;
  setChecked(!checked_);
  return true;
}

// Slider

void TZSlider::setRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  value_ = std::clamp(value_, min_, max_);
  invalidate();
}

bool TZSlider::setValue(int value) {
  value = std::clamp(value, min_, max_);
  if (value == value_) return false;
  value_ = value;
  invalidate();
  return true;
}

bool TZSlider::change(int value) {
  if (!setValue(value)) return false;
  if (onChange) onChange(value_);
  return true;
}

SIZE TZSlider::thumbSize() const {
  const ControlArt& art = controlArt();
  const SkinBitmap& picture = vertical_ ? art.sliderThumb : art.sliderThumbHot;
  RECT r = rect();
  const int across = vertical_ ? r.right - r.left : r.bottom - r.top;
  if (!picture.empty() && picture.width() >= 4) {
    // Four thumb pictures in a row.
    int w = picture.width() / 4, h = picture.height();
    return {std::min(w, static_cast<int>(r.right - r.left)), std::min(h, static_cast<int>(r.bottom - r.top))};
  }
  const int length = std::max(6, across / 2);
  return vertical_ ? SIZE{across, length} : SIZE{length, across};
}

RECT TZSlider::thumbRect() const {
  RECT r = rect();
  SIZE t = thumbSize();
  const long long range = static_cast<long long>(max_) - min_;
  const long long at = range > 0 ? static_cast<long long>(value_) - min_ : 0;
  if (vertical_) {
    const int span = std::max(0, static_cast<int>(r.bottom - r.top) - static_cast<int>(t.cy));
    int y = r.bottom - t.cy - (range > 0 ? static_cast<int>(span * at / range) : 0);
    int x = r.left + (r.right - r.left - t.cx) / 2;
    return {x, y, x + t.cx, y + t.cy};
  }
  const int span = std::max(0, static_cast<int>(r.right - r.left) - static_cast<int>(t.cx));
  int x = r.left + (range > 0 ? static_cast<int>(span * at / range) : 0);
  int y = r.top + (r.bottom - r.top - t.cy) / 2;
  return {x, y, x + t.cx, y + t.cy};
}

int TZSlider::valueAt(POINT p) const {
  RECT r = rect();
  SIZE t = thumbSize();
  const long long range = static_cast<long long>(max_) - min_;
  int span, at;
  if (vertical_) {
    span = std::max(1, static_cast<int>(r.bottom - r.top - t.cy));
    at = std::clamp(static_cast<int>(r.bottom - p.y - t.cy / 2), 0, span);
  } else {
    span = std::max(1, static_cast<int>(r.right - r.left - t.cx));
    at = std::clamp(static_cast<int>(p.x - r.left - t.cx / 2), 0, span);
  }
  return min_ + static_cast<int>((range * at + span / 2) / span);
}

void TZSlider::paint(HDC dc) {
  const ControlArt& art = controlArt();
  RECT r = rect();
  RECT thumb = thumbRect();
  if (showBackground_) {
    const SkinBitmap& track = vertical_ ? art.sliderBk : art.sliderBkHot;
    if (played_ != kNoColor || track.empty()) {
      // A groove: the played part (to the thumb's middle) and the rest.
      const COLORREF played = played_ != kNoColor ? (hot() && playedHot_ != kNoColor ? playedHot_ : played_)
                                                  : (hot() ? mixColor(art.accent, RGB(255, 255, 255), 20) : art.accent);
      const COLORREF rest = rest_ != kNoColor ? rest_ : mixColor(art.face, RGB(0, 0, 0), 40);
      if (vertical_) {
        const int cx = (r.left + r.right) / 2, mid = (thumb.top + thumb.bottom) / 2;
        fillSolid(dc, {cx - 2, r.top, cx + 2, mid}, rest);
        fillSolid(dc, {cx - 2, mid, cx + 2, r.bottom}, played);
      } else {
        const int cy = (r.top + r.bottom) / 2, mid = (thumb.left + thumb.right) / 2;
        fillSolid(dc, {r.left, cy - 2, mid, cy + 2}, played);
        fillSolid(dc, {mid, cy - 2, r.right, cy + 2}, rest);
      }
    } else if (vertical_) {
      const LONG end = std::min<LONG>(6, track.height() / 3);
      const int w = std::min<int>(track.width(), r.right - r.left);
      RECT dest{r.left + (r.right - r.left - w) / 2, r.top, 0, r.bottom};
      dest.right = dest.left + w;
      drawNineSlice(dc, track, {0, 0, track.width(), track.height()}, dest, {0, end, 0, end});
    } else {
      const LONG end = std::min<LONG>(6, track.width() / 3);
      const int h = std::min<int>(track.height(), r.bottom - r.top);
      RECT dest{r.left, r.top + (r.bottom - r.top - h) / 2, r.right, 0};
      dest.bottom = dest.top + h;
      drawNineSlice(dc, track, {0, 0, track.width(), track.height()}, dest, {end, 0, end, 0});
    }
  }
  if (showThumb_) {
    const SkinBitmap& picture = vertical_ ? art.sliderThumb : art.sliderThumbHot;
    const int state = dragging_ ? (hot() ? 3 : 2) : hot() ? 1 : 0;
    RECT cell = cellRect(picture, 4, 1, state, 0);
    if (cell.right > cell.left) {
      stretchClipped(dc, picture, cell, thumb);
    } else {
      fillSolid(dc, thumb, state ? mixColor(art.text, art.accent, 30) : art.text);
      frameRectColor(dc, thumb, mixColor(art.face, RGB(0, 0, 0), 30));
    }
  }
  if (focused()) drawFocus(dc, r);
}

void TZSlider::mouseDown(POINT p, bool right) {
  if (right) return;
  dragging_ = true;
  if (!change(valueAt(p))) invalidate();
}

void TZSlider::mouseDrag(POINT p, bool) {
  if (dragging_) change(valueAt(p));
}

void TZSlider::mouseUp(POINT, bool, bool) {
  dragging_ = false;
  invalidate();
}

void TZSlider::mouseWheel(int delta) { change(value_ + (delta > 0 ? step_ : -step_)); }

bool TZSlider::key(UINT vk) {
  const int page = std::max(step_, (max_ - min_) / 10);
  switch (vk) {
    case VK_LEFT: case VK_DOWN: change(value_ - step_); return true;
    case VK_RIGHT: case VK_UP: change(value_ + step_); return true;
    case VK_PRIOR: change(value_ + page); return true;
    case VK_NEXT: change(value_ - page); return true;
    case VK_HOME: change(min_); return true;
    case VK_END: change(max_); return true;
  }
  return false;
}

// Knob

bool TZKnob::setValue(int value) {
  value = std::clamp(value, min_, max_);
  if (value == value_) return false;
  value_ = value;
  invalidate();
  return true;
}

bool TZKnob::change(int value) {
  if (!setValue(value)) return false;
  if (onChange) onChange(value_);
  return true;
}

void TZKnob::paint(HDC dc) {
  const ControlArt& art = controlArt();
  RECT r = rect();
  const int size = std::min(r.right - r.left, r.bottom - r.top);
  RECT square{r.left + (r.right - r.left - size) / 2, r.top + (r.bottom - r.top - size) / 2, 0, 0};
  square.right = square.left + size;
  square.bottom = square.top + size;
  // knob.bmp: square cells, one column per position, rows normal, hilite,
  // down, hilitedown.
  const int cellSide = art.knob.empty() ? 0 : art.knob.height() / 4;
  const int positions = cellSide > 0 ? art.knob.width() / cellSide : 0;
  if (positions >= 2) {
    const long long range = std::max(1, max_ - min_);
    const int column = static_cast<int>(((static_cast<long long>(value_) - min_) * (positions - 1) + range / 2) / range);
    const int row = dragging_ ? (hot() ? 3 : 2) : hot() ? 1 : 0;
    stretchClipped(dc, art.knob, cellRect(art.knob, positions, 4, column, row), square);
    if (focused()) drawFocus(dc, r);
    return;
  }
  {
    UniqueBrush brush(CreateSolidBrush(hot() ? mixColor(art.face, RGB(255, 255, 255), 18) : mixColor(art.face, RGB(255, 255, 255), 8)));
    UniquePen pen(CreatePen(PS_SOLID, 1, mixColor(art.face, RGB(0, 0, 0), 40)));
    SelectedObject b(dc, brush.get());
    SelectedObject p(dc, pen.get());
    Ellipse(dc, square.left, square.top, square.right, square.bottom);
  }
  // The pointer: from 225 degrees (minimum) clockwise to -45 (maximum).
  const double range = std::max(1, max_ - min_);
  const double angle = (225.0 - 270.0 * (value_ - min_) / range) * 3.14159265358979 / 180.0;
  const int cx = (square.left + square.right) / 2, cy = (square.top + square.bottom) / 2;
  const double outer = size * 0.40, inner = size * 0.15;
  UniquePen pen(CreatePen(PS_SOLID, std::max(2, size / 12), art.accent));
  SelectedObject selected(dc, pen.get());
  MoveToEx(dc, cx + static_cast<int>(inner * std::cos(angle)), cy - static_cast<int>(inner * std::sin(angle)), nullptr);
  LineTo(dc, cx + static_cast<int>(outer * std::cos(angle)), cy - static_cast<int>(outer * std::sin(angle)));
  if (focused()) drawFocus(dc, r);
}

void TZKnob::mouseDown(POINT p, bool) {
  dragging_ = true;
  dragY_ = p.y;
  dragValue_ = value_;
  invalidate();
}

void TZKnob::mouseUp(POINT, bool, bool) {
  dragging_ = false;
  invalidate();
}

void TZKnob::mouseDrag(POINT p, bool) {
  // 150 pixels of travel span the whole range.
  const long long range = static_cast<long long>(max_) - min_;
  change(dragValue_ + static_cast<int>((dragY_ - p.y) * range / 150));
}

void TZKnob::mouseWheel(int delta) { change(value_ + (delta > 0 ? 1 : -1) * std::max(1, (max_ - min_) / 20)); }

bool TZKnob::key(UINT vk) {
  const int step = std::max(1, (max_ - min_) / 20);
  switch (vk) {
    case VK_LEFT: case VK_DOWN: change(value_ - step); return true;
    case VK_RIGHT: case VK_UP: change(value_ + step); return true;
    case VK_HOME: change(min_); return true;
    case VK_END: change(max_); return true;
  }
  return false;
}

// Static text and picture

void TZText::paint(HDC dc) {
  writeText(dc, text_, rect(), format_ | DT_WORDBREAK, color_ == kNoColor ? controlArt().text : color_);
}

void TZPicture::paint(HDC dc) {
  RECT r = rect();
  if (!picture_ || picture_->empty()) {
    // A plain question mark in a circle stands in for the picture.
    const ControlArt& art = controlArt();
    const int size = std::min(r.right - r.left, r.bottom - r.top);
    RECT c{r.left + (r.right - r.left - size) / 2, r.top + (r.bottom - r.top - size) / 2, 0, 0};
    c.right = c.left + size;
    c.bottom = c.top + size;
    UniqueBrush brush(CreateSolidBrush(art.accent));
    SelectedObject b(dc, brush.get());
    SelectedObject p(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, c.left, c.top, c.right, c.bottom);
    UniqueFont big = createSkinFont(SkinFontDesc{"Tahoma", std::max(6, size / 2), true});
    SelectedObject f(dc, big.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, "?", 1, &c, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  const int w = std::min<int>(picture_->width(), r.right - r.left), h = std::min<int>(picture_->height(), r.bottom - r.top);
  blitClipped(dc, *picture_, {0, 0, w, h}, {r.left + (r.right - r.left - w) / 2, r.top + (r.bottom - r.top - h) / 2});
}

}  // namespace zv::ui
