#include "playback/vis/offscreen_bitmap.h"

namespace zv {

bool OffscreenBitmap::create(int32_t width, int32_t height) {
  reset();
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_.reset(CreateCompatibleDC(nullptr));
  if (!dc_) return false;
  bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || !bits) {
    reset();
    return false;
  }
  selected_.emplace(dc_.get(), bitmap_.get());
  bits_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

void OffscreenBitmap::reset() {
  selected_.reset();
  bitmap_.reset();
  dc_.reset();
  bits_ = nullptr;
  width_ = height_ = 0;
}

void OffscreenBitmap::copyTo(HWND window) const {
  if (!valid()) return;
  WindowDc target(window);
  if (!target) return;
  GdiFlush();  // our writes to the pixels must be complete before the copy
  BitBlt(target.get(), 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

}  // namespace zv
