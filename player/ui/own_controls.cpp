#include "own_controls.h"

#include <algorithm>
#include <cmath>

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
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

}  // namespace

HFONT controlFont() {
  static UniqueFont font = createSkinFont(SkinFontSpec{"Tahoma", 8});
  return font.get();
}

// Button

void TZButton::setPressed(bool on) {
  if (pressed_ != on) pressed_ = on, invalidate();
}

void TZButton::paint(HDC dc) {
  const ControlArt& art = controlArt();
  RECT r = rect();
  const int state = !enabled() ? 3 : pressed_ ? 2 : hot() ? 1 : 0;
  if (frameHeight(art.button, 4) > 0) {
    RECT source = frameRect(art.button, 4, state);
    LONG corner = std::max<LONG>(2, (source.bottom - source.top) / 4);
    drawNineSlice(dc, art.button, source, r, {corner, corner, corner, corner});
  } else {
    COLORREF face = state == 2 ? mixColor(art.face, art.accent, 45) : state == 1 ? mixColor(art.face, RGB(255, 255, 255), 12) : art.face;
    fillSolid(dc, r, face);
    frameRectColor(dc, r, state == 1 || state == 2 ? art.accent : mixColor(art.face, RGB(255, 255, 255), 30));
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
  if (frameHeight(art.check, 4) > 0) {
    stretchClipped(dc, art.check, frameRect(art.check, 4, (checked_ ? 2 : 0) + (hot() ? 1 : 0)), boxRect);
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
  writeText(dc, caption_, textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE, art.text);
  if (focused()) drawFocus(dc, {textRect.left - 3, r.top, r.right, r.bottom});
}

void TZCheck::mouseUp(POINT, bool over, bool right) {
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

RECT TZSlider::thumbRect() const {
  const ControlArt& art = controlArt();
  RECT r = rect();
  const int h = r.bottom - r.top;
  int tw = art.sliderThumb.empty() ? std::max(6, h / 2) : std::min<int>(art.sliderThumb.width(), r.right - r.left);
  int th = art.sliderThumb.empty() ? h : std::min(art.sliderThumb.height(), h);
  const int span = std::max(0, static_cast<int>(r.right - r.left) - tw);
  const long long range = static_cast<long long>(max_) - min_;
  int x = r.left + (range > 0 ? static_cast<int>(span * (static_cast<long long>(value_) - min_) / range) : 0);
  int y = r.top + (h - th) / 2;
  return {x, y, x + tw, y + th};
}

int TZSlider::valueAt(int x) const {
  RECT r = rect();
  RECT thumb = thumbRect();
  const int tw = thumb.right - thumb.left;
  const int span = std::max(1, static_cast<int>(r.right - r.left) - tw);
  const int at = std::clamp(static_cast<int>(x - r.left - tw / 2), 0, span);
  return min_ + static_cast<int>((static_cast<long long>(max_) - min_) * at / span);
}

void TZSlider::paint(HDC dc) {
  const ControlArt& art = controlArt();
  RECT r = rect();
  const int h = r.bottom - r.top;
  if (showBackground_) {
    const SkinBitmap& track = hot() && !art.sliderBkHot.empty() ? art.sliderBkHot : art.sliderBk;
    if (!track.empty()) {
      LONG side = std::min<LONG>(track.height() / 2, track.width() / 3);
      RECT dest{r.left, r.top + (h - track.height()) / 2, r.right, r.top + (h - track.height()) / 2 + track.height()};
      if (track.height() > h) dest = r;
      drawNineSlice(dc, track, {0, 0, track.width(), track.height()}, dest, {side, 0, side, 0});
    } else {
      RECT groove{r.left, r.top + h / 2 - 2, r.right, r.top + h / 2 + 2};
      fillSolid(dc, groove, mixColor(art.face, RGB(0, 0, 0), 40));
      RECT done = groove;
      done.right = (thumbRect().left + thumbRect().right) / 2;
      fillSolid(dc, done, hot() ? mixColor(art.accent, RGB(255, 255, 255), 20) : art.accent);
    }
  }
  if (showThumb_) {
    RECT thumb = thumbRect();
    const SkinBitmap& picture = hot() && !art.sliderThumbHot.empty() ? art.sliderThumbHot : art.sliderThumb;
    if (!picture.empty())
      stretchClipped(dc, picture, {0, 0, picture.width(), picture.height()}, thumb);
    else {
      fillSolid(dc, thumb, hot() ? mixColor(art.text, art.accent, 30) : art.text);
      frameRectColor(dc, thumb, mixColor(art.face, RGB(0, 0, 0), 30));
    }
  }
  if (focused()) drawFocus(dc, r);
}

void TZSlider::mouseDown(POINT p, bool right) {
  if (!right) change(valueAt(p.x));
}

void TZSlider::mouseDrag(POINT p, bool) { change(valueAt(p.x)); }

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
  if (!art.knob.empty()) {
    stretchClipped(dc, art.knob, {0, 0, art.knob.width(), art.knob.height()}, square);
  } else {
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
  dragY_ = p.y;
  dragValue_ = value_;
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
    UniqueFont big = createSkinFont(SkinFontSpec{"Tahoma", std::max(6, size / 2), true});
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
