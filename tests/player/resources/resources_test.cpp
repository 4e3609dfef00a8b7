// The program's resources as Windows finds them in zorvak.exe: the icons
// the shell registrations point at by index, the tray icons at the small
// icon size, and the magenta-keyed image lists.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testkit.h"
#include "win32/owners.h"

namespace {

std::string programPath() { return zvtest::rootDir() + "\\bin\\zorvak.exe"; }

zv::UniqueModule loadProgram() {
  return zv::UniqueModule(
      LoadLibraryExA(programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // top-down, 0xAARRGGBB
};

Pixels bitmapPixels(HBITMAP bitmap) {
  Pixels out;
  BITMAP info = {};
  if (!GetObjectA(bitmap, sizeof(info), &info)) return out;
  out.width = info.bmWidth;
  out.height = info.bmHeight;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = out.width;
  bi.bmiHeader.biHeight = -out.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  out.argb.resize(size_t(out.width) * size_t(out.height));
  zv::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!GetDIBits(dc.get(), bitmap, 0, UINT(out.height), out.argb.data(), &bi, DIB_RGB_COLORS)) out.argb.clear();
  return out;
}

Pixels iconPixels(HICON icon) {
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return {};
  zv::UniqueBitmap colour(info.hbmColor);
  zv::UniqueBitmap mask(info.hbmMask);
  return colour ? bitmapPixels(colour.get()) : Pixels{};
}

// The group icons that the file-type registrations name as "zorvak.exe,N".
struct IndexedIcon {
  int index;
  const char* name;
};
constexpr IndexedIcon kIndexedIcons[] = {
    {0, "IDI_0_PROGRAM"}, {1, "IDI_1_FILE"}, {2, "IDI_2_PLAYLIST"}, {3, "IDI_3_CDTRACK"}};

TEST(ProgramIcons, extractIconExIndexesZeroToThree_giveProgramFilePlaylistAndCdTrack) {
  const std::string path = programPath();
  ASSERT_GE(ExtractIconExA(path.c_str(), -1, nullptr, nullptr, 0), 4u);
  zv::UniqueModule module = loadProgram();
  ASSERT_TRUE(module);
  const int size = GetSystemMetrics(SM_CXICON);
  std::vector<Pixels> seen;
  for (const IndexedIcon& want : kIndexedIcons) {
    HICON large = nullptr;
    ASSERT_EQ(ExtractIconExA(path.c_str(), want.index, &large, nullptr, 1), 1u) << want.name;
    zv::UniqueIcon extracted(large);
    zv::UniqueIcon named(
        static_cast<HICON>(LoadImageA(module.get(), want.name, IMAGE_ICON, size, size, 0)));
    ASSERT_TRUE(named) << want.name;
    const Pixels a = iconPixels(extracted.get());
    const Pixels b = iconPixels(named.get());
    ASSERT_FALSE(a.argb.empty()) << want.name;
    EXPECT_EQ(a.width, b.width) << want.name;
    EXPECT_EQ(a.argb, b.argb) << "index " << want.index << " is not " << want.name;
    for (const Pixels& other : seen) EXPECT_NE(other.argb, a.argb) << "index " << want.index << " repeats an icon";
    seen.push_back(a);
  }
}

TEST(ProgramIcons, everyGroupHoldsTheUsualSizes) {
  zv::UniqueModule module = loadProgram();
  ASSERT_TRUE(module);
  for (const IndexedIcon& icon : kIndexedIcons) {
    for (int size : {16, 24, 32, 48, 256}) {
      // LR_DEFAULTCOLOR without a size match would scale another image; the
      // group directory itself must list the size.
      HRSRC group = FindResourceA(module.get(), icon.name, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
      ASSERT_TRUE(group) << icon.name;
      HGLOBAL data = LoadResource(module.get(), group);
      const auto* bytes = static_cast<const BYTE*>(LockResource(data));
      const DWORD length = SizeofResource(module.get(), group);
      ASSERT_GE(length, 6u);
      const int count = bytes[4] | bytes[5] << 8;
      ASSERT_GE(length, DWORD(6 + 14 * count));
      bool found = false;
      for (int i = 0; i < count; ++i) {
        const int width = bytes[6 + 14 * i] ? bytes[6 + 14 * i] : 256;
        found = found || width == size;
      }
      EXPECT_TRUE(found) << icon.name << " lacks " << size << " pixels";
    }
  }
}

TEST(TrayIcons, everyTrayIconLoadsAtTheSmallIconSize) {
  zv::UniqueModule module = loadProgram();
  ASSERT_TRUE(module);
  const int small = GetSystemMetrics(SM_CXSMICON);
  const char* names[] = {"ZPREVPL", "ZPREV", "ZREWIND", "ZPAUSE", "ZFORWARD", "ZNEXT", "ZNEXTPL", "Z0",
                         "Z1", "Z2", "Z3", "Z4", "Z1C", "Z2C", "Z3C", "Z4C"};
  std::vector<std::vector<uint32_t>> frames;
  for (const char* name : names) {
    zv::UniqueIcon icon(static_cast<HICON>(LoadImageA(module.get(), name, IMAGE_ICON, small, small, 0)));
    ASSERT_TRUE(icon) << name;
    const Pixels p = iconPixels(icon.get());
    EXPECT_EQ(p.width, small) << name;
    EXPECT_EQ(p.height, small) << name;
    frames.push_back(p.argb);
  }
  // The animation moves: frames 1 to 4 differ from each other and from the still frame.
  for (size_t a = 7; a < 12; ++a)
    for (size_t b = a + 1; b < 12; ++b) EXPECT_NE(frames[a], frames[b]) << names[a] << " = " << names[b];
}

// An image list strip: 16 x 16 cells, magenta where the list is transparent.
void expectMagentaKeyedStrip(const char* name) {
  zv::UniqueModule module = loadProgram();
  ASSERT_TRUE(module);
  zv::UniqueBitmap bitmap(static_cast<HBITMAP>(LoadImageA(module.get(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  ASSERT_TRUE(bitmap) << name;
  const Pixels p = bitmapPixels(bitmap.get());
  ASSERT_EQ(p.height, 16) << name;
  ASSERT_GT(p.width, 0);
  ASSERT_EQ(p.width % 16, 0) << name;
  for (int cell = 0; cell < p.width / 16; ++cell) {
    int magenta = 0, drawn = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) ((p.argb[size_t(y * p.width + cell * 16 + x)] & 0xFFFFFF) == 0xFF00FF ? magenta : drawn)++;
    EXPECT_GT(magenta, 0) << name << " cell " << cell << " has no transparent pixel";
    EXPECT_GT(drawn, 8) << name << " cell " << cell << " is empty";
  }
}

TEST(ImageLists, mainIsAMagentaKeyedStripOfSixteenPixelCells) { expectMagentaKeyedStrip("MAIN"); }
TEST(ImageLists, timerIsAMagentaKeyedStripOfSixteenPixelCells) { expectMagentaKeyedStrip("TIMER"); }

}  // namespace
