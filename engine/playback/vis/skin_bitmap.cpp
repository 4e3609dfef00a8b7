#include "playback/vis/skin_bitmap.h"

#include <windows.h>

#include <cstring>

#include "foundation/file_io.h"
#include "win32/owners.h"

namespace zv {
namespace {

// A visualiser window is a few hundred pixels; this only keeps a hostile
// header from asking for gigabytes.
constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxFileBytes = 64 << 20;

uint32_t u32At(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t u16At(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

PixelImage decodeBitmap(const uint8_t* data, size_t size) {
  constexpr size_t kFileHeader = 14;
  constexpr size_t kInfoHeader = 40;
  if (!data || size < kFileHeader + kInfoHeader || data[0] != 'B' || data[1] != 'M') return {};
  const uint8_t* info = data + kFileHeader;
  const uint32_t infoSize = u32At(info);
  const int64_t width = int32_t(u32At(info + 4));
  const int64_t rawHeight = int32_t(u32At(info + 8));
  const uint16_t planes = u16At(info + 12);
  const uint16_t bits = u16At(info + 14);
  const uint32_t compression = u32At(info + 16);
  uint32_t colorsUsed = u32At(info + 32);
  const uint32_t pixelOffset = u32At(data + 10);

  // Version 3 to 5 headers share the first 40 bytes; older or odd sizes are refused.
  if (infoSize < kInfoHeader || infoSize > size - kFileHeader) return {};
  if (planes != 1 || compression != 0 || (bits != 8 && bits != 24)) return {};
  const int64_t height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (width <= 0 || width > kMaxSide || height == 0 || height > kMaxSide) return {};

  uint32_t palette[256] = {};
  if (bits == 8) {
    if (colorsUsed == 0) colorsUsed = 256;
    if (colorsUsed > 256) return {};
    const uint64_t paletteStart = kFileHeader + uint64_t(infoSize);
    if (paletteStart + 4ull * colorsUsed > size) return {};
    for (uint32_t i = 0; i < colorsUsed; ++i) palette[i] = u32At(data + paletteStart + 4 * i) & 0xFFFFFF;
  }

  const uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
  if (uint64_t(pixelOffset) + stride * uint64_t(height) > size) return {};

  PixelImage image;
  image.width = int32_t(width);
  image.height = int32_t(height);
  image.pixels.resize(size_t(width * height));
  const bool bottomUp = rawHeight > 0;
  for (int64_t y = 0; y < height; ++y) {
    const uint8_t* row = data + pixelOffset + stride * uint64_t(bottomUp ? height - 1 - y : y);
    uint32_t* out = &image.pixels[size_t(y * width)];
    for (int64_t x = 0; x < width; ++x) {
      if (bits == 8) {
        // An index past the palette shows black rather than reading beyond it.
        out[x] = palette[row[x]];
      } else {
        const uint8_t* p = row + 3 * x;
        out[x] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      }
    }
  }
  return image;
}

PixelImage loadBitmapFile(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxFileBytes) return {};
  std::vector<uint8_t> bytes(size_t(size.QuadPart));
  if (!readExact(file.get(), bytes.data(), size.QuadPart)) return {};
  return decodeBitmap(bytes.data(), bytes.size());
}

}  // namespace zv
