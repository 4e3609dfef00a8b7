#include "editor_header.h"

#include <algorithm>

#include "gdi_text.h"
#include "own_controls.h"
#include "win32/owners.h"

namespace zv::editor {

int EditorHeader::edgeAt(LONG x) const {
  int edge = rect().left - columns_.scroll();
  for (int c = 0; c < columns_.count(); ++c) {
    edge += columns_.width(c);
    if (x >= edge - 4 && x <= edge + 3) return c;
  }
  return -1;
}

void EditorHeader::paint(HDC dc) {
  const RECT& r = rect();
  UniqueBrush back(CreateSolidBrush(palette_.header));
  FillRect(dc, &r, back.get());
  UniqueBrush line(CreateSolidBrush(mix(palette_.header, palette_.text, 70)));
  RECT bottom{r.left, r.bottom - 1, r.right, r.bottom};
  FillRect(dc, &bottom, line.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, palette_.text);
  HGDIOBJ old = SelectObject(dc, ui::controlFont());
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  int x = r.left - columns_.scroll();
  for (int c = 0; c < columns_.count(); ++c) {
    const int w = columns_.width(c);
    if (x + w >= r.left && x <= r.right) {
      const std::string title = columns_.title(c);
      RECT t{x + 6, r.top, x + w - 6, r.bottom - 1};
      ui::drawActiveText(dc, title.c_str(), static_cast<int>(title.size()), &t,
                (columns_.rightAligned(c) ? DT_RIGHT : DT_LEFT) | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS |
                    DT_NOPREFIX);
      RECT edge{x + w - 1, r.top + 4, x + w, r.bottom - 4};
      FillRect(dc, &edge, line.get());
    }
    x += w;
  }
  RestoreDC(dc, saved);
  SelectObject(dc, old);
}

void EditorHeader::mouseDown(POINT p, bool right) {
  if (right) return;
  resizing_ = edgeAt(p.x);
  if (resizing_ < 0) return;
  startX_ = static_cast<int>(p.x);
  startWidth_ = columns_.width(resizing_);
}

void EditorHeader::mouseDrag(POINT p, bool) {
  if (resizing_ < 0) return;
  columns_.setWidth(resizing_, std::max(16, startWidth_ + static_cast<int>(p.x) - startX_));
  invalidate();
}

}  // namespace zv::editor
