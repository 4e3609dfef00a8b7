// Fonts named in skins: "font" = name, size in points, style letters
// (b bold, i italic, u underline), e.g. font="Segoe UI" 9 b.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "skin_text.h"

#include "win32/owners.h"

namespace zv::ui {

struct SkinFontDesc {
  std::string name = "Tahoma";
  int points = 8;
  bool bold = false, italic = false, underline = false;
  bool smooth = true;  // anti-aliased edges (tests read exact colours without)
};

SkinFontDesc parseSkinFont(std::string_view value, const SkinFontDesc& fallback = {});
UniqueFont createSkinFont(const SkinFontDesc& desc);

}  // namespace zv::ui
