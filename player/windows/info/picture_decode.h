// Pictures embedded in tags (APIC frames): decoded through the system's
// imaging codecs (PNG, JPEG, GIF, BMP, ...) and scaled to fit a box at their
// real aspect. Bytes that are no picture, or a damaged one, give nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace zv::info {

struct DecodedPicture {
  int width = 0, height = 0;           // as shown (scaled)
  int sourceWidth = 0, sourceHeight = 0;
  std::vector<uint32_t> bgra;          // top-down rows, 0xAARRGGBB
};

// The size of a sourceW x sourceH picture scaled down (never up) to fit
// boxW x boxH, keeping its aspect; at least 1 x 1.
void fitInto(int sourceW, int sourceH, int boxW, int boxH, int& w, int& h);

// False for empty, unknown or damaged data; pictures above 16384 pixels a
// side are refused.
bool decodePicture(const void* data, size_t size, int boxW, int boxH, DecodedPicture& out);

}  // namespace zv::info
