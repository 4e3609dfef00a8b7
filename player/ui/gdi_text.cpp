#include "gdi_text.h"

#include <cstring>
#include <string>

namespace zv::ui {
namespace {

bool wideNeeded(unsigned& codePage) {
  if (codePage == 0) codePage = GetACP();
  return codePage == CP_UTF8;
}

std::wstring toWide(const char* text, int length, unsigned codePage) {
  if (!text || length == 0) return {};
  if (length < 0) length = static_cast<int>(std::strlen(text));
  int n = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
  std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text, length, w.data(), n);
  return w;
}

}  // namespace

int drawActiveText(HDC dc, const char* text, int length, RECT* rect, UINT format, unsigned codePage) {
  if (!wideNeeded(codePage)) return DrawTextA(dc, text, length, rect, format);
  std::wstring w = toWide(text, length, codePage);
  return DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), rect, format);
}

BOOL textOutActive(HDC dc, int x, int y, const char* text, int length, unsigned codePage) {
  if (!wideNeeded(codePage)) return TextOutA(dc, x, y, text, length);
  std::wstring w = toWide(text, length, codePage);
  return TextOutW(dc, x, y, w.c_str(), static_cast<int>(w.size()));
}

BOOL textExtentActive(HDC dc, const char* text, int length, SIZE* size, unsigned codePage) {
  if (!wideNeeded(codePage)) return GetTextExtentPoint32A(dc, text, length, size);
  std::wstring w = toWide(text, length, codePage);
  return GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), size);
}

}  // namespace zv::ui
