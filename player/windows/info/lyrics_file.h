// The lyrics file itself: 8-bit text, lines ended with CR LF.
#pragma once
#include <optional>
#include <string>

namespace zv::info {

// The file's text with its line ends made CR LF (for a multi-line EDIT);
// nothing when the file cannot be read. Files over 1 MiB are not lyrics and
// are not read.
std::optional<std::string> readLyrics(const std::string& path);

// Writes `text` (CR LF lines; lone LFs become CR LF), clearing a read-only
// mark first. False when it cannot be written.
bool writeLyrics(const std::string& path, const std::string& text);

// Deletes the file; true when it is gone (or was never there).
bool deleteLyrics(const std::string& path);

// `text` with every line ended by CR LF (lone CRs and LFs converted).
std::string withCrLf(const std::string& text);

}  // namespace zv::info
