#include "text/program_text.h"

#include <windows.h>

namespace zv {

std::string programText(std::string_view windows1252, unsigned activeCodePage) {
  if (activeCodePage == 0) activeCodePage = GetACP();
  if (activeCodePage != CP_UTF8 || windows1252.empty()) return std::string(windows1252);
  const int size = static_cast<int>(windows1252.size());
  int wide = MultiByteToWideChar(1252, 0, windows1252.data(), size, nullptr, 0);
  if (wide <= 0) return std::string(windows1252);
  std::wstring w(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(1252, 0, windows1252.data(), size, w.data(), wide);
  int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
  return out;
}

}  // namespace zv
