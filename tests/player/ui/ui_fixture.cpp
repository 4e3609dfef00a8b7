#include "ui_fixture.h"

#include "testkit.h"

namespace uitest {

zv::ui::PixelImage solidImage(int width, int height, uint32_t rgb) {
  zv::ui::PixelImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * height, rgb);
  return image;
}

void paintRect(zv::ui::PixelImage& image, int x, int y, int w, int h, uint32_t rgb) {
  for (int yy = y; yy < y + h && yy < image.height; ++yy)
    for (int xx = x; xx < x + w && xx < image.width; ++xx)
      if (xx >= 0 && yy >= 0) image.pixels[static_cast<size_t>(yy) * image.width + xx] = rgb;
}

bool writeBmp(const std::string& path, const zv::ui::PixelImage& image) {
  std::vector<uint8_t> bytes = zv::ui::encodeBitmap(image);
  return zvtest::writeFile(path, bytes.data(), bytes.size());
}

bool writeText(const std::string& path, const std::string& text) { return zvtest::writeFile(path, text.data(), text.size()); }

void click(HWND window, int x, int y, WPARAM keys) {
  SendMessageA(window, WM_MOUSEMOVE, keys, at(x, y));
  SendMessageA(window, WM_LBUTTONDOWN, keys | MK_LBUTTON, at(x, y));
  SendMessageA(window, WM_LBUTTONUP, keys, at(x, y));
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace uitest
