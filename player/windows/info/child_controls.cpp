#include "child_controls.h"

#include <vector>

#include "control_art.h"
#include "own_controls.h"

namespace zv::info {

HWND makeChild(HWND parent, const char* className, DWORD style, const RECT& r, int id, const char* text) {
  HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  if (child) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(ui::controlFont()), FALSE);
  return child;
}

std::string windowText(HWND window) {
  const int n = GetWindowTextLengthA(window);
  std::vector<char> text(static_cast<size_t>(n) + 2, '\0');
  GetWindowTextA(window, text.data(), n + 1);
  return text.data();
}

namespace {
COLORREF blend(COLORREF a, COLORREF b, int percentB) {
  auto mix = [&](int x, int y) { return (x * (100 - percentB) + y * percentB) / 100; };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}
}  // namespace

LRESULT ChildColors::answer(HDC dc, bool readOnly) {
  const ui::ControlArt& art = ui::controlArt();
  // Fields a little darker than the face, read-only ones between the two.
  const COLORREF field = blend(art.face, RGB(0, 0, 0), 25), still = blend(art.face, RGB(0, 0, 0), 10);
  if (!field_) field_.reset(CreateSolidBrush(field));
  if (!readOnly_) readOnly_.reset(CreateSolidBrush(still));
  SetTextColor(dc, art.text);
  SetBkColor(dc, readOnly ? still : field);
  return reinterpret_cast<LRESULT>(readOnly ? readOnly_.get() : field_.get());
}

}  // namespace zv::info
