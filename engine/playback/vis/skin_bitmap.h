// Bitmap files of a skin ("mask.bmp", "active.bmp", "inactive.bmp"): these
// come from skins users download, so anything unexpected loads as nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zv {

// Pixels as 0x00RRGGBB, top row first.
struct PixelImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels;

  bool empty() const { return pixels.empty(); }
};

// Decodes an uncompressed "BM" file with one plane and 8 (palette) or 24 bits
// per pixel, bottom-up or top-down. Any other or damaged content gives an
// empty image; never reads outside `data`.
PixelImage decodeBitmap(const uint8_t* data, size_t size);

// Reads and decodes a file; empty when it is missing, too large or not one
// of the accepted kinds.
PixelImage loadBitmapFile(const std::string& path);

}  // namespace zv
