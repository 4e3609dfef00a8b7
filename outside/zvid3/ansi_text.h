// Texts cross zvid3's interface in the active ANSI code page while tags keep
// Unicode; these are the only places where the two meet.
#pragma once
#include <string>
#include <string_view>

namespace zvid3 {

// ANSI text to UTF-16; bytes the code page does not define become U+FFFD.
std::wstring toWide(std::string_view ansi);

// UTF-16 to ANSI; characters the code page cannot hold become "?" (never a
// look-alike, never a broken multi-byte sequence).
std::string toAnsi(std::wstring_view wide);

// Copies into a caller buffer of `size` bytes, cut at a character boundary;
// returns the bytes copied (terminator not counted).
int copyOut(char* out, size_t size, std::string_view text);

// The text with blanks and NULs removed at its end.
std::string_view trimEnd(std::string_view text);

}  // namespace zvid3
