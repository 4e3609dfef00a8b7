// The tag information text: "key=value" lines joined by a single '\n', no
// '\n' after the last. Pure text work, shared by the exports and the file
// scanner.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace zv {

// The five standard values.
struct TagValues {
  std::string title, artist, album, year;
  int32_t track = 0;
  bool any() const { return !title.empty() || !artist.empty() || !album.empty() || !year.empty() || track != 0; }
};

// The value of `key` (case-sensitive): a line "\n" + key + "=" anywhere wins
// over a first line that starts with key + "=". False when absent.
inline bool tagInfoValue(std::string_view text, std::string_view key, std::string* out) {
  out->clear();
  std::string needle = "\n" + std::string(key) + "=";
  size_t at = text.find(needle);
  size_t start;
  if (at != std::string_view::npos) {
    start = at + needle.size();
  } else if (text.substr(0, needle.size() - 1) == std::string_view(needle).substr(1)) {
    start = needle.size() - 1;
  } else {
    return false;
  }
  size_t end = text.find('\n', start);
  out->assign(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
  return true;
}

// A number at the start of a text ("12" -> 12); 0 when the whole text is not
// a decimal integer ("3/12", "x", ""). Only the first 15 characters count.
inline int32_t trackNumber(std::string_view text) {
  text = text.substr(0, 15);
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  size_t digits = i;
  int64_t n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) n = n * 10 + (text[i] - '0');
  if (i == digits || i != text.size() || n > INT32_MAX) return 0;
  return int32_t(negative ? -n : n);
}

// The five values of a text; true when any of the four texts or the track
// line (even "track=0") is non-empty.
inline bool decodeTagValues(std::string_view text, TagValues* v) {
  std::string track;
  tagInfoValue(text, "title", &v->title);
  tagInfoValue(text, "artist", &v->artist);
  tagInfoValue(text, "album", &v->album);
  tagInfoValue(text, "year", &v->year);
  tagInfoValue(text, "track", &track);
  v->track = trackNumber(track);
  return !v->title.empty() || !v->artist.empty() || !v->album.empty() || !v->year.empty() || !track.empty();
}

// The text the engine writes for five values.
inline std::string tagInfoText(const TagValues& v) {
  return "title=" + v.title + "\nartist=" + v.artist + "\nalbum=" + v.album + "\nyear=" + v.year +
         "\ntrack=" + std::to_string(v.track);
}

}  // namespace zv
