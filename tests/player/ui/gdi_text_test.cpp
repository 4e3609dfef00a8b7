// The toolkit's text drawing (gdi_text.h): under the UTF-8 active code page
// the texts are drawn and measured as the characters they are (the same
// pixels and extents as the wide functions give), where the GDI's 8-bit
// functions would take the bytes in the font's character set; under a
// legacy code page the 8-bit functions draw exactly as before.
#include "gdi_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "win32/owners.h"

namespace {

constexpr int kW = 240, kH = 24;

std::wstring wide(const std::string& text, unsigned codePage) {
  int n = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring w(size_t(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), w.data(), n);
  return w;
}

// The pixels `paint` leaves in a white-on-black 32-bit bitmap, with Tahoma
// of `charset` selected.
std::vector<uint32_t> pixels(int charset, const std::function<void(HDC)>& paint) {
  zv::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kW, -kH, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  zv::UniqueBitmap bitmap(CreateDIBSection(dc.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  zv::UniqueFont font(CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DWORD(charset), 0, 0, 0, 0, "Tahoma"));
  if (!bitmap || !font || !bits) return {};
  zv::SelectedObject selectedBitmap(dc.get(), bitmap.get());
  zv::SelectedObject selectedFont(dc.get(), font.get());
  std::memset(bits, 0, size_t(kW) * kH * 4);
  SetTextColor(dc.get(), RGB(255, 255, 255));
  SetBkMode(dc.get(), TRANSPARENT);
  paint(dc.get());
  GdiFlush();
  return std::vector<uint32_t>(static_cast<uint32_t*>(bits), static_cast<uint32_t*>(bits) + size_t(kW) * kH);
}

struct Sample {
  const char* what;
  std::string utf8;
};
const Sample kSamples[] = {
    {"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"},
    {"Cyrillic", "\xD0\x9A\xD0\xB8\xD1\x80\xD0\xB8\xD0\xBB\xD0\xBB\xD0\xB8\xD1\x86\xD0\xB0"},
    {"Greek", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC"},
    {"en dashes", "\xE2\x80\x93\xE2\x80\x93:\xE2\x80\x93\xE2\x80\x93"},
};
const int kCharsets[] = {ANSI_CHARSET, DEFAULT_CHARSET, RUSSIAN_CHARSET, GREEK_CHARSET};

TEST(GdiText, utf8TextsDrawAsTheirCharacters) {
  for (const Sample& s : kSamples)
    for (int charset : kCharsets) {
      const std::wstring w = wide(s.utf8, CP_UTF8);
      const int n = int(s.utf8.size());
      auto drawn = pixels(charset, [&](HDC dc) {
        RECT r{0, 0, kW, kH};
        zv::ui::drawActiveText(dc, s.utf8.c_str(), n, &r, DT_NOPREFIX, CP_UTF8);
      });
      auto drawnW = pixels(charset, [&](HDC dc) {
        RECT r{0, 0, kW, kH};
        DrawTextW(dc, w.c_str(), int(w.size()), &r, DT_NOPREFIX);
      });
      auto eightBit = pixels(charset, [&](HDC dc) {
        RECT r{0, 0, kW, kH};
        DrawTextA(dc, s.utf8.c_str(), n, &r, DT_NOPREFIX);
      });
      ASSERT_FALSE(drawnW.empty());
      EXPECT_EQ(drawn, drawnW) << s.what << ", charset " << charset;
      EXPECT_NE(eightBit, drawnW) << s.what << ", charset " << charset << ": the 8-bit function draws other characters";

      auto outW = pixels(charset, [&](HDC dc) { TextOutW(dc, 2, 2, w.c_str(), int(w.size())); });
      auto out = pixels(charset, [&](HDC dc) { zv::ui::textOutActive(dc, 2, 2, s.utf8.c_str(), n, CP_UTF8); });
      EXPECT_EQ(out, outW) << s.what << ", charset " << charset;

      pixels(charset, [&](HDC dc) {
        SIZE active{}, sizeW{};
        EXPECT_TRUE(zv::ui::textExtentActive(dc, s.utf8.c_str(), n, &active, CP_UTF8));
        GetTextExtentPoint32W(dc, w.c_str(), int(w.size()), &sizeW);
        EXPECT_EQ(active.cx, sizeW.cx) << s.what << ", charset " << charset;
        EXPECT_GT(active.cx, 0);
      });
    }
}

TEST(GdiText, legacyCodePageDrawsAsTheEightBitFunctions) {
  const std::string text = "Caf\xE9 \x96 na\xEFve";  // 1252
  for (int charset : kCharsets) {
    auto drawn = pixels(charset, [&](HDC dc) {
      RECT r{0, 0, kW, kH};
      zv::ui::drawActiveText(dc, text.c_str(), -1, &r, DT_NOPREFIX, 1252);
    });
    auto eightBit = pixels(charset, [&](HDC dc) {
      RECT r{0, 0, kW, kH};
      DrawTextA(dc, text.c_str(), -1, &r, DT_NOPREFIX);
    });
    EXPECT_EQ(drawn, eightBit) << "charset " << charset;
  }
  // The test program has no manifest: the default is the legacy path.
  ASSERT_NE(GetACP(), static_cast<UINT>(CP_UTF8));
  SIZE active{}, eightBit{};
  pixels(ANSI_CHARSET, [&](HDC dc) {
    zv::ui::textExtentActive(dc, text.c_str(), int(text.size()), &active);
    GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &eightBit);
  });
  EXPECT_EQ(active.cx, eightBit.cx);
}

}  // namespace
