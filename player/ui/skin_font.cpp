#include "skin_font.h"

#include <algorithm>

#include "skin_text.h"

namespace zv::ui {

SkinFontSpec parseSkinFont(std::string_view value, const SkinFontSpec& fallback) {
  SkinFontSpec spec = fallback;
  std::vector<std::string> words = splitSkinWords(value);
  if (words.size() >= 1 && !words[0].empty()) spec.name = words[0].substr(0, LF_FACESIZE - 1);
  if (words.size() >= 2) {
    int points = parseSkinNumber(words[1]).value;
    if (points > 0) spec.points = std::min(points, 144);
  }
  if (words.size() >= 3) {
    std::string style = toLowerAscii(words[2]);
    spec.bold = style.find('b') != std::string::npos;
    spec.italic = style.find('i') != std::string::npos;
    spec.underline = style.find('u') != std::string::npos;
  }
  return spec;
}

UniqueFont createSkinFont(const SkinFontSpec& spec) {
  return UniqueFont(CreateFontA(-MulDiv(spec.points, 96, 72), 0, 0, 0, spec.bold ? FW_BOLD : FW_NORMAL, spec.italic,
                                spec.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                spec.smooth ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, spec.name.c_str()));
}

}  // namespace zv::ui
