// The ID3v2 frame types zvid3 knows, in the order the player lists them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace zvid3 {

struct FrameType {
  std::string id;    // four lower-case characters as callers see them
  std::string name;  // readable name
  int kind;          // ZV_ID3_KIND_*
};

const std::vector<FrameType>& knownFrameTypes();

// The type of `id` (lower case); unknown ids get a type of their own whose
// kind follows the id's first letter (t text, w link, else other) and whose
// name is the id.
FrameType frameTypeOf(std::string_view id);

// Callers name year, original year and involved people by their ID3v2.3
// ids; TagLib keeps them under their ID3v2.4 ids and converts when writing
// ID3v2.3.
std::string storedId(std::string_view shownId);  // "tyer" -> "TDRC"
std::string shownId(std::string_view storedId);  // "TDRC" -> "tyer"

}  // namespace zvid3
