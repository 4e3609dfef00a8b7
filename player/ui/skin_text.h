// The lexical layer of the skin file language: trimming, numbers with their
// far-edge mark, colours, quoted words, and the reading of a skin file into
// logical lines (includes and continuations). Pure code: files come in
// through a reader the caller gives, so all of it runs without a display.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zv::ui {

// Skins are user downloads: every size the language can express is kept
// inside these bounds, so no value can ask for a giant bitmap or region.
inline constexpr int kSkinCoordLimit = 16384;
// "No colour": a control with it paints no background of its own.
inline constexpr COLORREF kNoColor = 0xffffffffu;
// Includes deeper than this are refused (a cycle is refused at once).
inline constexpr int kSkinIncludeDepth = 16;
// A skin (with everything it includes) yields at most this many lines; a
// chain of files each including the next many times cannot blow up.
inline constexpr size_t kSkinLineLimit = 100000;
// A single skin file larger than this is not read.
inline constexpr size_t kSkinFileLimit = 4u << 20;
// A logical line longer than this (continuations included) is cut.
inline constexpr size_t kSkinLogicalLineLimit = 64u << 10;

std::string_view trimSkin(std::string_view text);
std::string toLowerAscii(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

// A number of the language: "!" marks it as counted from the far (right or
// bottom) edge, "#", "$" or "0x" make it hexadecimal. Anything that is not a
// number, or does not fit, reads as 0; the value is clamped to the
// coordinate limit.
struct SkinNumber {
  int value = 0;
  bool farEdge = false;
  bool operator==(const SkinNumber&) const = default;
};
SkinNumber parseSkinNumber(std::string_view text);

// A colour: the hexadecimal digits RRGGBB (a leading "#", "$" or "0x" is
// allowed), returned as a Windows colour (red and blue exchanged:
// 0x00BBGGRR). Colours are always read in hexadecimal: "808080" is grey,
// not the decimal number. Anything else reads as 0 (black).
COLORREF parseSkinColor(std::string_view text);

// Words split at blanks; a double-quoted run is one word, unquoted, with a
// doubled quote inside standing for one quote.
std::vector<std::string> splitSkinWords(std::string_view text);

// Splits "key=value" at the first "=", both sides trimmed. False for a line
// without "=".
bool splitSkinAttribute(std::string_view line, std::string& key, std::string& value);

// Returns the content of a file, or nothing when it cannot be read.
using SkinFileReader = std::function<std::optional<std::string>(const std::string& path)>;

struct SkinLines {
  std::vector<std::string> lines;
  std::vector<std::string> problems;  // includes refused or missing, limits hit
  bool fileRead = false;              // the top file itself could be read
};

// Reads a skin file into its logical lines: trimmed lines, "INC:" includes
// relative to the including file's folder (nested, with cycles and depth
// limited), "\" continuations joined with one blank.
SkinLines readSkinLines(const std::string& path, const SkinFileReader& reader);

// The folder part of a path, with its final "\" (empty when there is none).
std::string skinFolderOf(const std::string& path);

}  // namespace zv::ui
