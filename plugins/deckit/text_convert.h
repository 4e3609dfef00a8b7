// Tag texts come as UTF-8 (Vorbis comments, ID3v2 via the decoder library)
// or Latin-1 (ID3v1); the engine's texts are in the system code page.
#pragma once
#include <string>
#include <string_view>

namespace deckit {

// Characters the code page lacks become '?'.
std::string utf8ToAnsi(std::string_view utf8);
std::string latin1ToAnsi(std::string_view latin1);
// "TITLE" -> "title" (ASCII only: field names are ASCII).
std::string lowerAscii(std::string_view text);

}  // namespace deckit
