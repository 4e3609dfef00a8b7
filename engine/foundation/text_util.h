// Small text and path helpers shared by the engine units. Engine strings are
// 8-bit texts in the active code page. In double-byte code pages a trail
// byte can equal '\\', so path scans step over whole characters.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zv {

// Splits at a one-character separator: each separator ends an item and the
// text after the last one is always added ("" -> {""}, "a|" -> {"a", ""}).
std::vector<std::string> splitText(std::string_view text, char separator);

// Position of the last '\\' of a path, or npos; aware of double-byte
// characters of the active code page.
size_t lastSeparator(std::string_view path);

// The file name after the last '\\' (the whole text if none).
std::string fileNamePart(std::string_view path);
// The extension from the last '.' after the last '\\', dot included; "" if none.
std::string extensionPart(std::string_view path);
// The directory part including the last '\\'; "" if none.
std::string directoryPart(std::string_view path);

// The Windows directory (GetWindowsDirectoryA), without trailing '\\'.
std::string windowsDirectory();

// Copies `text` into a caller buffer of `size` bytes, cut to fit, always
// terminated; never cuts a double-byte character in half.
void copyBounded(char* out, size_t size, std::string_view text);

// ASCII-only lower/upper case (the locale-aware ones live with their users).
std::string asciiLower(std::string_view text);

}  // namespace zv
