// The bounds-checked bitmap reader: accepted kinds decode to the right
// pixels; damaged or hostile files give an empty picture, never a crash.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "skin_bitmap.h"
#include "testkit.h"
#include "ui_fixture.h"

using namespace zv::ui;

namespace {

// A bitmap file of `bits` per pixel with a palette of `colors` entries.
std::vector<uint8_t> makeBmp(int width, int height, int bits, const std::vector<uint32_t>& palette,
                             const std::vector<uint8_t>& rows) {
  const uint32_t header = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
  std::vector<uint8_t> f(header + rows.size(), 0);
  auto p32 = [&](size_t at, uint32_t v) { std::memcpy(&f[at], &v, 4); };
  auto p16 = [&](size_t at, uint16_t v) { std::memcpy(&f[at], &v, 2); };
  f[0] = 'B';
  f[1] = 'M';
  p32(2, static_cast<uint32_t>(f.size()));
  p32(10, header);
  p32(14, 40);
  p32(18, static_cast<uint32_t>(width));
  p32(22, static_cast<uint32_t>(height));
  p16(26, 1);
  p16(28, static_cast<uint16_t>(bits));
  p32(46, static_cast<uint32_t>(palette.size()));
  for (size_t i = 0; i < palette.size(); ++i) p32(54 + 4 * i, palette[i]);
  std::memcpy(f.data() + header, rows.data(), rows.size());
  return f;
}

}  // namespace

TEST(SkinBitmapReader, roundTripsA24BitPicture) {
  PixelImage image = uitest::solidImage(5, 3, 0x102030);
  uitest::paintRect(image, 1, 0, 1, 1, 0xff0000);
  uitest::paintRect(image, 4, 2, 1, 1, 0x00ff00);
  std::vector<uint8_t> file = encodeBitmap(image);
  PixelImage back = decodeBitmap(file.data(), file.size());
  ASSERT_EQ(back.width, 5);
  ASSERT_EQ(back.height, 3);
  EXPECT_EQ(back.pixels, image.pixels);
}

TEST(SkinBitmapReader, decodesPaletteDepthsTopRowFirst) {
  // 8 bits, 2 x 2, bottom-up: the file's first row is the picture's last.
  std::vector<uint8_t> rows = {1, 0, 0, 0, 0, 1, 0, 0};
  auto file = makeBmp(2, 2, 8, {0x000000, 0xabcdef}, rows);
  PixelImage img = decodeBitmap(file.data(), file.size());
  ASSERT_EQ(img.pixels.size(), 4u);
  EXPECT_EQ(img.at(1, 0), 0xabcdefu);
  EXPECT_EQ(img.at(0, 1), 0xabcdefu);
  EXPECT_EQ(img.at(0, 0), 0u);
  // 4 bits: high nibble first. 1 bit: highest bit first.
  auto four = makeBmp(3, 1, 4, {0x111111, 0x222222, 0x333333}, {0x12, 0x00, 0, 0});
  PixelImage f = decodeBitmap(four.data(), four.size());
  ASSERT_EQ(f.width, 3);
  EXPECT_EQ(f.at(0, 0), 0x222222u);
  EXPECT_EQ(f.at(1, 0), 0x333333u);
  EXPECT_EQ(f.at(2, 0), 0x111111u);
  auto one = makeBmp(3, 1, 1, {0x000000, 0xffffff}, {0xa0, 0, 0, 0});
  PixelImage o = decodeBitmap(one.data(), one.size());
  EXPECT_EQ(o.at(0, 0), 0xffffffu);
  EXPECT_EQ(o.at(1, 0), 0u);
  EXPECT_EQ(o.at(2, 0), 0xffffffu);
}

TEST(SkinBitmapReader, refusesDamagedAndHostileFiles) {
  PixelImage image = uitest::solidImage(4, 4, 0x123456);
  const std::vector<uint8_t> good = encodeBitmap(image);
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
  } cases[] = {
      {"truncated pixels", [](auto& f) { f.resize(f.size() - 1); }},
      {"header only", [](auto& f) { f.resize(20); }},
      {"not BM", [](auto& f) { f[0] = 'X'; }},
      {"pixel offset past the end", [](auto& f) { f[10] = 0xff, f[11] = 0xff, f[12] = 0xff; }},
      {"huge width", [](auto& f) { f[18] = 0xff, f[19] = 0xff, f[20] = 0xff, f[21] = 0x7f; }},
      {"negative width", [](auto& f) { f[21] = 0x80; }},
      {"zero height", [](auto& f) { f[22] = f[23] = f[24] = f[25] = 0; }},
      {"huge header size", [](auto& f) { f[14] = 0xff, f[15] = 0xff, f[16] = 0xff; }},
      {"16 bits", [](auto& f) { f[28] = 16; }},
      {"compressed", [](auto& f) { f[30] = 1; }},
      {"two planes", [](auto& f) { f[26] = 2; }},
  };
  for (const auto& c : cases) {
    std::vector<uint8_t> file = good;
    c.damage(file);
    EXPECT_TRUE(decodeBitmap(file.data(), file.size()).empty()) << c.what;
  }
  // A palette that claims more entries than the file holds.
  auto pal = makeBmp(2, 1, 8, {0x1}, {0, 0, 0, 0});
  pal[46] = 200;
  EXPECT_TRUE(decodeBitmap(pal.data(), pal.size()).empty());
  EXPECT_TRUE(decodeBitmap(nullptr, 0).empty());
}

TEST(SkinBitmapReader, everyTruncationOfAFileIsSafe) {
  PixelImage image = uitest::solidImage(7, 5, 0x445566);
  std::vector<uint8_t> file = encodeBitmap(image);
  for (size_t n = 0; n < file.size(); ++n) {
    std::vector<uint8_t> cut(file.begin(), file.begin() + n);
    EXPECT_TRUE(decodeBitmap(cut.data(), cut.size()).empty()) << n;
  }
}

TEST(SkinBitmapReader, loadsFromAFileAndAMissingFileIsEmpty) {
  std::string dir = zvtest::freshDir("bitmaps");
  ASSERT_TRUE(uitest::writeBmp(dir + "\\a.bmp", uitest::solidImage(3, 2, 0x00ff00)));
  PixelImage img = loadBitmapFile(dir + "\\a.bmp");
  EXPECT_EQ(img.width, 3);
  EXPECT_TRUE(loadBitmapFile(dir + "\\none.bmp").empty());
}
