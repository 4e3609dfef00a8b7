#include "bitmap_codec.h"

// BI_RGB and BI_BITFIELDS, as the system's headers name them.
#include <windows.h>

namespace zv::ui {

namespace {

uint32_t read32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}
void put16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}

}  // namespace

PixelImage decodeBitmap(const uint8_t* data, size_t size) {
  PixelImage none;
  if (!data || size < 14 + 40 || data[0] != 'B' || data[1] != 'M') return none;
  const uint32_t pixelOffset = read32(data + 10);
  const uint32_t headerSize = read32(data + 14);
  if (headerSize < 40 || headerSize > size - 14) return none;
  const int32_t width = static_cast<int32_t>(read32(data + 18));
  const int32_t rawHeight = static_cast<int32_t>(read32(data + 22));
  const uint16_t planes = read16(data + 26);
  const uint16_t bits = read16(data + 28);
  const uint32_t compression = read32(data + 30);
  uint32_t colorsUsed = read32(data + 46);
  if (planes != 1 || width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return none;
  const bool topDown = rawHeight < 0;
  const int32_t height = topDown ? -rawHeight : rawHeight;
  if (width > kBitmapSideLimit || height > kBitmapSideLimit) return none;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return none;
  if (!(compression == BI_RGB || (compression == BI_BITFIELDS && bits == 32))) return none;

  // The palette follows the header; a 32-bit BI_BITFIELDS file with a 40-byte
  // header keeps its three masks there.
  std::vector<uint32_t> palette;
  size_t paletteAt = 14 + headerSize;
  if (compression == BI_BITFIELDS && headerSize == 40) paletteAt += 12;
  if (bits <= 8) {
    const uint32_t maxColors = 1u << bits;
    if (colorsUsed == 0 || colorsUsed > maxColors) colorsUsed = maxColors;
    if (paletteAt > size || (size - paletteAt) / 4 < colorsUsed) return none;
    palette.resize(maxColors, 0);
    for (uint32_t i = 0; i < colorsUsed; ++i) palette[i] = read32(data + paletteAt + 4 * i) & 0xffffffu;
  }
  if (compression == BI_BITFIELDS) {
    // Only the usual byte order is accepted (red 0xff0000, green, blue).
    const size_t masksAt = 14 + 40;
    if (masksAt + 12 > size || read32(data + masksAt) != 0xff0000u || read32(data + masksAt + 4) != 0xff00u ||
        read32(data + masksAt + 8) != 0xffu)
      return none;
  }

  const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
  if (pixelOffset > size || stride * static_cast<uint64_t>(height) > size - pixelOffset) return none;

  PixelImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    const int32_t fileRow = topDown ? y : height - 1 - y;
    const uint8_t* row = data + pixelOffset + stride * static_cast<uint64_t>(fileRow);
    uint32_t* out = image.pixels.data() + static_cast<size_t>(y) * width;
    for (int32_t x = 0; x < width; ++x) {
      switch (bits) {
        case 32: out[x] = read32(row + 4 * x) & 0xffffffu; break;
        case 24: out[x] = row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16); break;
        case 8: out[x] = palette[row[x]]; break;
        case 4: out[x] = palette[(row[x / 2] >> ((x & 1) ? 0 : 4)) & 0xf]; break;
        default: out[x] = palette[(row[x / 8] >> (7 - (x & 7))) & 1]; break;
      }
    }
  }
  return image;
}

std::vector<uint8_t> encodeBitmap(const PixelImage& image) {
  const size_t stride = ((static_cast<size_t>(image.width) * 3 + 3) / 4) * 4;
  const size_t pixelBytes = stride * image.height;
  std::vector<uint8_t> file(54 + pixelBytes, 0);
  file[0] = 'B';
  file[1] = 'M';
  put32(file, 2, static_cast<uint32_t>(file.size()));
  put32(file, 10, 54);
  put32(file, 14, 40);
  put32(file, 18, static_cast<uint32_t>(image.width));
  put32(file, 22, static_cast<uint32_t>(image.height));
  put16(file, 26, 1);
  put16(file, 28, 24);
  put32(file, 34, static_cast<uint32_t>(pixelBytes));
  for (int y = 0; y < image.height; ++y) {
    uint8_t* row = file.data() + 54 + stride * (image.height - 1 - y);
    for (int x = 0; x < image.width; ++x) {
      uint32_t c = image.at(x, y);
      row[3 * x] = static_cast<uint8_t>(c);
      row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
    }
  }
  return file;
}

}  // namespace zv::ui
