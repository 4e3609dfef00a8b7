// Owner-drawn menus: the colour sets, the see-through alpha of each
// "videoFx", and a real popup menu turned owner-drawn, measured and drawn
// into a bitmap whose pixels are read back.
#include <gtest/gtest.h>
#include <windows.h>

#include "menus/menu_style.h"
#include "win32/owners.h"

using namespace zv;

namespace {

TEST(MenuStyle, threeColourSetsAndTheSeeThroughAlphaOfEachVideoFx) {
  EXPECT_EQ(menuColors(0).face, RGB(0x1D, 0x20, 0x27));
  EXPECT_EQ(menuColors(1).face, RGB(0xFB, 0xFB, 0xFC));
  EXPECT_EQ(menuColors(2).face, GetSysColor(COLOR_MENU));
  EXPECT_EQ(menuColors(7).face, menuColors(0).face) << "a damaged style is the first";
  MenuLook look;
  look.alphaConst = 220, look.alphaMain = 180;
  const int expected[] = {255, 220, 180, 180, 180};
  for (int fx = 0; fx <= 4; ++fx) {
    look.videoFx = fx;
    EXPECT_EQ(menuWindowAlpha(look), expected[fx]) << fx;
  }
}

TEST(MenuStyle, rowShades) {
  const MenuColors c = menuColors(0);
  MenuLook look;
  for (int fx : {0, 1, 3}) {
    look.videoFx = fx;
    EXPECT_EQ(menuRowShade(look, c, 10, 22, 3), c.face) << fx;
  }
  look.videoFx = 2;
  EXPECT_EQ(menuRowShade(look, c, 0, 22, 0), c.face) << "the gradient starts at the face";
  EXPECT_NE(menuRowShade(look, c, 21, 22, 0), c.face) << "and leans to the accent";
  look.alphaGrad = 0;
  EXPECT_EQ(menuRowShade(look, c, 21, 22, 0), c.face) << "alphagrad 0 keeps it flat";
  look.videoFx = 4, look.alphaGrad = 255;
  EXPECT_NE(menuRowShade(look, c, 0, 22, 0), menuRowShade(look, c, 0, 22, 8)) << "dynamic follows the row";
}

TEST(MenuStyle, itemsBecomeOwnerDrawnAndDrawInTheirColours) {
  UniqueMenu menu(CreatePopupMenu());
  UniqueMenu sub(CreatePopupMenu());
  AppendMenuA(sub.get(), MF_STRING, 3, "Inner");
  AppendMenuA(menu.get(), MF_STRING, 1, "Play");
  AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu.get(), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.release()), "More");
  MenuLook look;
  {
    OwnerDrawnMenu styled(menu.get(), look);
    EXPECT_EQ(OwnerDrawnMenu::current(), &styled);
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoA(menu.get(), 0, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    ASSERT_NE(info.dwItemData, 0u);
    HMENU inner = GetSubMenu(menu.get(), 2);
    MENUITEMINFOA innerInfo{};
    innerInfo.cbSize = sizeof(innerInfo);
    innerInfo.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoA(inner, 0, TRUE, &innerInfo));
    EXPECT_TRUE(innerInfo.fType & MFT_OWNERDRAW) << "submenus too";

    MEASUREITEMSTRUCT m{};
    m.CtlType = ODT_MENU;
    m.itemData = info.dwItemData;
    ASSERT_TRUE(styled.measure(m));
    EXPECT_GT(m.itemWidth, 30u);
    EXPECT_EQ(m.itemHeight, 22u);

    // Drawn selected into a bitmap: the highlight band in the middle, the
    // face at the edge.
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 120, 22));
    SelectedObject keep(dc.get(), bitmap.get());
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_MENU;
    d.itemData = info.dwItemData;
    d.hDC = dc.get();
    d.rcItem = {0, 0, 120, 22};
    d.itemState = ODS_SELECTED;
    ASSERT_TRUE(styled.draw(d));
    EXPECT_EQ(GetPixel(dc.get(), 0, 11), menuColors(0).face);
    EXPECT_EQ(GetPixel(dc.get(), 110, 11), menuColors(0).hilite);
    d.itemState = 0;
    ASSERT_TRUE(styled.draw(d));
    EXPECT_EQ(GetPixel(dc.get(), 110, 11), menuColors(0).face) << "not selected: no band";
  }
  EXPECT_EQ(OwnerDrawnMenu::current(), nullptr);
}

}  // namespace
