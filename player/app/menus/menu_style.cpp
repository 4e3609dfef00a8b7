#include "menus/menu_style.h"

#include <algorithm>

#include "gdi_text.h"

namespace zv {
namespace {

OwnerDrawnMenu* g_current = nullptr;

constexpr int kRowHeight = 22, kSeparatorHeight = 9, kTextLeft = 26, kArrowRoom = 22;

COLORREF mix(COLORREF a, COLORREF b, int weightOfB) {  // weight 0..255
  auto ch = [&](int x, int y) { return (x * (255 - weightOfB) + y * weightOfB) / 255; };
  return RGB(ch(GetRValue(a), GetRValue(b)), ch(GetGValue(a), GetGValue(b)), ch(GetBValue(a), GetBValue(b)));
}

void fill(HDC dc, const RECT& r, COLORREF c) {
  UniqueBrush b(CreateSolidBrush(c));
  FillRect(dc, &r, b.get());
}

}  // namespace

MenuColors menuColors(int menuStyle) {
  switch (menuStyle) {
    case 1:  // light, as the daylight skin
      return {RGB(0xFB, 0xFB, 0xFC), RGB(0x15, 0x18, 0x1D), RGB(0x9A, 0xA1, 0xAD), RGB(0x51, 0x46, 0xE5),
              RGB(0xFF, 0xFF, 0xFF), RGB(0xDC, 0xE0, 0xE6), RGB(0x51, 0x46, 0xE5)};
    case 2:  // the system's own menu colours
      return {GetSysColor(COLOR_MENU),      GetSysColor(COLOR_MENUTEXT),      GetSysColor(COLOR_GRAYTEXT),
              GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_3DSHADOW),
              GetSysColor(COLOR_HIGHLIGHT)};
    default:  // dark, as the default skin
      return {RGB(0x1D, 0x20, 0x27), RGB(0xEE, 0xF0, 0xF3), RGB(0x6B, 0x73, 0x80), RGB(0x4F, 0xD1, 0xC5),
              RGB(0x0C, 0x11, 0x14), RGB(0x2E, 0x33, 0x3D), RGB(0x4F, 0xD1, 0xC5)};
  }
}

int menuWindowAlpha(const MenuLook& look) {
  switch (look.videoFx) {
    case 0: return 255;
    case 1: return std::clamp(look.alphaConst, 0, 255);
    default: return std::clamp(look.alphaMain, 0, 255);
  }
}

COLORREF menuRowShade(const MenuLook& look, const MenuColors& c, int y, int height, int itemIndex) {
  const int grad = std::clamp(look.alphaGrad, 0, 255);
  switch (look.videoFx) {
    case 2:  // a quiet gradient towards the accent at the bottom of each row
      return mix(c.face, c.accent, height > 0 ? (y * grad / height) / 5 : 0);
    case 4:  // dynamic: each row a little further towards the accent
      return mix(c.face, c.accent, std::min(255, (itemIndex * 12 + y * 8 / std::max(1, height))) * grad / 255 / 3);
    default:
      return c.face;
  }
}

