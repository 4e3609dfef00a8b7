#include "editor_palette.h"

#include "skin_model.h"
#include "skin_text.h"

namespace zv::editor {

COLORREF mix(COLORREF a, COLORREF b, int part) {
  auto channel = [&](int shift) {
    const int x = (a >> shift) & 0xff, y = (b >> shift) & 0xff;
    return static_cast<COLORREF>((x * (256 - part) + y * part) / 256) << shift;
  };
  return channel(0) | channel(8) | channel(16);
}

EditorPalette paletteFrom(const ui::TSkin* skin) {
  COLORREF text = RGB(0xEE, 0xF0, 0xF3), accent = RGB(0x4F, 0xD1, 0xC5), dim = RGB(0x8D, 0x95, 0xA3),
           back = RGB(0x18, 0x1A, 0x20);
  if (skin) {
    if (const ui::TSkinCtl* line = skin->findControl("l2")) {
      auto pick = [&](const char* key, COLORREF& into) {
        const std::string v = line->attr(key);
        if (v.empty()) return;
        const COLORREF c = ui::parseSkinColor(v);
        if (c != ui::kNoColor) into = c;
      };
      pick("color", text);
      pick("color1", accent);
      pick("color2", dim);
      pick("shcolor", back);
    }
    const std::string visbk = skin->attr("visbk");
    if (!visbk.empty() && ui::parseSkinColor(visbk) != ui::kNoColor) back = ui::parseSkinColor(visbk);
  }
  EditorPalette p{};
  p.background = back;
  p.text = text;
  p.dim = dim;
  p.accent = accent;
  p.selection = mix(back, accent, 80);
  p.selectionText = text;
  p.hover = mix(back, text, 20);
  p.current = accent;
  p.header = mix(back, text, 36);
  return p;
}

}  // namespace zv::editor
