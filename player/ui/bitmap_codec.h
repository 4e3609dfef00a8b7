// The bitmap file form of skin pictures, apart from any window system: the
// bounds-checked reader and the writer. Bitmap files come from skins users
// download, so the reader checks every size and offset against the bytes it
// has and gives an empty picture for anything it does not understand.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zv::ui {

// Pixels as 0x00RRGGBB, top row first.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  bool empty() const { return pixels.empty(); }
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Pictures larger than this in either direction are refused.
inline constexpr int kBitmapSideLimit = 8192;

// Decodes an uncompressed "BM" file (1, 4, 8, 24 or 32 bits per pixel,
// bottom-up or top-down, BI_RGB or 32-bit BI_BITFIELDS). Any other or damaged
// content gives an empty image; never reads outside `data`.
PixelImage decodeBitmap(const uint8_t* data, size_t size);

// Encodes a 24-bit bottom-up "BM" file (for tests and the screenshot tools).
std::vector<uint8_t> encodeBitmap(const PixelImage& image);

}  // namespace zv::ui
