#include "foundation/text_compare.h"

#include <windows.h>

#include <string>

namespace zv {
namespace {

std::wstring utf16Of(std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n);
  return out;
}

}  // namespace

int compareTextIgnoringCase(std::string_view a, std::string_view b) {
  if (GetACP() != CP_UTF8)
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(), int(b.size())) -
           CSTR_EQUAL;
  const std::wstring wa = utf16Of(a), wb = utf16Of(b);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.data(), int(wa.size()), wb.data(), int(wb.size())) -
         CSTR_EQUAL;
}

}  // namespace zv
