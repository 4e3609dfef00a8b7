// Small text and path helpers shared by the engine units. Engine strings are
// 8-bit texts in the active code page. In double-byte code pages a trail
// byte can equal '\\' or '|', so scans step over whole characters.
//
// The character-level helpers take a code page (0 = the active one) and are
// inline: the engine always passes 0, while tests run them under a
// double-byte code page that the test machine itself does not use.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

// True if `c` opens a two-byte character in `codePage` (0: the active one).
inline bool isLeadByte(unsigned char c, unsigned codePage = 0) {
  return c >= 0x80 && IsDBCSLeadByteEx(codePage, c) != 0;
}

// Bytes taken by the character at text[i]: 2 for a lead byte followed by a
// trail byte, else 1 (a lead byte at the very end stands alone).
inline size_t charSizeAt(std::string_view text, size_t i, unsigned codePage = 0) {
  return (isLeadByte(static_cast<unsigned char>(text[i]), codePage) && i + 1 < text.size()) ? 2 : 1;
}

// Splits at a one-character separator: each separator ends an item and the
// text after the last one is always added ("" -> {""}, "a|" -> {"a", ""}).
std::vector<std::string> splitText(std::string_view text, char separator);

// Position of the last '\\' of a path, or npos; a trail byte never counts.
inline size_t lastSeparator(std::string_view path, unsigned codePage = 0) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < path.size(); i += charSizeAt(path, i, codePage))
    if (path[i] == '\\') last = i;
  return last;
}

// Splits a path at every '\\' character (not at trail bytes); like
// splitText, "" gives {""} and a leading "\\\\" gives two empty items.
inline std::vector<std::string> splitPath(std::string_view path, unsigned codePage = 0) {
  std::vector<std::string> items;
  size_t start = 0;
  for (size_t i = 0; i < path.size(); i += charSizeAt(path, i, codePage)) {
    if (path[i] != '\\') continue;
    items.emplace_back(path.substr(start, i - start));
    start = i + 1;
  }
  items.emplace_back(path.substr(start));
  return items;
}

// True if `path` ends with a '\\' character (a trail byte 0x5C does not count).
inline bool endsWithSeparator(std::string_view path, unsigned codePage = 0) {
  return !path.empty() && lastSeparator(path, codePage) == path.size() - 1;
}

// Compares two texts ignoring case the way file names are compared: per
// character through Unicode, so accented letters and double-byte names match
// their other case and a trail byte is never folded on its own.
inline bool sameTextIgnoringCase(std::string_view a, std::string_view b, unsigned codePage = 0) {
  if (a == b) return true;
  auto upper = [codePage](std::string_view t, std::wstring& out) {
    if (t.empty()) return true;
    int n = MultiByteToWideChar(codePage, 0, t.data(), static_cast<int>(t.size()), nullptr, 0);
    if (n <= 0) return false;
    out.resize(static_cast<size_t>(n));
    MultiByteToWideChar(codePage, 0, t.data(), static_cast<int>(t.size()), out.data(), n);
    CharUpperBuffW(out.data(), static_cast<DWORD>(n));
    return true;
  };
  std::wstring wa, wb;
  return upper(a, wa) && upper(b, wb) && wa == wb;
}

// The file name after the last '\\' (the whole text if none).
std::string fileNamePart(std::string_view path);
// The extension from the last '.' after the last '\\', dot included; "" if none.
std::string extensionPart(std::string_view path);
// The directory part including the last '\\'; "" if none.
std::string directoryPart(std::string_view path);

// The Windows directory (GetWindowsDirectoryA), without trailing '\\'.
std::string windowsDirectory();

// Copies `text` into a caller buffer of `size` bytes, cut to fit, always
// terminated; never cuts a double-byte or UTF-8 character in half.
inline void copyBounded(char* out, size_t size, std::string_view text, unsigned codePage = 0) {
  if (!out || size == 0) return;
  size_t n = 0;
  while (n < text.size()) {
    size_t step = charSizeAt(text, n, codePage);
    if (n + step > size - 1) break;
    n += step;
  }
  // In UTF-8 a character of several bytes is never cut either: the cut
  // moves back to the start of the character it would split.
  if (n < text.size() && (codePage ? codePage : GetACP()) == CP_UTF8)
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

inline bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// ASCII-only lower/upper case (the locale-aware ones live with their users).
std::string asciiLower(std::string_view text);
// Equal but for the case of ASCII letters (keys, section and record names).
bool sameAsciiIgnoringCase(std::string_view a, std::string_view b);

}  // namespace zv
