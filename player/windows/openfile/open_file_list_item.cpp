#include "openfile/open_file_list_item.h"

#include <algorithm>

#include "field_colors.h"
#include "win32/owners.h"

namespace zv::openfile {
namespace {

constexpr int kPictureLeft = 3, kTextGap = 5;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

HFONT listFont(HWND list) { return reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)); }

}  // namespace

int listRowHeight(HWND list) {
  WindowDc dc(list);
  SelectedObject font(dc.get(), listFont(list));
  TEXTMETRICA tm{};
  GetTextMetricsA(dc.get(), &tm);
  return std::max<int>(kKindPictureSide + 3, tm.tmHeight + 3);
}

void drawListItem(const DRAWITEMSTRUCT& item, const FolderEntry& entry, const std::string& text,
                  const ui::SkinBitmap& pictures) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  // The field's own colours (as the dialog's other fields), the system's
  // for the selection.
  HBRUSH back = ui::fieldColors(dc, true);
  if (selected) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    FillRect(dc, &r, back);
  }
  SetBkMode(dc, TRANSPARENT);
  RECT textRect = r;
  textRect.left += kPictureLeft;
  std::string shown = text;
  if (!pictures.empty() && pictures.dc()) {
    const int kind = static_cast<int>(entryKind(entry));
    const int y = r.top + (r.bottom - r.top - kKindPictureSide) / 2;
    GdiTransparentBlt(dc, r.left + kPictureLeft, y, kKindPictureSide, kKindPictureSide, pictures.dc(),
                      kind * kKindPictureSide, 0, kKindPictureSide, kKindPictureSide, kTransparent);
    textRect.left += kKindPictureSide + kTextGap;
    shown = entry.name;
  }
  SelectedObject font(dc, listFont(item.hwndItem));
  DrawTextA(dc, shown.c_str(), static_cast<int>(shown.size()), &textRect,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace zv::openfile
