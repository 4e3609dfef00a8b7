// What the visualisation tests share: the engine's kinds loaded once,
// skin bitmap files written from pixels, and windows whose pictures are read
// back pixel by pixel.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vistest {

// Calls initPlugins once per process; diagnostics go to a file of the test.
void ensurePlugins();
std::string diagnostics();

// A "BM" file of 24 bits per pixel (bottom-up) from 0x00RRGGBB pixels.
std::vector<uint8_t> bitmapFile24(int32_t width, int32_t height, const std::vector<uint32_t>& pixels,
                                  bool topDown = false);
// An 8-bit palette file; `indices` one byte per pixel.
std::vector<uint8_t> bitmapFile8(int32_t width, int32_t height, const std::vector<uint8_t>& indices,
                                 const std::vector<uint32_t>& palette);

// A visible top-level popup without a background of its own, owned by the
// calling thread, with the given client size.
class TestWindow {
 public:
  TestWindow(int32_t width, int32_t height, int32_t left = 40, int32_t top = 40);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND handle() const { return window_; }
  // The client area as 0x00RRGGBB, top row first.
  std::vector<uint32_t> pixels() const;
  void fill(uint32_t rgb) const;

 private:
  HWND window_ = nullptr;
  int32_t width_, height_;
};

// Takes every message waiting for this thread (windows included). Bus
// messages go to `busMessages` when given (the caller calls finishMsg),
// else they are finished at once.
void pumpMessages(std::vector<MSG>* busMessages = nullptr);

}  // namespace vistest
