#include "vertical_tabs.h"

#include <algorithm>

#include "control_art.h"
#include "gdi_text.h"
#include "own_controls.h"
#include "skin_paint.h"
#include "win32/owners.h"

namespace zv::info {

namespace {
const int kTabHeight = 30, kGap = 4;
}

void TVerticalTabs::select(int index) {
  if (index < 0 || index >= int(captions_.size()) || index == selected_) return;
  selected_ = index;
  invalidate();
  if (onSelect) onSelect(index);
}

void TVerticalTabs::setCaption(size_t index, std::string caption) {
  if (index < captions_.size()) captions_[index] = std::move(caption), invalidate();
}

RECT TVerticalTabs::tabRect(int index) const {
  const RECT& r = rect();
  const int top = r.top + index * (kTabHeight + kGap);
  return {r.left, top, r.right, top + kTabHeight};
}

void TVerticalTabs::paint(HDC dc) {
  const ui::ControlArt& art = ui::controlArt();
  SelectedObject font(dc, ui::controlFont());
  SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < int(captions_.size()); ++i) {
    RECT t = tabRect(i);
    const bool chosen = i == selected_;
    // Button pictures: normal, hilite, down, hilitedown, disabled.
    const int frame = chosen ? 2 : 0;
    if (const int fh = ui::frameHeight(art.button, 5)) {
      const LONG corner = std::max(2, fh / 4);
      ui::drawNineSlice(dc, art.button, ui::frameRect(art.button, 5, hot() && !chosen ? 1 : frame), t,
                        {corner, corner, corner, corner});
    } else {
      UniqueBrush face(CreateSolidBrush(chosen ? art.accent : art.face));
      FillRect(dc, &t, face.get());
    }
    SetTextColor(dc, chosen ? RGB(255, 255, 255) : art.text);
    RECT text = t;
    text.left += 6;
    ui::drawActiveText(dc, captions_[i].c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (chosen && focused()) {
      RECT f = t;
      InflateRect(&f, -3, -3);
      DrawFocusRect(dc, &f);
    }
  }
}

void TVerticalTabs::mouseDown(POINT p, bool right) {
  if (right) return;
  for (int i = 0; i < int(captions_.size()); ++i) {
    const RECT t = tabRect(i);
    if (PtInRect(&t, p)) select(i);
  }
}

bool TVerticalTabs::key(UINT vk) {
  if (vk == VK_UP) return select(std::max(0, selected_ - 1)), true;
  if (vk == VK_DOWN) return select(std::min(int(captions_.size()) - 1, selected_ + 1)), true;
  return false;
}

}  // namespace zv::info
