#include "control_art.h"

#include <algorithm>

#include "skinned_window.h"

namespace zv::ui {

namespace {
bool g_loaded = false;
}

void ControlArt::load(const std::string& root) {
  const std::string controls = root + "\\skins\\controls\\";
  button = SkinBitmap(loadBitmapFile(controls + "button.bmp"));
  knob = SkinBitmap(loadBitmapFile(controls + "knob.bmp"));
  check = SkinBitmap(loadBitmapFile(controls + "check.bmp"));
  sliderBk = SkinBitmap(loadBitmapFile(controls + "slider_bk.bmp"));
  sliderBkHot = SkinBitmap(loadBitmapFile(controls + "slider_bkh.bmp"));
  sliderThumb = SkinBitmap(loadBitmapFile(controls + "slider_th.bmp"));
  sliderThumbHot = SkinBitmap(loadBitmapFile(controls + "slider_thh.bmp"));
  confirm = SkinBitmap(loadBitmapFile(root + "\\skins\\misc\\confirm.bmp"));
  g_loaded = true;
}

ControlArt& controlArt() {
  static ControlArt art;
  if (!g_loaded) art.load(uiRootDir());
  return art;
}

int frameHeight(const SkinBitmap& picture, int frames) {
  if (picture.empty() || frames <= 0) return 0;
  return picture.height() / frames;
}

RECT frameRect(const SkinBitmap& picture, int frames, int index) {
  int h = frameHeight(picture, frames);
  index = std::clamp(index, 0, std::max(0, frames - 1));
  return {0, h * index, picture.width(), h * (index + 1)};
}

RECT cellRect(const SkinBitmap& picture, int columns, int rows, int column, int row) {
  if (picture.empty() || columns <= 0 || rows <= 0) return {0, 0, 0, 0};
  const int w = picture.width() / columns, h = picture.height() / rows;
  if (w <= 0 || h <= 0) return {0, 0, 0, 0};
  column = std::clamp(column, 0, columns - 1);
  row = std::clamp(row, 0, rows - 1);
  return {w * column, h * row, w * (column + 1), h * (row + 1)};
}

}  // namespace zv::ui
