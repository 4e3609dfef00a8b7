#include "id3_values.h"

#include <windows.h>

#include <algorithm>

#include "win32/owners.h"

namespace zv::info {

int trackFromText(const std::string& text) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return 0;
  int value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ') break;
    if (c < '0' || c > '9') return 0;
    value = std::min(255, value * 10 + (c - '0'));
  }
  return value;
}

std::string trackText(int track) { return track > 0 ? std::to_string(track) : std::string(); }

int storedGenre(int chosen) { return chosen >= 0 && chosen <= 254 ? chosen : ZV_ID3_GENRE_NONE; }

Id3Values valuesOfTag(const ZvId3v1Tag& tag, size_t genreCount) {
  char title[31] = {}, artist[31] = {}, album[31] = {}, year[5] = {}, comment[31] = {};
  int32_t track = 0, genre = ZV_ID3_GENRE_NONE;
  decodeTag(&tag, title, artist, album, year, comment, &track, &genre);
  Id3Values v{title, artist, album, year, comment, track, -1};
  if (genre >= 0 && static_cast<size_t>(genre) < genreCount && genre != ZV_ID3_GENRE_NONE) v.genre = genre;
  return v;
}

ZvId3v1Tag tagOfValues(const Id3Values& v) {
  ZvId3v1Tag tag{};
  encodeTag(&tag, v.title.c_str(), v.artist.c_str(), v.album.c_str(), v.year.c_str(), v.comment.c_str(), v.track,
            storedGenre(v.genre));
  return tag;
}

std::vector<std::string> readIdList(const std::string& path) {
  std::vector<std::string> items;
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return items;
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > (1 << 20)) return items;
  std::string text(size, '\0');
  DWORD got = 0;
  if (size && (!ReadFile(file.get(), text.data(), size, &got, nullptr) || got != size)) return items;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line.erase(std::remove(line.begin(), line.end(), '\0'), line.end());
    items.push_back(line);
    start = end + 1;
  }
  return items;
}

std::string idListPath(const std::string& rootDir, const std::string& language, const std::string& name) {
  const std::string own = rootDir + "\\lang\\" + language + "\\id3\\" + name;
  if (GetFileAttributesA(own.c_str()) != INVALID_FILE_ATTRIBUTES) return own;
  return rootDir + "\\lang\\en\\id3\\" + name;
}

}  // namespace zv::info
