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

// The file check with the request flags; null when no plug-in answered. The
// plug-in's tag information text comes back in the record's description
// field (request 0x200).
std::unique_ptr<ZvFileCheckRec> pluginCheck(const char* path, uint32_t request);

// Request flags the description code asks for.
constexpr uint32_t kCheckTagInfo = ZV_CHECK_DESCRIPTION;                        // 0x200
constexpr uint32_t kCheckFormatAndLength = ZV_CHECK_FORMAT_TEXT | ZV_CHECK_LENGTH;  // 0x180

// A fixed text field of a record as a string (never past its end).
template <size_t N>
std::string fieldText(const char (&field)[N]) {
  size_t n = 0;
  while (n < N && field[n]) ++n;
  return std::string(field, n);
}

}  // namespace zv
