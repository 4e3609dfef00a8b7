// Texts other programs wrote in a legacy 8-bit code page, carried into the
// active code page. A program that declares the UTF-8 active code page in
// its manifest (the player) runs with 65001; files written before, or by
// other programs, still hold the system's legacy code page. That code page
// is the system locale's, which the manifest does not change, so it is not
// GetACP's. Under a legacy active code page (older systems, the test
// programs) every text is left as it is: it is already in that code page.
//
// The functions take the active code page as a parameter (0 = GetACP) so
// tests reach the UTF-8 paths from a program without the manifest.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace zv {

// True if `text` is well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF, no cut sequence. Pure ASCII is valid.
bool isValidUtf8(std::string_view text);

// True if `text` starts with the UTF-8 byte order mark EF BB BF.
bool hasUtf8Mark(std::string_view text);

// The system locale's ANSI code page (LOCALE_IDEFAULTANSICODEPAGE) and its
// OEM one (LOCALE_IDEFAULTCODEPAGE); 1252 and 437 when the system answers
// nothing usable.
unsigned legacyAnsiCodePage();
unsigned legacyOemCodePage();

// The ANSI code page of the language `languageId` (a LANGID), or 0 when
// the system knows no such language.
unsigned ansiCodePageOfLanguage(uint32_t languageId);

// The active code page (GetACP) when `codePage` is 0, else `codePage`.
unsigned resolvedActiveCodePage(unsigned codePage);

// `text` converted from code page `from` to code page `to` through UTF-16;
// characters `to` lacks become the system's default character. The text
// comes back unchanged when both are the same or the conversion fails.
std::string convertCodePage(std::string_view text, unsigned from, unsigned to);

// One text field of a file the engine stored itself (binary playlist,
// cache, configuration): under the UTF-8 active code page a field that is
// not valid UTF-8 was written before, in the legacy ANSI code page, and is
// converted; otherwise the field is returned as it is.
std::string storedTextToActive(std::string_view field, unsigned activeCodePage = 0);
// The same in place; true when the text was changed.
bool convertStoredText(std::string& field, unsigned activeCodePage = 0);

// How the bytes of a whole text file are to be taken.
enum class TextOrigin {
  asIs,        // valid UTF-8 without a mark, or a legacy active code page
  utf8Marked,  // began with the UTF-8 byte order mark (dropped)
  declaredUtf8,  // the file's kind says UTF-8 (".m3u8")
  legacy,      // not valid UTF-8: converted from the legacy code page
};

struct ActiveText {
  std::string text;
  TextOrigin origin = TextOrigin::asIs;
};

// The whole text of a file another program may have written, in the active
// code page. Under the UTF-8 active code page: a leading UTF-8 mark is
// dropped and the rest taken as UTF-8; a `declaredUtf8` file is UTF-8 as it
// is; a text that is valid UTF-8 is UTF-8; anything else was written in
// `legacyCodePage` (0: the legacy ANSI code page) and is converted. Under a
// legacy active code page the bytes come back unchanged.
ActiveText fileTextToActive(std::string_view bytes, bool declaredUtf8 = false, unsigned legacyCodePage = 0,
                            unsigned activeCodePage = 0);

// True when a text file the program writes should carry the UTF-8 byte
// order mark: the active code page is UTF-8 and the text holds a character
// beyond ASCII (an all-ASCII file reads the same in every code page and is
// written as before).
bool wantsUtf8Mark(std::string_view text, unsigned activeCodePage = 0);

}  // namespace zv
