// What a window shows on the screen (the skinned frame and its child
// controls together), read back from the screen and kept as a BMP file in
// the test's folder, where the screenshots of the tag windows are looked at.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tagwin {

struct Capture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // top-down, 0x00RRGGBB
  uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x] & 0xFFFFFF; }
};

// Brings the window to the front, lets it and its children paint, and reads
// its rectangle from the screen.
Capture captureWindow(HWND window);
// Writes the capture as "<testDir>\shots\<name>.bmp".
void keepCapture(const Capture& c, const std::string& name);
// How many pixels of the rectangle differ between two captures.
int differingPixels(const Capture& a, const Capture& b, const RECT& r);

}  // namespace tagwin
