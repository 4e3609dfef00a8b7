// Tag information from a file's own tags (through zvid3) and from the
// plug-ins, and its formatting into a description.
#pragma once
#include <string>

#include "metadata/tag_info.h"

namespace zv {

// The five values from the ID3v2 tag, the still-empty ones filled from the
// ID3v1 tag; false when neither gave any.
bool readTagValues(const char* path, TagValues* values);

// The tag information text from the tags; false (and empty) when none.
bool tagInfoFromTags(const char* path, std::string* text);

// The description of a tag information text with the "TagFmt" format;
// empty when the text names none of the five values or nothing applies.
std::string formatTagInfo(const char* path, const std::string& text);

}  // namespace zv
