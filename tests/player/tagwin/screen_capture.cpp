#include "screen_capture.h"

#include <algorithm>
#include <cstring>

#include "testkit.h"
#include "win32/owners.h"

namespace tagwin {

namespace {
void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
}  // namespace

Capture captureWindow(HWND window) {
  ShowWindow(window, SW_SHOW);
  SetWindowPos(window, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pump();
  // The X server composes the window after Wine drew it: wait until two
  // reads agree.
  Capture c, previous;
  RECT r;
  GetWindowRect(window, &r);
  c.width = r.right - r.left, c.height = r.bottom - r.top;
  for (int attempt = 0; attempt < 50; ++attempt) {
    pump();
    zv::WindowDc screen(nullptr);
    zv::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = c.width;
    bi.bmiHeader.biHeight = -c.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    zv::UniqueBitmap dib(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
      zv::SelectedObject keep(memory.get(), dib.get());
      BitBlt(memory.get(), 0, 0, c.width, c.height, screen.get(), r.left, r.top, SRCCOPY);
      GdiFlush();
    }
    c.pixels.assign(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + size_t(c.width) * c.height);
    if (attempt > 0 && c.pixels == previous.pixels) break;
    previous = c;
  }
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  return c;
}

void keepCapture(const Capture& c, const std::string& name) {
  const std::string dir = zvtest::testDir() + "\\shots";
  CreateDirectoryA(dir.c_str(), nullptr);
  const uint32_t rowBytes = uint32_t(c.width) * 4, imageBytes = rowBytes * c.height;
  std::vector<uint8_t> file(54 + imageBytes, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
  file[0] = 'B', file[1] = 'M';
  put32(2, uint32_t(file.size())), put32(10, 54), put32(14, 40), put32(18, uint32_t(c.width));
  put32(22, uint32_t(-c.height));
  file[26] = 1, file[28] = 32;
  std::memcpy(&file[54], c.pixels.data(), imageBytes);
  zvtest::writeFile(dir + "\\" + name + ".bmp", file.data(), file.size());
}

int differingPixels(const Capture& a, const Capture& b, const RECT& r) {
  int n = 0;
  for (int y = std::max<LONG>(0, r.top); y < std::min<LONG>(r.bottom, std::min(a.height, b.height)); ++y)
    for (int x = std::max<LONG>(0, r.left); x < std::min<LONG>(r.right, std::min(a.width, b.width)); ++x)
      if (a.at(x, y) != b.at(x, y)) ++n;
  return n;
}

}  // namespace tagwin
