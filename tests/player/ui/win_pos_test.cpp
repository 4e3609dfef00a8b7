// Window positions through the real registry: stored when a window closes,
// restored when it opens, centred when missing and brought back onto the
// screen when stored under another screen layout.
#include <gtest/gtest.h>

#include "skin_loader.h"
#include "skinned_window.h"
#include "testkit.h"
#include "ui_fixture.h"
#include "win_pos.h"
#include "win32/owners.h"

using namespace zv::ui;

namespace {

void forget(const std::string& name) {
  zv::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, winPosKeyPath().c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) return;
  for (const char* suffix : {"_l", "_t", "_r", "_w", "_h"}) RegDeleteValueA(key.get(), (name + suffix).c_str());
}

DWORD stored(const std::string& value) {
  DWORD data = 0, size = sizeof(data), type = 0;
  zv::UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, winPosKeyPath().c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return 0xdeadbeef;
  if (RegQueryValueExA(key.get(), value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return 0xdeadbeef;
  return data;
}

std::unique_ptr<TSkin> plainSkin(const char* extra = "") {
  std::string dir = zvtest::freshDir("winpos_skin");
  uitest::writeText(dir + "\\p.skn", std::string("name=roll\naction=rollup\nshape=0 0 10 10\n..\ndefsize=90 70\nrollup=15\n") + extra);
  uitest::writeBmp(dir + "\\p.bmp", uitest::solidImage(90, 70, 0x404040));
  return loadSkin(dir + "\\p.skn", dir + "\\p.bmp").skin;
}

RECT rectOf(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  return r;
}

}  // namespace

TEST(WinPos, theKeyIsNamedAfterTheProgramFile) {
  EXPECT_EQ(winPosKeyPath(), "Software\\Dovrik\\Common\\WinPos\\test_player_ui");
}

TEST(WinPos, missingValuesReadAsMinus10000) {
  forget("uitest_none");
  WinPos p = readWinPos("uitest_none");
  EXPECT_EQ(p.left, kNoPosition);
  EXPECT_EQ(p.top, kNoPosition);
  EXPECT_FALSE(p.rolledUp);
  EXPECT_EQ(p.width, kNoPosition);
}

TEST(WinPos, aWindowStoresItsPlaceWhenItClosesAndOpensThereAgain) {
  UI_NEED_DISPLAY();
  forget("uitest_pos");
  auto skin = plainSkin();
  {
    TSkinnedWnd window("uitest_pos");
    ASSERT_TRUE(window.createSkinned("pos", skin.get()));
    SetWindowPos(window.hwnd(), nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    uitest::click(window.hwnd(), 5, 5);  // roll up
    ASSERT_TRUE(window.rolledUp());
  }
  EXPECT_EQ(stored("uitest_pos_l"), 123u);
  EXPECT_EQ(stored("uitest_pos_t"), 77u);
  EXPECT_EQ(stored("uitest_pos_r"), 1u);
  EXPECT_EQ(stored("uitest_pos_w"), 0xdeadbeefu);  // not sizeable: no size stored
  TSkinnedWnd again("uitest_pos");
  ASSERT_TRUE(again.createSkinned("pos", skin.get()));
  RECT r = rectOf(again.hwnd());
  EXPECT_EQ(r.left, 123);
  EXPECT_EQ(r.top, 77);
  EXPECT_TRUE(again.rolledUp());
  EXPECT_EQ(r.bottom - r.top, 15);
  uitest::click(again.hwnd(), 5, 5);  // unrolls to the kept height
  EXPECT_EQ(rectOf(again.hwnd()).bottom - rectOf(again.hwnd()).top, 70);
}

TEST(WinPos, aSizeableWindowKeepsItsSize) {
  UI_NEED_DISPLAY();
  forget("uitest_size");
  auto skin = plainSkin("minsize=50 40\n");
  {
    TSkinnedWnd window("uitest_size", true);
    ASSERT_TRUE(window.createSkinned("size", skin.get()));
    SetWindowPos(window.hwnd(), nullptr, 40, 50, 200, 150, SWP_NOZORDER);
  }
  EXPECT_EQ(stored("uitest_size_w"), 200u);
  EXPECT_EQ(stored("uitest_size_h"), 150u);
  TSkinnedWnd again("uitest_size", true);
  ASSERT_TRUE(again.createSkinned("size", skin.get()));
  RECT r = rectOf(again.hwnd());
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 150);
}

TEST(WinPos, aMissingPositionCentresTheWindow) {
  UI_NEED_DISPLAY();
  forget("uitest_centre");
  auto skin = plainSkin();
  TSkinnedWnd window("uitest_centre");
  ASSERT_TRUE(window.createSkinned("centre", skin.get()));
  RECT work{}, r = rectOf(window.hwnd());
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

TEST(WinPos, aPositionOffEveryScreenIsBroughtBack) {
  const int places[][2] = {{-5000, 100}, {100, 30000}, {-90, -90}, {99999, 99999}};
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  for (const auto& p : places) {
    RECT r = placeWindow(p[0], p[1], {90, 70});
    EXPECT_GE(r.left, work.left) << p[0] << "," << p[1];
    EXPECT_GE(r.top, work.top) << p[0] << "," << p[1];
    EXPECT_LE(r.right, work.right) << p[0] << "," << p[1];
    EXPECT_LE(r.bottom, work.bottom) << p[0] << "," << p[1];
  }
  RECT kept = placeWindow(200, 100, {90, 70});  // a visible place is kept as stored
  EXPECT_EQ(kept.left, 200);
  EXPECT_EQ(kept.top, 100);
}
