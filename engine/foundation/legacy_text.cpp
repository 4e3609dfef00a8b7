#include "foundation/legacy_text.h"

#include <windows.h>

#include <cwchar>

namespace zv {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The length of the UTF-8 sequence at text[i], or 0 when it is malformed.
size_t utf8SequenceAt(std::string_view text, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char b = byte(i);
  if (b < 0x80) return 1;
  size_t n;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    if (b == 0xE0) low = 0xA0;   // overlong
    if (b == 0xED) high = 0x9F;  // surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    if (b == 0xF0) low = 0x90;   // overlong
    if (b == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (size_t k = 2; k < n; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return n;
}

unsigned localeCodePage(LCTYPE which, unsigned fallback) {
  wchar_t digits[8] = {};
  if (!GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, which, digits, 8)) return fallback;
  unsigned cp = static_cast<unsigned>(std::wcstoul(digits, nullptr, 10));
  // 0 (CP_ACP) and 1 (CP_OEMCP) would mean "the active one": a Unicode-only
  // locale has no legacy code page of its own.
  return (cp > 1 && IsValidCodePage(cp)) ? cp : fallback;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    size_t n = utf8SequenceAt(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

bool hasUtf8Mark(std::string_view text) { return text.substr(0, kUtf8Mark.size()) == kUtf8Mark; }

unsigned legacyAnsiCodePage() { return localeCodePage(LOCALE_IDEFAULTANSICODEPAGE, 1252); }
unsigned legacyOemCodePage() { return localeCodePage(LOCALE_IDEFAULTCODEPAGE, 437); }

unsigned ansiCodePageOfLanguage(uint32_t languageId) {
  if (languageId == 0 || languageId > 0xFFFF) return 0;
  LCID locale = MAKELCID(static_cast<LANGID>(languageId), SORT_DEFAULT);
  if (!IsValidLocale(locale, LCID_INSTALLED)) return 0;
  wchar_t digits[8] = {};
  if (!GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE, digits, 8)) return 0;
  unsigned cp = static_cast<unsigned>(std::wcstoul(digits, nullptr, 10));
  return (cp > 1 && IsValidCodePage(cp)) ? cp : 0;
}

unsigned resolvedActiveCodePage(unsigned codePage) { return codePage ? codePage : GetACP(); }

std::string convertCodePage(std::string_view text, unsigned from, unsigned to) {
  if (text.empty() || from == to) return std::string(text);
  int size = static_cast<int>(text.size());
  int wide = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
  if (wide <= 0) return std::string(text);
  std::wstring w(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(from, 0, text.data(), size, w.data(), wide);
  int bytes = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string(text);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(to, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
  return out;
}

std::string storedTextToActive(std::string_view field, unsigned activeCodePage) {
  if (resolvedActiveCodePage(activeCodePage) != CP_UTF8 || isValidUtf8(field)) return std::string(field);
  return convertCodePage(field, legacyAnsiCodePage(), CP_UTF8);
}

bool convertStoredText(std::string& field, unsigned activeCodePage) {
  if (resolvedActiveCodePage(activeCodePage) != CP_UTF8 || isValidUtf8(field)) return false;
  field = convertCodePage(field, legacyAnsiCodePage(), CP_UTF8);
  return true;
}

ActiveText fileTextToActive(std::string_view bytes, bool declaredUtf8, unsigned legacyCodePage,
                            unsigned activeCodePage) {
  if (resolvedActiveCodePage(activeCodePage) != CP_UTF8) return {std::string(bytes), TextOrigin::asIs};
  if (hasUtf8Mark(bytes)) return {std::string(bytes.substr(kUtf8Mark.size())), TextOrigin::utf8Marked};
  if (declaredUtf8) return {std::string(bytes), TextOrigin::declaredUtf8};
  if (isValidUtf8(bytes)) return {std::string(bytes), TextOrigin::asIs};
  unsigned from = legacyCodePage ? legacyCodePage : legacyAnsiCodePage();
  return {convertCodePage(bytes, from, CP_UTF8), TextOrigin::legacy};
}

bool wantsUtf8Mark(std::string_view text, unsigned activeCodePage) {
  if (resolvedActiveCodePage(activeCodePage) != CP_UTF8) return false;
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

}  // namespace zv
