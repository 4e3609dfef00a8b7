// Owner-drawn popup menus in one of three colour sets ("menuStyle": 0 dark
// as the default skin, 1 light as the daylight skin, 2 the system's menu
// colours) with the colouring of "videoFx": 0 none, 1 uniform, 2 gradient,
// 3 textured, 4 dynamic (the shade follows the item's place). From 1 on the
// menu window is also see-through: "alphaconst" for uniform, "alphamain"
// for the others, and the gradient's far end is mixed at "alphagrad".
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/owners.h"

namespace zv {

struct MenuColors {
  COLORREF face, text, grayText, hilite, hiliteText, separator, accent;
};
// The colour set of a "menuStyle" (out of range: 0).
MenuColors menuColors(int menuStyle);

struct MenuLook {
  int menuStyle = 0;
  int videoFx = 0;
  int alphaConst = 220, alphaMain = 180, alphaGrad = 255;
  std::string texturePath;  // a bitmap file, for videoFx 3
};
// The see-through alpha of the menu window (255: opaque).
int menuWindowAlpha(const MenuLook& look);
// The background colour of a row at `y` of `height` (gradient and dynamic
// mix the face towards the accent; the others keep the face).
COLORREF menuRowShade(const MenuLook& look, const MenuColors& c, int y, int height, int itemIndex);

// While alive, the items of `menu` (and its submenus) are owner-drawn in
// `look`; the owner window passes WM_MEASUREITEM, WM_DRAWITEM and
// WM_ENTERIDLE to current().
class OwnerDrawnMenu {
 public:
  OwnerDrawnMenu(HMENU menu, MenuLook look);
  ~OwnerDrawnMenu();
  OwnerDrawnMenu(const OwnerDrawnMenu&) = delete;
  OwnerDrawnMenu& operator=(const OwnerDrawnMenu&) = delete;

  static OwnerDrawnMenu* current();
  bool measure(MEASUREITEMSTRUCT& m);
  bool draw(const DRAWITEMSTRUCT& d);
  // A menu window showed up (WM_ENTERIDLE with MSGF_MENU): make it see-through.
  void menuWindowShown(HWND menuWindow);

 private:
  struct Item {
    std::string text;
    bool separator = false;
    bool submenu = false;
    int index = 0;
  };
  void convert(HMENU menu);
  MenuLook look_;
  MenuColors colors_;
  std::vector<std::unique_ptr<Item>> items_;
  UniqueFont font_;
  UniqueBitmap texture_;
  OwnerDrawnMenu* previous_;
};

}  // namespace zv
