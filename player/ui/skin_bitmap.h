// Skin pictures. Bitmap files come from skins users download, so the reader
// checks every size and offset against the bytes it has and gives an empty
// picture for anything it does not understand.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "win32/owners.h"

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

// Reads and decodes a file; empty when missing, too large or not accepted.
PixelImage loadBitmapFile(const std::string& path);

// A picture with the GDI bitmap made from it on first use.
class SkinBitmap {
 public:
  SkinBitmap() = default;
  explicit SkinBitmap(PixelImage image) : image_(std::move(image)) {}
  SkinBitmap(SkinBitmap&&) = default;
  SkinBitmap& operator=(SkinBitmap&&) = default;

  bool empty() const { return image_.empty(); }
  int width() const { return image_.width; }
  int height() const { return image_.height; }
  const PixelImage& image() const { return image_; }
  // A 32-bit DIB section of the picture; null when empty or out of memory.
  HBITMAP handle() const;
  // A memory DC with the picture selected, kept for drawing from it again
  // and again; null when there is no picture.
  HDC dc() const;

 private:
  PixelImage image_;
  mutable UniqueBitmap bitmap_;
  mutable UniqueMemoryDc dc_;  // declared after the bitmap: deleted before it
};

// A 32-bit top-down DIB section of that size; `bits` receives its pixels.
UniqueBitmap createDib(int width, int height, uint32_t** bits);

// Reads a file's bytes; nothing when missing or larger than `limit`.
bool readWholeFile(const std::string& path, std::string& out, size_t limit);
bool fileExists(const std::string& path);

}  // namespace zv::ui
