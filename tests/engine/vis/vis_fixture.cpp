#include "vis_fixture.h"

#include <cstring>
#include <mutex>

#include "testkit.h"
#include "win32/owners.h"
#include "zv_plugins.h"

namespace vistest {
namespace {
std::string g_log;
std::once_flag g_once;

void put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}
void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

std::vector<uint8_t> headers(int32_t width, int32_t height, int bits, uint32_t paletteEntries, size_t pixelBytes) {
  const size_t offset = 14 + 40 + 4 * paletteEntries;
  std::vector<uint8_t> b(offset + pixelBytes, 0);
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 2, uint32_t(b.size()));
  put32(b, 10, uint32_t(offset));
  put32(b, 14, 40);
  put32(b, 18, uint32_t(width));
  put32(b, 22, uint32_t(height));
  put16(b, 26, 1);
  put16(b, 28, uint32_t(bits));
  put32(b, 46, paletteEntries);
  return b;
}

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_ERASEBKGND) return 1;  // the picture is the visualiser's
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(w, &ps);
    EndPaint(w, &ps);
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}
}  // namespace

void ensurePlugins() {
  std::call_once(g_once, [] {
    g_log = zvtest::testDir() + "\\diagnostics.txt";
    DeleteFileA(g_log.c_str());
    SetEnvironmentVariableA("ZVENGINE_LOG", g_log.c_str());
    initPlugins();
  });
}

std::string diagnostics() {
  auto bytes = zvtest::readFile(g_log);
  return std::string(bytes.begin(), bytes.end());
}

std::vector<uint8_t> bitmapFile24(int32_t width, int32_t height, const std::vector<uint32_t>& pixels, bool topDown) {
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  auto b = headers(width, topDown ? -height : height, 24, 0, stride * size_t(height));
  const size_t base = 54;
  for (int32_t y = 0; y < height; ++y) {
    const size_t row = base + stride * size_t(topDown ? y : height - 1 - y);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t p = pixels[size_t(y * width + x)];
      b[row + size_t(x) * 3] = uint8_t(p);
      b[row + size_t(x) * 3 + 1] = uint8_t(p >> 8);
      b[row + size_t(x) * 3 + 2] = uint8_t(p >> 16);
    }
  }
  return b;
}

std::vector<uint8_t> bitmapFile8(int32_t width, int32_t height, const std::vector<uint8_t>& indices,
                                 const std::vector<uint32_t>& palette) {
  const size_t stride = (size_t(width) + 3) & ~size_t(3);
  auto b = headers(width, height, 8, uint32_t(palette.size()), stride * size_t(height));
  for (size_t i = 0; i < palette.size(); ++i) put32(b, 54 + 4 * i, palette[i]);
  const size_t base = 54 + 4 * palette.size();
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      b[base + stride * size_t(height - 1 - y) + size_t(x)] = indices[size_t(y * width + x)];
  return b;
}

TestWindow::TestWindow(int32_t width, int32_t height, int32_t left, int32_t top) : width_(width), height_(height) {
  static std::once_flag registered;
  std::call_once(registered, [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = plainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZvVisTestWindow";
    RegisterClassA(&wc);
  });
  RECT r = {0, 0, width, height};
  AdjustWindowRectEx(&r, WS_POPUP, FALSE, 0);
  window_ = CreateWindowExA(0, "ZvVisTestWindow", "vis test", WS_POPUP | WS_VISIBLE, left, top, r.right - r.left,
                            r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  pumpMessages();
}

TestWindow::~TestWindow() {
  if (window_) DestroyWindow(window_);
  pumpMessages();
}

std::vector<uint32_t> TestWindow::pixels() const {
  std::vector<uint32_t> out(size_t(width_) * size_t(height_), 0);
  zv::WindowDc screen(window_);
  zv::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  zv::UniqueBitmap bitmap(CreateDIBSection(memory.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  zv::SelectedObject selected(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width_, height_, screen.get(), 0, 0, SRCCOPY);
  GdiFlush();
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF;
  return out;
}

void TestWindow::fill(uint32_t rgb) const {
  zv::WindowDc dc(window_);
  zv::UniqueBrush brush(CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF)));
  RECT r = {0, 0, width_, height_};
  FillRect(dc.get(), &r, brush.get());
}

void pumpMessages(std::vector<MSG>* busMessages) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    const bool bus = msg.message >= 6024 && msg.message <= 8024;
    if (bus && busMessages) {
      busMessages->push_back(msg);  // the caller reads and finishes it
    } else if (msg.hwnd && !bus) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      finishMsg(&msg);
    }
  }
}

}  // namespace vistest
