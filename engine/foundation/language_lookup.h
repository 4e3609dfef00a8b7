// Looking a key up in the bytes of a language file ("key=translation"
// lines), apart from the file's reading so that it runs on any buffer.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zv {

// The translation of `key` in `buffer` (a line feed followed by the file's
// bytes): the text after the first "\nkey=" up to the next CR, LF or NUL;
// nullopt when the key is not there.
std::optional<std::string> lookupTranslation(std::string_view buffer, std::string_view key);

}  // namespace zv
