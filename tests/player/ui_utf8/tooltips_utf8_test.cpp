// Window texts of the toolkit under the UTF-8 active code page (this
// program has the player's manifest), read back through the wide functions
// as the user sees them: the tooltips of skin controls (hints written by a
// skin author in 1252 or in UTF-8) and of a shortened marquee label, the
// caption of a skinned window. The 8-bit tooltip and window functions
// convert through the active code page, so they keep every character
// (measured under Wine 8 and checked here).
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "bitmap_codec.h"
#include "skin_loader.h"
#include "skinned_window.h"
#include "testkit.h"
#include "win32/owners.h"
#include "xlabel.h"

using namespace zv::ui;

namespace {

const std::string kJapanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xF0\x9F\x8E\xB5";

std::wstring utf16(const std::string& utf8) {
  std::wstring w(utf8.size(), L'\0');
  w.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), w.data(), int(w.size()))));
  return w;
}

// The text of tool `id` of a tooltip window, read as UTF-16.
std::wstring toolText(HWND tip, HWND owner, UINT_PTR id) {
  wchar_t text[512] = {};
  TTTOOLINFOW ti{};
  ti.cbSize = TTTOOLINFOW_V1_SIZE;
  ti.hwnd = owner;
  ti.uId = id;
  ti.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&ti));
  return text;
}

std::unique_ptr<TSkin> skinWithHints(const std::string& sknText) {
  const std::string dir = zvtest::freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
  EXPECT_TRUE(zvtest::writeFile(dir + "\\main.skn", sknText.data(), sknText.size()));
  PixelImage image;
  image.width = 60, image.height = 40;
  image.pixels.assign(60 * 40, 0x336699);
  const std::vector<uint8_t> bmp = encodeBitmap(image);
  EXPECT_TRUE(zvtest::writeFile(dir + "\\main.bmp", bmp.data(), bmp.size()));
  return std::move(loadSkin(dir + "\\main.skn", dir + "\\main.bmp").skin);
}

class Utf8Toolkit : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest sets UTF-8";
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display: window tests need Xvfb";
  }
};

}  // namespace

TEST_F(Utf8Toolkit, skinHintsIn1252OrUtf8ShowTheirCharacters) {
  struct Row {
    const char* what;
    std::string hint, shown;
  };
  const Row rows[] = {
      {"a skin written in 1252", "Lautst\xE4rke \x96 Bal\xE1nce", "Lautst\xC3\xA4rke \xE2\x80\x93 Bal\xC3\xA1nce"},
      {"a skin written in UTF-8", kJapanese, kJapanese},
  };
  for (const Row& r : rows) {
    auto skin = skinWithHints("name=a\naction=btnA\nshape=10 10 20 20\nhint=" + r.hint + "\n..\ndefsize=60 40\n");
    ASSERT_NE(skin, nullptr) << r.what;
    TSkinnedWnd window;
    ASSERT_TRUE(window.createSkinned(r.shown.c_str(), skin.get()));
    ASSERT_NE(window.tooltipWindow(), nullptr) << r.what;
    EXPECT_EQ(toolText(window.tooltipWindow(), window.hwnd(), 1), utf16(r.shown)) << r.what;
    wchar_t caption[256] = {};
    GetWindowTextW(window.hwnd(), caption, 256);
    EXPECT_EQ(std::wstring(caption), utf16(r.shown)) << r.what << ": the window's caption";
  }
}

TEST_F(Utf8Toolkit, aShortenedLabelsTooltipShowsTheWholeText) {
  zv::UniqueWindow parent(
      CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 300, 40, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(parent);
  TXLabel label;
  ASSERT_TRUE(label.createLabel(parent.get(), "l", 0, 0, 60, 20));
  label.setMode(xlShort);
  const std::string text = kJapanese + " " + kJapanese + " " + kJapanese;
  label.setText(text);
  ASSERT_NE(label.tooltipWindow(), nullptr) << "the text does not fit";
  EXPECT_EQ(toolText(label.tooltipWindow(), label.hwnd(), reinterpret_cast<UINT_PTR>(label.hwnd())), utf16(text));
}
