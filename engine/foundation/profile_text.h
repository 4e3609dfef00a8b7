// The text of a private-profile (".ini") file as the system's reader sees
// it: "[section]" lines, "key=value" lines, names compared ignoring ASCII
// case and surrounding blanks. The configuration file's backing edits this
// text itself and replaces the file whole, since the system's writer
// rewrites the file in place and a process that dies meanwhile leaves it
// cut short.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zv {

// The value of `key` in the first `section` that holds it, without the
// blanks around it; nullopt when absent.
std::optional<std::string> profileValue(std::string_view text, std::string_view section, std::string_view key);

// The value as the system's reader hands it to a buffer of `size` bytes
// (size > 0): one pair of quotes (" or ') around it stripped, cut to
// size - 1 bytes without halving a character; "" when absent.
std::string profileValueAsRead(std::string_view text, std::string_view section, std::string_view key, size_t size);

// `text` with `key` of `section` set to `value`: the first such line
// replaced, else the line added behind the section's last line, else the
// section appended. A value is cut at its first line break (it would
// otherwise add lines of its own); a section holding ']' or a line break,
// or a key holding '=' or a line break, leaves the text unchanged. A
// UTF-8 byte order mark stays in front.
std::string withProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value);

// True when the text starts with a UTF-16 byte order mark: such a file is
// not edited as 8-bit text.
bool isWideProfileText(std::string_view text);

}  // namespace zv
