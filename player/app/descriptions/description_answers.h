// Where an answer of the file scanner (msgInfoReady) goes in a playlist.
#pragma once
#include <cstdint>
#include <vector>

#include "zv_desc.h"
#include "zv_playlist.h"

namespace zv {

// An answer without a line is news about one file, sent to every window:
// a description was set or cleared, a tag saved, a disc named.
inline bool isFileNews(const ZvQueryResult& answer) { return answer.path[0] && answer.line < 0; }

// Writes the answer's description, information, length and size (those it
// carries) into the lines of `pl` it concerns and gives their numbers. An
// answer to a request concerns its line, if that line still names the file
// (lines move while the scanner works); news concerns every line naming the
// file, so a line listed twice, or a description typed while an older
// answer was on its way, ends with what was set last.
std::vector<int32_t> applyDescriptionAnswer(Playlist pl, const ZvQueryResult& answer);

}  // namespace zv
