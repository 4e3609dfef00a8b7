// Reading and rendering ID3v2 tags with TagLib.
#pragma once
#include <string>

#include "id3v2_model.h"

namespace TagLib::ID3v2 {
class Tag;
}

namespace zvid3 {

// The frames of a TagLib tag as the interface sees them (`tag` emptied
// first); the version is the tag's (2.4) or else 2.3.
void modelFromTag(const TagLib::ID3v2::Tag& source, TagData& tag);

// Reads the file's ID3v2 tag into `tag` (emptied first). Returns a
// ZV_ID3_* code: OK, NO_TAG, NO_TAGS_HERE or IO_ERROR.
int loadTag(const std::wstring& path, TagData& tag);

// The tag as stored bytes in its version (2.3 or 2.4, with padding); empty
// when no frame has content, so that saving it removes the tag.
std::string renderTag(const TagData& tag);

// True when TagLib reads back from `path` an ID3v2 tag of exactly
// `tagBytes` bytes (or none when `tagBytes` is 0).
bool tagReadsBack(const std::wstring& path, size_t tagBytes);

}  // namespace zvid3
