#include "setup/form_pages.h"

#include "control_art.h"
#include "skin_paint.h"
#include "win32/window_base.h"

namespace zv::setupui {

HWND FormPages::child(const char* className, const char* text, DWORD style, RECT r, int id) {
  HWND h = CreateWindowExA(0, className, text, WS_CHILD | WS_TABSTOP | style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, window_.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           thisModule(), nullptr);
  if (!h) return nullptr;
  SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(ui::controlFont()), FALSE);
  window_.addTabStop(h);
  children_.push_back({buildPage_, UniqueWindow(h)});
  if (buildPage_ < 0 || buildPage_ == page_) ShowWindow(h, SW_SHOWNA);
  return h;
}

HWND FormPages::combo(RECT r, const std::vector<std::string>& entries, bool editable, int id) {
  // The height of a combo box is that of its dropped list.
  r.bottom = r.top + 200;
  HWND h = child("COMBOBOX", "", WS_VSCROLL | (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST), r, id);
  for (const std::string& e : entries) SendMessageA(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
  return h;
}

void FormPages::show(int page) {
  page_ = page;
  for (Element& e : elements_)
    if (e.page >= 0) e.element->setVisible(e.page == page);
  for (Child& c : children_)
    if (c.page >= 0) ShowWindow(c.window.get(), c.page == page ? SW_SHOWNA : SW_HIDE);
}

void TPageMarker::paint(HDC dc) { ui::fillSolid(dc, rect(), ui::controlArt().accent); }

void PageRow::select(int page) {
  if (!marker_ || page < 0 || page >= static_cast<int>(buttons_.size())) return;
  const RECT b = buttons_[page]->rect();
  marker_->setRect({b.left + 6, b.bottom + 2, b.right - 6, b.bottom + 5});
}

void FormPages::windowDestroyed() {
  // The children were destroyed with their parent; a handle kept now could
  // name another window later.
  for (Child& c : children_) static_cast<void>(c.window.release());
  children_.clear();
}

std::string windowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

int comboSelection(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

void selectComboEntry(HWND combo, int entry) { SendMessageA(combo, CB_SETCURSEL, entry, 0); }

std::string comboText(HWND combo) { return windowText(combo); }

}  // namespace zv::setupui
