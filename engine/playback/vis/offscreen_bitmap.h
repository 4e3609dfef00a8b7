// A 32-bit top-down bitmap in a memory device context: drawn into directly
// through its pixels, then copied to a window in one BitBlt.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

#include "win32/owners.h"

namespace zv {

class OffscreenBitmap {
 public:
  OffscreenBitmap() = default;
  ~OffscreenBitmap() { reset(); }
  OffscreenBitmap(const OffscreenBitmap&) = delete;
  OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

  bool create(int32_t width, int32_t height);
  void reset();
  bool valid() const { return bits_ != nullptr; }
  uint32_t* pixels() const { return bits_; }  // 0x00RRGGBB, top row first

  // Copies the whole picture to the window's client area at (0, 0).
  void copyTo(HWND window) const;

 private:
  // Released in reverse: the bitmap leaves the DC before either is deleted.
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  std::optional<SelectedObject> selected_;
  uint32_t* bits_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace zv
