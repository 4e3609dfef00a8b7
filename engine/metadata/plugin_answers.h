// What the plug-ins say about a file: a file-system plug-in's description
// and a playback plug-in's file check.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "zv_decoder.h"

namespace zv {

// A file-system plug-in's description (request 1); false when none gave a
// non-empty one.
bool pluginDescription(const char* path, std::string* text);

// Offers the description to the file-system plug-ins (request 2); true when
// one took it.
bool pluginTakesDescription(const char* path, const char* text);

// The file check with the request flags; null when no plug-in answered.
// pluginTagInfo reads the tag information out of the answer.
std::unique_ptr<ZvFileCheckRec> pluginCheck(const char* path, uint32_t request);

// Request flags the description code asks for. Decoders answer the
// description request (0x200) with a display text ("Artist - Title", or the
// file name) and give their tags as name=value lines only for the tag field
// request (0x40), so both are asked.
constexpr uint32_t kCheckTagInfo = ZV_CHECK_DESCRIPTION | ZV_CHECK_TAG_TEXT;    // 0x240
constexpr uint32_t kCheckFormatAndLength = ZV_CHECK_FORMAT_TEXT | ZV_CHECK_LENGTH;  // 0x180

// The tag information text of a plug-in's answer to kCheckTagInfo:
// - a description that already holds tag information lines ("title=...") is
//   taken whole (plug-ins that answer that way have 4095 characters for it);
// - otherwise the tag fields: title, artist, album, year (or else "date") and
//   track (or else "tracknumber", the number before any "/"), names compared
//   without regard to case, become the five lines the engine writes, followed
//   by the plug-in's other lines. Values are never cut. A title that did not
//   fit into the 255 characters of the tag fields is taken from a display
//   text of the form artist + " - " + title;
// - empty when the plug-in gave neither (its display text alone is no tag).
std::string pluginTagInfo(const ZvFileCheckRec& rec);

// A fixed text field of a record as a string (never past its end).
template <size_t N>
std::string fieldText(const char (&field)[N]) {
  size_t n = 0;
  while (n < N && field[n]) ++n;
  return std::string(field, n);
}

}  // namespace zv
