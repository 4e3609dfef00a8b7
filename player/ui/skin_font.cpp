#include "skin_font.h"

#include <algorithm>

#include "skin_text.h"

namespace zv::ui {

SkinFontDesc parseSkinFont(std::string_view value, const SkinFontDesc& fallback) {
  SkinFontDesc desc = fallback;
  std::vector<std::string> words = splitSkinWords(value);
  if (words.size() >= 1 && !words[0].empty()) desc.name = words[0].substr(0, LF_FACESIZE - 1);
  if (words.size() >= 2) {
    int points = parseSkinNumber(words[1]).value;
    if (points > 0) desc.points = std::min(points, 144);
  }
  if (words.size() >= 3) {
    std::string style = toLowerAscii(words[2]);
    desc.bold = style.find('b') != std::string::npos;
    desc.italic = style.find('i') != std::string::npos;
    desc.underline = style.find('u') != std::string::npos;
  }
  return desc;
}

UniqueFont createSkinFont(const SkinFontDesc& desc) {
  return UniqueFont(CreateFontA(-MulDiv(desc.points, 96, 72), 0, 0, 0, desc.bold ? FW_BOLD : FW_NORMAL, desc.italic,
                                desc.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                desc.smooth ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, desc.name.c_str()));
}

}  // namespace zv::ui
