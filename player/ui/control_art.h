// Pictures of the program's own controls, from "<root>\skins\controls\"
// (button.bmp, knob.bmp, check.bmp, slider_bk.bmp, slider_bkh.bmp,
// slider_th.bmp, slider_thh.bmp) and "<root>\skins\misc\confirm.bmp".
// A missing or unreadable picture is empty, and the control draws a plain
// picture of its own instead, so the toolkit works without any art.
//
// Layouts (states in the order normal, hilite, down, hilitedown, and for
// buttons and check boxes disabled last):
// - button.bmp: five rows of equal height, drawn in nine parts around
//   corners of a quarter of the row's height;
// - check.bmp: square cells, two columns (unchecked, checked), five rows;
// - knob.bmp: square cells, one column per position from minimum to
//   maximum, four rows;
// - slider_bk.bmp / slider_bkh.bmp: the track of a vertical / horizontal
//   slider, its ends (up to 6 pixels) kept when stretched along it;
// - slider_th.bmp / slider_thh.bmp: the thumb of a vertical / horizontal
//   slider, four pictures in a row.
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
// A cell of a picture cut into `columns` x `rows` equal cells (empty when
// the picture is too small for them).
RECT cellRect(const SkinBitmap& picture, int columns, int rows, int column, int row);

}  // namespace zv::ui
