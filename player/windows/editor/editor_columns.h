// The nine columns of the playlist editor and the text of every cell: the
// name (the desc, or the short description of the name until the scanner
// answers), time, format, size and the tag values of the line's info text.
// Pure apart from the engine's text helpers; no window.
#pragma once
#include <cstdint>
#include <string>

#include "zv_playlist.h"

namespace zv::editor {

inline constexpr int kColumnCount = 9;
enum Column { colName, colTime, colFormat, colSize, colTitle, colArtist, colAlbum, colYear, colTrack };

// The localised header ("ColName###Name", ...); null outside 0..8.
const char* columnHeader(int column);
// The default width in pixels of a column.
int defaultColumnWidth(int column);

// "m:ss", from one hour on "h:mm:ss"; "" for 0 (unknown) and below.
std::string formatTime(int32_t ms);
// "<n> KB" below 1024 KB, else "<x.y> MB"; "" for 0 and below.
std::string formatSize(int32_t kb);

// The text of a cell; "" for a line or column out of range.
std::string cellText(Playlist pl, int32_t line, int column);

}  // namespace zv::editor
