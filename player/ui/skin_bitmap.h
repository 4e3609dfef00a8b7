// Skin pictures. Bitmap files come from skins users download, so the reader
// checks every size and offset against the bytes it has and gives an empty
// picture for anything it does not understand.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "bitmap_codec.h"
#include "win32/owners.h"

namespace zv::ui {

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
