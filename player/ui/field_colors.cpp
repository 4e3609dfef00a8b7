#include "field_colors.h"

#include "control_art.h"
#include "win32/owners.h"

namespace zv::ui {
namespace {

COLORREF blend(COLORREF a, COLORREF b, int percentB) {
  const auto mix = [&](int x, int y) { return static_cast<BYTE>((x * (100 - percentB) + y * percentB) / 100); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

}  // namespace

HBRUSH fieldColors(HDC dc, bool enabled) {
  const ControlArt& art = controlArt();
  const COLORREF back = blend(art.face, RGB(0, 0, 0), 35);
  static UniqueBrush brush(CreateSolidBrush(back));
  SetBkColor(dc, back);
  SetTextColor(dc, enabled ? art.text : blend(art.text, back, 55));
  return brush.get();
}

}  // namespace zv::ui
