// Skin bitmaps (decodeBitmap): never reads outside the bytes, gives either
// nothing or a whole picture within the side limit, and what it gives
// survives the writer and the reader unchanged.
#include <cstdint>

#include "bitmap_codec.h"
#include "fuzz_check.h"

using namespace zv::ui;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PixelImage image = decodeBitmap(data, size);
  if (image.empty()) {
    ZV_FUZZ_CHECK(image.width == 0 && image.height == 0);
    return 0;
  }
  ZV_FUZZ_CHECK(image.width > 0 && image.height > 0);
  ZV_FUZZ_CHECK(image.width <= kBitmapSideLimit && image.height <= kBitmapSideLimit);
  ZV_FUZZ_CHECK(image.pixels.size() == size_t(image.width) * size_t(image.height));
  for (uint32_t p : image.pixels) ZV_FUZZ_CHECK((p & 0xff000000u) == 0);
  std::vector<uint8_t> again = encodeBitmap(image);
  PixelImage back = decodeBitmap(again.data(), again.size());
  ZV_FUZZ_CHECK(back.width == image.width && back.height == image.height && back.pixels == image.pixels);
  return 0;
}
