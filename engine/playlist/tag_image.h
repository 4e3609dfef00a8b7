// The fixed 128-byte tag image behind the tag sort keys, and its fields.
#pragma once
#include <cstdint>
#include <string>

namespace zv {

struct TagImage {
  uint8_t bytes[128];
};

// Reads the file's 128-byte tag image (its ID3v1 tag, through the tag
// library); false when it has none or it cannot be read.
bool readTagImage(const char* path, TagImage& image);

// The fields the sort keys use: texts trimmed of blanks, the track number
// in decimal ("0" when the image holds none).
std::string tagArtist(const TagImage& image);
std::string tagTitle(const TagImage& image);
std::string tagAlbum(const TagImage& image);
std::string tagYear(const TagImage& image);
std::string tagTrack(const TagImage& image);

}  // namespace zv
