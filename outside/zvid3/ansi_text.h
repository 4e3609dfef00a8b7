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

// An ID3v1 field's bytes (up to its NUL) as a text of the active code page.
// ID3v1 has no encoding of its own: writers store their own 8-bit code page,
// in practice the system's legacy one, and some store UTF-8. Under the UTF-8
// active code page a field that is UTF-8 (perhaps cut short by the field's
// width) is kept and anything else is converted from the legacy ANSI code
// page; under a legacy active code page the bytes are the text.
std::string id3v1FieldToActive(std::string_view field, size_t width);

// The bytes to store for an active-code-page text in an ID3v1 field of
// `width` bytes, cut at a character boundary. Under the UTF-8 active code
// page the legacy ANSI code page is used when it holds every character (what
// other readers of ID3v1 expect), else UTF-8, which loses nothing.
std::string activeToId3v1Field(std::string_view text, size_t width);

}  // namespace zvid3
