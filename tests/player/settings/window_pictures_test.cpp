// The settings and resources usage windows as they appear on the screen:
// every page is captured from the display into "<test dir>\pictures\*.bmp"
// (people look at them), and each page must draw something of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "debugstat/debug_stat_window.h"
#include "settings_fixture.h"
#include "setup/setup_window.h"
#include "testkit.h"
#include "win32/owners.h"

using namespace zv;

namespace {

void settle(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  GdiFlush();
}

// The window's rectangle of the screen as 32-bit pixels, written as a BMP.
std::vector<uint32_t> capture(HWND window, const std::string& file) {
  settle(window);
  RECT r;
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  WindowDc screen(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, w, h, screen.get(), r.left, r.top, SRCCOPY);
  }
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + w * h);
  BITMAPFILEHEADER head{};
  head.bfType = 0x4D42;
  head.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  head.bfSize = head.bfOffBits + static_cast<DWORD>(pixels.size() * 4);
  std::string bytes(reinterpret_cast<const char*>(&head), sizeof(head));
  bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
  bytes.append(reinterpret_cast<const char*>(pixels.data()), pixels.size() * 4);
  zvtest::writeFile(file, bytes.data(), bytes.size());
  return pixels;
}

size_t differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  size_t n = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += (a[i] & 0xffffff) != (b[i] & 0xffffff);
  return n;
}

TEST(WindowPictures, everyPageDrawsItsOwnControls) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  settingstest::ensureEngine();
  const std::string dir = zvtest::freshDir("pictures");
  SetupContext context;
  context.root = zvtest::rootDir();
  context.playerExe = zvtest::rootDir() + "\\bin\\zorvak.exe";
  context.language = "en";
  context.decoders = [] { return std::vector<ExtensionSource>{{"MPEG audio", ".mp3,.mp2"}, {"FLAC", ".flac"}}; };
  TSetupWnd setup(std::move(context));
  ASSERT_TRUE(setup.open(nullptr));
  SetWindowPos(setup.hwnd(), HWND_TOPMOST, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  std::vector<std::vector<uint32_t>> pages;
  for (int p = 0; p < TSetupWnd::pageCount; ++p) {
    setup.showPage(p);
    pages.push_back(capture(setup.hwnd(), dir + "\\setup-page" + std::to_string(p + 1) + ".bmp"));
  }
  for (int p = 1; p < TSetupWnd::pageCount; ++p) EXPECT_GT(differing(pages[0], pages[p]), 500u) << "page " << p + 1;
  setup.openAdvanced();
  ASSERT_NE(setup.advancedWindow(), nullptr);
  SetWindowPos(setup.advancedWindow()->hwnd(), HWND_TOPMOST, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  capture(setup.advancedWindow()->hwnd(), dir + "\\advanced.bmp");

  TDebugStatWnd debug(zvtest::rootDir(), engineDebugStatSource(), {}, "en");
  ASSERT_TRUE(debug.open(nullptr));
  SetWindowPos(debug.hwnd(), HWND_TOPMOST, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  const auto threads = capture(debug.hwnd(), dir + "\\debugstat-threads.bmp");
  debug.showPage(1);
  const auto memory = capture(debug.hwnd(), dir + "\\debugstat-memory.bmp");
  EXPECT_GT(differing(threads, memory), 200u);
}

}  // namespace
