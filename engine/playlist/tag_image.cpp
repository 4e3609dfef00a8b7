#include "playlist/tag_image.h"

#include <windows.h>

#include <cstring>

#include "foundation/file_io.h"
#include "foundation/win_handle.h"

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
  UniqueFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size = {}, at = {};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 128) return false;
  at.QuadPart = size.QuadPart - 128;
  if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !readExact(file.get(), image.bytes, 128))
    return false;
  return std::memcmp(image.bytes, "TAG", 3) == 0;
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
