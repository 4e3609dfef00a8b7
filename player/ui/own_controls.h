// The program's own controls, window-less elements of a skinned window:
// push button, check box, knob, slider, static text and picture. They draw
// from the control pictures (control_art.h) or, without them, plainly.
#pragma once
#include <algorithm>
#include <functional>
#include <string>

#include "control_art.h"
#include "skin_font.h"
#include "ui_element.h"

namespace zv::ui {

// The font the own controls write with (created once).
HFONT controlFont();

class TZButton : public UiElement {
 public:
  explicit TZButton(std::string caption = {}) : caption_(std::move(caption)) {}
  void setCaption(std::string caption) {
    caption_ = std::move(caption);
    invalidate();
  }
  const std::string& caption() const { return caption_; }
  bool pressed() const { return pressed_; }
  std::function<void()> onClick;

  bool focusable() const override { return true; }
  void paint(HDC dc) override;
  void mouseDown(POINT, bool right) override;
  void mouseDrag(POINT, bool over) override;
  void mouseUp(POINT, bool over, bool right) override;
  bool key(UINT vk) override;

 private:
  void setPressed(bool on);
  std::string caption_;
  bool pressed_ = false, armed_ = false;
};

class TZCheck : public UiElement {
 public:
  explicit TZCheck(std::string caption = {}, bool checked = false) : caption_(std::move(caption)), checked_(checked) {}
  bool checked() const { return checked_; }
  void setChecked(bool on);
  std::function<void(bool)> onChange;

  bool focusable() const override { return true; }
  void paint(HDC dc) override;
  void mouseDown(POINT, bool right) override;
  void mouseDrag(POINT, bool over) override;
  void mouseUp(POINT, bool over, bool right) override;
  bool key(UINT vk) override;

 private:
  std::string caption_;
  bool checked_;
  bool pressed_ = false;
};

// A value in [min, max] on a horizontal track (left to right) or a vertical
// one (bottom to top).
class TZSlider : public UiElement {
 public:
  TZSlider(int min = 0, int max = 100, int value = 0, bool vertical = false)
      : min_(min), max_(std::max(min, max)), value_(std::clamp(value, min_, max_)), vertical_(vertical) {}
  bool vertical() const { return vertical_; }
  int value() const { return value_; }
  void setRange(int min, int max);
  // Clamped to the range; false when nothing changed.
  bool setValue(int value);
  void setStep(int step) { step_ = std::max(1, step); }
  // The position slider of the main window shows neither.
  void setShowThumb(bool on) { showThumb_ = on, invalidate(); }
  void setShowBackground(bool on) { showBackground_ = on, invalidate(); }
  // Draws the track as a groove of colours (played part, played part under
  // the mouse, the rest) instead of the track picture; kNoColor: picture.
  void setTrackColors(COLORREF played, COLORREF playedHot, COLORREF rest) {
    played_ = played, playedHot_ = playedHot, rest_ = rest;
    invalidate();
  }
  std::function<void(int)> onChange;

  bool focusable() const override { return true; }
  void paint(HDC dc) override;
  void mouseDown(POINT p, bool right) override;
  void mouseDrag(POINT p, bool over) override;
  void mouseUp(POINT, bool, bool) override;
  void mouseWheel(int delta) override;
  bool key(UINT vk) override;
  // The value at a point of the track.
  int valueAt(POINT p) const;
  RECT thumbRect() const;

 private:
  bool change(int value);
  SIZE thumbSize() const;
  int min_, max_, value_, step_ = 1;
  bool vertical_;
  bool showThumb_ = true, showBackground_ = true, dragging_ = false;
  COLORREF played_ = kNoColor, playedHot_ = kNoColor, rest_ = kNoColor;
};

// A value in [min, max] turned by dragging up or down, by the wheel or keys.
class TZKnob : public UiElement {
 public:
  TZKnob(int min = 0, int max = 100, int value = 0) : min_(min), max_(std::max(min, max)), value_(value) {}
  int value() const { return value_; }
  bool setValue(int value);
  std::function<void(int)> onChange;

  bool focusable() const override { return true; }
  void paint(HDC dc) override;
  void mouseDown(POINT p, bool right) override;
  void mouseDrag(POINT p, bool over) override;
  void mouseUp(POINT, bool, bool) override;
  void mouseWheel(int delta) override;
  bool key(UINT vk) override;

 private:
  bool change(int value);
  int min_, max_, value_;
  int dragY_ = 0, dragValue_ = 0;
  bool dragging_ = false;
};

class TZText : public UiElement {
 public:
  explicit TZText(std::string text = {}, UINT format = DT_LEFT) : text_(std::move(text)), format_(format) {}
  void setText(std::string text) {
    text_ = std::move(text);
    invalidate();
  }
  const std::string& text() const { return text_; }
  void setColor(COLORREF color) { color_ = color, invalidate(); }
  void paint(HDC dc) override;

 private:
  std::string text_;
  UINT format_;
  COLORREF color_ = kNoColor;
};

// A picture (the confirm picture of the auto-play window), centred.
class TZPicture : public UiElement {
 public:
  explicit TZPicture(const SkinBitmap* picture) : picture_(picture) {}
  void paint(HDC dc) override;

 private:
  const SkinBitmap* picture_;
};

}  // namespace zv::ui
