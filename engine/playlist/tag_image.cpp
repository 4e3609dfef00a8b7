#include "playlist/tag_image.h"

#include <cstring>

#include "zvid3.h"

namespace zv {
namespace {

// A fixed-width field: up to its first NUL, blanks removed at both ends.
std::string field(const TagImage& image, size_t at, size_t width) {
  const char* p = reinterpret_cast<const char*>(image.bytes) + at;
  size_t n = strnlen(p, width);
  size_t begin = 0;
  while (begin < n && p[begin] == ' ') ++begin;
  while (n > begin && p[n - 1] == ' ') --n;
  return std::string(p + begin, n - begin);
}

}  // namespace

bool readTagImage(const char* path, TagImage& image) {
  static_assert(sizeof image.bytes == sizeof(ZvId3v1Tag));
  ZvId3v1Tag tag;
  if (readTag(path, &tag) != ZV_ID3_OK) return false;
  std::memcpy(image.bytes, &tag, sizeof tag);
  return true;
}

std::string tagTitle(const TagImage& image) { return field(image, 3, 30); }
std::string tagArtist(const TagImage& image) { return field(image, 33, 30); }
std::string tagAlbum(const TagImage& image) { return field(image, 63, 30); }
std::string tagYear(const TagImage& image) { return field(image, 93, 4); }

// The track sits in the comment's last byte, behind a NUL that marks it as
// a track number rather than comment text.
std::string tagTrack(const TagImage& image) {
  return std::to_string(image.bytes[125] == 0 ? image.bytes[126] : 0);
}

}  // namespace zv
