// Pictures of the program's own controls, from "<root>\skins\controls\"
// (button.bmp, knob.bmp, check.bmp, slider_bk.bmp, slider_bkh.bmp,
// slider_th.bmp, slider_thh.bmp) and "<root>\skins\misc\confirm.bmp".
// A missing or unreadable picture is empty, and the control draws a plain
// picture of its own instead, so the toolkit works without any art.
//
// Layouts: button.bmp holds four frames of equal height stacked from top to
// bottom (normal, hot, pressed, disabled), drawn in nine parts around a
// corner of a quarter of the frame's height; check.bmp four square frames
// stacked the same way (off, off hot, on, on hot); knob.bmp one picture of
// the knob (the pointer is drawn over it); the slider pictures are one
// frame each, the track drawn in three parts around its height.
#pragma once
#include <string>

#include "skin_bitmap.h"

namespace zv::ui {

struct ControlArt {
  SkinBitmap button, knob, check, sliderBk, sliderBkHot, sliderThumb, sliderThumbHot, confirm;
  COLORREF text = RGB(225, 228, 235);
  COLORREF face = RGB(44, 48, 56);
  COLORREF accent = RGB(86, 156, 240);

  // Loads every picture under `root` (no final "\"); missing ones stay empty.
  void load(const std::string& root);
};

// The pictures the program's controls use; loaded from uiRootDir() on first
// use unless loaded before.
ControlArt& controlArt();

// The height of one of `frames` equal frames stacked in a picture (0 when
// the picture is empty or shorter than the frame count).
int frameHeight(const SkinBitmap& picture, int frames);
RECT frameRect(const SkinBitmap& picture, int frames, int index);

}  // namespace zv::ui
