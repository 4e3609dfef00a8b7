#include "ansi_text.h"

#include <windows.h>

#include <cstring>

#include "foundation/text_util.h"

namespace zvid3 {

std::wstring toWide(std::string_view ansi) {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  return wide;
}

std::string toAnsi(std::wstring_view wide) {
  if (wide.empty()) return {};
  // Without WC_NO_BEST_FIT_CHARS "ł" would silently turn into "l".
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  int n = WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
  std::string ansi(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), ansi.data(), n, "?", nullptr);
  return ansi;
}

int copyOut(char* out, size_t size, std::string_view text) {
  if (!out || size == 0) return 0;
  zv::copyBounded(out, size, text);
  return static_cast<int>(std::strlen(out));
}

std::string_view trimEnd(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
  return text;
}

}  // namespace zvid3