OwnerDrawnMenu::OwnerDrawnMenu(HMENU menu, MenuLook look)
    : look_(std::move(look)), colors_(menuColors(look_.menuStyle)), previous_(g_current) {
  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof(ncm);
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) font_.reset(CreateFontIndirectA(&ncm.lfMenuFont));
  if (look_.videoFx == 3 && !look_.texturePath.empty()) {
    texture_.reset(static_cast<HBITMAP>(LoadImageA(nullptr, look_.texturePath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  }
  convert(menu);
  g_current = this;
}

OwnerDrawnMenu::~OwnerDrawnMenu() { g_current = previous_; }

OwnerDrawnMenu* OwnerDrawnMenu::current() { return g_current; }

void OwnerDrawnMenu::convert(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[512] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof(text) - 1;
    if (!GetMenuItemInfoA(menu, i, TRUE, &info)) continue;
    auto item = std::make_unique<Item>();
    item->text = text;
    item->separator = (info.fType & MFT_SEPARATOR) != 0;
    item->submenu = info.hSubMenu != nullptr;
    item->index = i;
    if (info.hSubMenu) convert(info.hSubMenu);
    MENUITEMINFOA set{};
    set.cbSize = sizeof(set);
    set.fMask = MIIM_FTYPE | MIIM_DATA;
    set.fType = (info.fType & ~MFT_STRING) | MFT_OWNERDRAW;
    set.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
    SetMenuItemInfoA(menu, i, TRUE, &set);
    items_.push_back(std::move(item));
  }
}

bool OwnerDrawnMenu::measure(MEASUREITEMSTRUCT& m) {
  if (m.CtlType != ODT_MENU) return false;
  const Item* item = reinterpret_cast<const Item*>(m.itemData);
  if (!item) return false;
  if (item->separator) {
    m.itemWidth = 40;
    m.itemHeight = kSeparatorHeight;
    return true;
  }
  WindowDc dc(nullptr);
  SelectedObject keep(dc.get(), font_.get());
  RECT r{0, 0, 0, 0};
  ui::drawActiveText(dc.get(), item->text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  m.itemWidth = static_cast<UINT>(r.right + kTextLeft + kArrowRoom + 8);
  m.itemHeight = kRowHeight;
  return true;
}

bool OwnerDrawnMenu::draw(const DRAWITEMSTRUCT& d) {
  if (d.CtlType != ODT_MENU) return false;
  const Item* item = reinterpret_cast<const Item*>(d.itemData);
  if (!item) return false;
  HDC dc = d.hDC;
  const RECT& r = d.rcItem;
  const int height = r.bottom - r.top;
  // The row's background: texture, or line by line in its shade.
  if (look_.videoFx == 3 && texture_) {
    // Tiled from the menu window's corner, so rows join seamlessly.
    UniqueBrush pattern(CreatePatternBrush(texture_.get()));
    SetBrushOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &r, pattern.get());
    // Quietened under the face colour so the text stays legible.
    UniqueMemoryDc one(CreateCompatibleDC(dc));
    UniqueBitmap pixel(CreateCompatibleBitmap(dc, 1, 1));
    SelectedObject keepPixel(one.get(), pixel.get());
    SetPixel(one.get(), 0, 0, colors_.face);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 190, 0};
    GdiAlphaBlend(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, one.get(), 0, 0, 1, 1, blend);
  } else {
    for (int y = 0; y < height; ++y) {
      RECT line{r.left, r.top + y, r.right, r.top + y + 1};
      fill(dc, line, menuRowShade(look_, colors_, y, height, item->index));
    }
  }
  if (item->separator) {
    RECT line{r.left + 8, r.top + height / 2, r.right - 8, r.top + height / 2 + 1};
    fill(dc, line, colors_.separator);
    return true;
  }
  const bool selected = (d.itemState & ODS_SELECTED) != 0, grayed = (d.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  if (selected && !grayed) {
    RECT band{r.left + 3, r.top + 1, r.right - 3, r.bottom - 1};
    UniqueBrush b(CreateSolidBrush(colors_.hilite));
    SelectedObject keepBrush(dc, b.get());
    SelectedObject keepPen(dc, GetStockObject(NULL_PEN));
    RoundRect(dc, band.left, band.top, band.right + 1, band.bottom + 1, 6, 6);
  }
  const COLORREF text = grayed ? colors_.grayText : selected ? colors_.hiliteText : colors_.text;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  SelectedObject keepFont(dc, font_.get());
  if (d.itemState & ODS_CHECKED) {
    // A tick in the left margin.
    UniquePen pen(CreatePen(PS_SOLID, 2, selected ? colors_.hiliteText : colors_.accent));
    SelectedObject keepPen(dc, pen.get());
    const int cy = (r.top + r.bottom) / 2;
    MoveToEx(dc, r.left + 8, cy, nullptr);
    LineTo(dc, r.left + 11, cy + 3);
    LineTo(dc, r.left + 17, cy - 4);
  }
  RECT textRect{r.left + kTextLeft, r.top, r.right - kArrowRoom, r.bottom};
  const UINT hidePrefix = (d.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
  ui::drawActiveText(dc, item->text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | hidePrefix);
  // A submenu's arrow is drawn by the system after us, from a monochrome
  // picture in the DC's text and background colours: ours.
  SetTextColor(dc, text);
  SetBkColor(dc, selected && !grayed ? colors_.hilite : menuRowShade(look_, colors_, height / 2, height, item->index));
  return true;
}

void OwnerDrawnMenu::menuWindowShown(HWND w) {
  const int alpha = menuWindowAlpha(look_);
  if (!w || alpha >= 255) return;
  const LONG_PTR ex = GetWindowLongPtrA(w, GWL_EXSTYLE);
  if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrA(w, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  SetLayeredWindowAttributes(w, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

}  // namespace zv
