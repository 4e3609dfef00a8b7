// Shared by the toolkit's tests: small skins written by the tests
// themselves (flat-coloured BMPs made in code plus skin texts) and helpers
// for driving real windows with mouse messages.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "skin_bitmap.h"

namespace uitest {

// A picture of one colour (0xRRGGBB).
zv::ui::PixelImage solidImage(int width, int height, uint32_t rgb);
// Paints a rectangle of the picture.
void paintRect(zv::ui::PixelImage& image, int x, int y, int w, int h, uint32_t rgb);
bool writeBmp(const std::string& path, const zv::ui::PixelImage& image);
bool writeText(const std::string& path, const std::string& text);

// COLORREF of 0xRRGGBB.
inline COLORREF rgbOf(uint32_t rgb) { return RGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff); }

inline LPARAM at(int x, int y) { return MAKELPARAM(x, y); }
// Sends a press and release at a point (left button).
void click(HWND window, int x, int y, WPARAM keys = 0);
// Handles pending messages of this thread (paints included).
void pump();

// Skips the test when there is no display.
#define UI_NEED_DISPLAY()                                                   \
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display: window tests need Xvfb"

}  // namespace uitest
