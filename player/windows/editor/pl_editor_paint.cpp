// TPLEditorWnd: drawing the rows, the tree and the drop marker, and the search bar.
#include "pl_editor_wnd.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "editor_columns.h"
#include "gdi_text.h"
#include "editor_edits.h"
#include "editor_set.h"
#include "win_pos.h"
#include "zv_desc.h"
#include "zv_plugins.h"

#include "pl_editor_internal.h"

namespace zv::editor {

using namespace detail;

void TPLEditorWnd::paintSkin(HDC dc, int width, int height, const RECT& area) {
  ui::TFrameWnd::paintSkin(dc, width, height, area);
  if (!list_) return;
  RECT c = clientRect();
  RECT bar{c.left, c.bottom - kBarHeight, c.right, c.bottom};
  FillRect(dc, &bar, backBrush_.get());
  RECT line{bar.left, bar.top, bar.right, bar.top + 1};
  UniqueBrush edge(CreateSolidBrush(palette_.header));
  FillRect(dc, &line, edge.get());
  // The search box's frame.
  RECT box{};
  GetWindowRect(search_.get(), &box);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&box), 2);
  InflateRect(&box, 3, 3);
  FrameRect(dc, &box, edge.get());
}


LRESULT TPLEditorWnd::onCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      // The list scrolled sideways: the header follows.
      if (header_ && scrollX() != headerScroll_) {
        headerScroll_ = scrollX();
        header_->invalidate();
      }
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      paintRow(draw->nmcd.hdc, static_cast<int32_t>(draw->nmcd.dwItemSpec));
      return CDRF_SKIPDEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void TPLEditorWnd::paintRow(HDC dc, int32_t line) {
  RECT row{};
  if (line < 0 || line >= plGetCount(pl_) || !ListView_GetItemRect(list_.get(), line, &row, LVIR_BOUNDS)) return;
  const bool selected = ListView_GetItemState(list_.get(), line, LVIS_SELECTED) != 0;
  const bool current = line == currentLine();
  const PlaylistLine* rec = plGetRec(pl_, line);
  const bool group = rec && (rec->flags & lfGroup);
  const bool missing = rec && (rec->flags & lfMissing);
  RECT client{};
  GetClientRect(list_.get(), &client);
  RECT fill{client.left, row.top, client.right, row.bottom};
  const COLORREF back = selected ? palette_.selection : line == hot_ ? palette_.hover : palette_.background;
  UniqueBrush backBrush(CreateSolidBrush(back));
  FillRect(dc, &fill, backBrush.get());
  SetBkMode(dc, TRANSPARENT);

  int x = row.left;
  for (int c = 0; c < kColumnCount; ++c) {
    const int width = ListView_GetColumnWidth(list_.get(), c);
    RECT cell{x, row.top, x + width, row.bottom};
    x += width;
    if (cell.right < client.left || cell.left > client.right) continue;
    COLORREF color = c == colName || selected ? palette_.text : palette_.dim;
    if (missing) color = palette_.dim;
    if (current) color = palette_.current;
    SetTextColor(dc, color);
    RECT text = cell;
    text.left += 6;
    text.right -= 6;
    if (c == colName) {
      const int indent = kIndentMargin + (rec ? rec->level : 0) * kIndentStep;
      const int mid = (row.top + row.bottom) / 2;
      const int gx = cell.left + indent;
      // The tree icon: an open box for a group, a dot for a file.
      UniqueBrush glyph(CreateSolidBrush(current ? palette_.current : group ? palette_.accent : palette_.dim));
      if (group) {
        RECT box{gx, mid - 4, gx + 8, mid + 4};
        FrameRect(dc, &box, glyph.get());
        RECT bar{gx + 2, mid - 1, gx + 6, mid + 1};
        FillRect(dc, &bar, glyph.get());
      } else {
        RECT dot{gx + 2, mid - 1, gx + 5, mid + 2};
        FillRect(dc, &dot, glyph.get());
      }
      text.left = gx + 13;
    }
    const std::string value = cellText(pl_, line, c);
    if (value.empty()) continue;
    HGDIOBJ old = SelectObject(dc, c == colName && group ? boldFont_.get() : ui::controlFont());
    const UINT align = c == colTime || c == colSize ? DT_RIGHT : DT_LEFT;
    ui::drawActiveText(dc, value.c_str(), static_cast<int>(value.size()), &text,
              align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, old);
  }
  if (line == markerLine_) {
    UniqueBrush marker(CreateSolidBrush(palette_.accent));
    RECT m{row.left + dropMarkerX(markerLevel_), row.bottom - 2, client.right, row.bottom};
    FillRect(dc, &m, marker.get());
  }
}

void TPLEditorWnd::setDropMarker(int32_t line, int32_t level) {
  if (line == markerLine_ && level == markerLevel_) return;
  const int32_t old = markerLine_;
  markerLine_ = line;
  markerLevel_ = level;
  redrawLine(old);
  redrawLine(line);
  UpdateWindow(list_.get());
}

}  // namespace zv::editor
