#include "ansi_text.h"

#include <windows.h>

#include <cstring>

#include "foundation/legacy_text.h"
#include "foundation/text_util.h"

namespace zvid3 {
namespace {

std::wstring wideOf(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

// UTF-16 to `codePage`. UTF-8 holds every character, and Windows refuses
// both the no-best-fit flag and a default character for it (the call fails
// with ERROR_INVALID_FLAGS): so those are passed only for the others, where
// without WC_NO_BEST_FIT_CHARS "ł" would silently turn into "l". `lost`
// (optional) tells whether a character became "?".
std::string narrowOf(std::wstring_view wide, unsigned codePage, bool* lost) {
  if (lost) *lost = false;
  if (wide.empty()) return {};
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* fallback = utf8 ? nullptr : "?";
  BOOL used = FALSE;
  BOOL* usedOut = utf8 ? nullptr : &used;
  const int size = static_cast<int>(wide.size());
  int n = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, fallback, usedOut);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(codePage, flags, wide.data(), size, out.data(), n, fallback, usedOut);
  if (lost) *lost = used != FALSE;
  return out;
}

// The field's text up to the end of its last whole character of
// `codePage` (a double-byte lead at the very end is dropped).
std::string_view wholeCharacters(std::string_view text, unsigned codePage) {
  size_t n = 0;
  while (n < text.size()) {
    size_t step = zv::charSizeAt(text, n, codePage);
    if (step == 1 && zv::isLeadByte(static_cast<unsigned char>(text[n]), codePage)) break;
    n += step;
  }
  return text.substr(0, n);
}

// A UTF-8 writer filling the whole field may have cut its last character:
// the text without that piece, if the rest is UTF-8 beyond ASCII.
bool isCutUtf8(std::string_view text, size_t width, std::string_view& whole) {
  if (text.size() < width) return false;
  size_t n = text.size();
  size_t back = 0;
  while (n > 0 && back < 3 && (static_cast<unsigned char>(text[n - 1]) & 0xC0) == 0x80) --n, ++back;
  if (n == 0 || (static_cast<unsigned char>(text[n - 1]) & 0xC0) != 0xC0) return false;
  whole = text.substr(0, n - 1);
  bool beyondAscii = false;
  for (char c : whole) beyondAscii = beyondAscii || static_cast<unsigned char>(c) >= 0x80;
  return beyondAscii && zv::isValidUtf8(whole);
}

}  // namespace

std::wstring toWide(std::string_view ansi) { return wideOf(ansi, GetACP()); }

std::string toAnsi(std::wstring_view wide) { return narrowOf(wide, GetACP(), nullptr); }

int copyOut(char* out, size_t size, std::string_view text) {
  if (!out || size == 0) return 0;
  zv::copyBounded(out, size, text);
  return static_cast<int>(std::strlen(out));
}

std::string_view trimEnd(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
  return text;
}

std::string id3v1FieldToActive(std::string_view field, size_t width) {
  if (GetACP() != CP_UTF8) return std::string(wholeCharacters(field, 0));
  if (zv::isValidUtf8(field)) return std::string(field);
  std::string_view whole;
  if (isCutUtf8(field, width, whole)) return std::string(whole);
  const unsigned legacy = zv::legacyAnsiCodePage();
  return narrowOf(wideOf(wholeCharacters(field, legacy), legacy), CP_UTF8, nullptr);
}

std::string activeToId3v1Field(std::string_view text, size_t width) {
  unsigned codePage = 0;
  std::string bytes(text);
  if (GetACP() == CP_UTF8) {
    const unsigned legacy = zv::legacyAnsiCodePage();
    bool lost = false;
    std::string inLegacy = narrowOf(wideOf(text, CP_UTF8), legacy, &lost);
    if (!lost) {
      bytes = std::move(inLegacy);
      codePage = legacy;
    }
  }
  std::string field(width + 1, '\0');
  zv::copyBounded(field.data(), field.size(), bytes, codePage);
  field.resize(std::strlen(field.c_str()));
  return field;
}

}  // namespace zvid3
