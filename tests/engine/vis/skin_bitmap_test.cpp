// Skin bitmap files: the accepted kinds decode exactly, everything else
// (damaged, hostile or of another kind) loads as nothing.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>

#include "playback/vis/skin_bitmap.h"
#include "testkit.h"
#include "vis_fixture.h"

namespace {

const std::vector<uint32_t> kPixels = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203};

void set32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}
void set16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}

TEST(SkinBitmap, twentyFourBitFilesDecodeBothRowOrders) {
  for (bool topDown : {false, true}) {
    auto file = vistest::bitmapFile24(3, 2, kPixels, topDown);
    zv::PixelImage image = zv::decodeBitmap(file.data(), file.size());
    ASSERT_EQ(image.width, 3);
    ASSERT_EQ(image.height, 2);
    EXPECT_EQ(image.pixels, kPixels) << (topDown ? "top-down" : "bottom-up");
  }
}

TEST(SkinBitmap, paletteFilesDecodeAndIndicesPastThePaletteAreBlack) {
  const std::vector<uint32_t> palette = {0x00FF0000, 0x0000FF00, 0xFF0000FF};  // the top byte is not a colour
  auto file = vistest::bitmapFile8(5, 1, {0, 1, 2, 3, 255}, palette);
  zv::PixelImage image = zv::decodeBitmap(file.data(), file.size());
  ASSERT_EQ(image.width, 5);
  EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0, 0}));

  // A colour count of 0 means a full palette of 256.
  std::vector<uint32_t> full(256);
  for (uint32_t i = 0; i < 256; ++i) full[i] = i * 0x010101;
  auto fullFile = vistest::bitmapFile8(2, 1, {7, 200}, full);
  set32(fullFile, 46, 0);
  image = zv::decodeBitmap(fullFile.data(), fullFile.size());
  EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0x070707, 0xC8C8C8}));
}

TEST(SkinBitmap, hostileFilesLoadAsNothing) {
  const auto good24 = vistest::bitmapFile24(3, 2, kPixels);
  const auto good8 = vistest::bitmapFile8(3, 2, {0, 1, 0, 1, 0, 1}, {0x111111, 0x222222});
  struct Case {
    const char* name;
    std::vector<uint8_t> base;
    std::function<void(std::vector<uint8_t>&)> spoil;
  };
  const Case cases[] = {
      {"empty", {}, [](auto& b) { b.clear(); }},
      {"only the magic", good24, [](auto& b) { b.resize(2); }},
      {"header cut short", good24, [](auto& b) { b.resize(40); }},
      {"wrong magic", good24, [](auto& b) { b[1] = 'A'; }},
      {"two planes", good24, [](auto& b) { set16(b, 26, 2); }},
      {"32 bits", good24, [](auto& b) { set16(b, 28, 32); }},
      {"4 bits", good8, [](auto& b) { set16(b, 28, 4); }},
      {"run-length compressed", good8, [](auto& b) { set32(b, 30, 1); }},
      {"bit fields", good24, [](auto& b) { set32(b, 30, 3); }},
      {"zero width", good24, [](auto& b) { set32(b, 18, 0); }},
      {"negative width", good24, [](auto& b) { set32(b, 18, uint32_t(-3)); }},
      {"zero height", good24, [](auto& b) { set32(b, 22, 0); }},
      {"most negative height", good24, [](auto& b) { set32(b, 22, uint32_t(INT_MIN)); }},
      {"huge width", good24, [](auto& b) { set32(b, 18, 0x7FFFFFFF); }},
      {"huge height", good24, [](auto& b) { set32(b, 22, 100000); }},
      {"pixels cut short", good24, [](auto& b) { b.pop_back(); }},
      {"pixel offset past the end", good24, [](auto& b) { set32(b, 10, uint32_t(b.size())); }},
      {"pixel offset wraps", good24, [](auto& b) { set32(b, 10, 0xFFFFFFF0u); }},
      {"core header", good24, [](auto& b) { set32(b, 14, 12); }},
      {"header larger than the file", good24, [](auto& b) { set32(b, 14, 0x7FFFFFFF); }},
      {"palette of 257", good8, [](auto& b) { set32(b, 46, 257); }},
      {"palette past the end", good8, [](auto& b) { set32(b, 46, 200); }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = c.base;
    c.spoil(file);
    zv::PixelImage image = zv::decodeBitmap(file.data(), file.size());
    EXPECT_TRUE(image.empty()) << c.name;
    EXPECT_EQ(image.width * image.height, 0) << c.name;
  }
  EXPECT_TRUE(zv::decodeBitmap(nullptr, 100).empty());
}

TEST(SkinBitmap, filesAreReadWholeAndMissingOnesGiveNothing) {
  const std::string dir = zvtest::freshDir("bitmapFiles");
  auto file = vistest::bitmapFile24(3, 2, kPixels);
  ASSERT_TRUE(zvtest::writeFile(dir + "\\a.bmp", file.data(), file.size()));
  EXPECT_EQ(zv::loadBitmapFile(dir + "\\a.bmp").pixels, kPixels);
  EXPECT_TRUE(zv::loadBitmapFile(dir + "\\missing.bmp").empty());
  EXPECT_TRUE(zv::loadBitmapFile(dir).empty()) << "a folder is not a bitmap";
  ASSERT_TRUE(zvtest::writeFile(dir + "\\empty.bmp", "", 0));
  EXPECT_TRUE(zv::loadBitmapFile(dir + "\\empty.bmp").empty());
}

}  // namespace
