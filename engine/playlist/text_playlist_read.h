// Reading the text playlists (M3U, PLS, AAP, Z3U) from their bytes.
// Header-only and built on exports alone, so tests run the very same parser
// with OEM detection switched on, which needs a Russian user locale the test
// machine does not have.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/path_forms.h"
#include "foundation/text_util.h"
#include "zv_playlist.h"

namespace zv {

enum class TextFormat { m3u, pls, aap, z3u };

// The format a playlist file has, by its extension (any case).
inline TextFormat textFormatOf(std::string_view location) {
  std::string ext = asciiLower(extensionPart(location));
  if (ext == ".pls") return TextFormat::pls;
  if (ext == ".aap") return TextFormat::aap;
  if (ext == ".z3u") return TextFormat::z3u;
  return TextFormat::m3u;
}

// Longest path and heading title a text line may give.
constexpr size_t kTextPathMax = 259;
constexpr size_t kTitleMax = 255;
// Levels beyond this in a Z3U line are not believed (read as 0).
constexpr int32_t kLevelMax = 9999;

inline bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

inline std::string_view trimmed(std::string_view s) {
  while (!s.empty() && isBlankOrControl(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlankOrControl(s.back())) s.remove_suffix(1);
  return s;
}

inline bool startsWithIgnoringCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if ((s[i] | 0x20) != prefix[i]) return false;
  return true;
}

// The lines of a text file, split at CR, LF or CR LF.
inline std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// A byte that DOS Cyrillic uses for letters and the Windows one does not:
// the sign that a file was written in the OEM code page.
inline bool hasOemCyrillicByte(std::string_view line) {
  for (char c : line) {
    unsigned char b = static_cast<unsigned char>(c);
    if ((b >= 0x80 && b <= 0xA7) || (b >= 0xA9 && b <= 0xAF)) return true;
  }
  return false;
}

// The Z3U level before the first ':': decimal digits only, else 0.
inline int32_t parseLevel(std::string_view text) {
  text = trimmed(text);
  if (text.empty() || text.size() > 4) return 0;
  int32_t level = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    level = level * 10 + (c - '0');
  }
  return level <= kLevelMax ? level : 0;
}

// The flags a path line gets: plGetFlags, or a rule that gives the same
// flags faster for a whole file (the engine lists each folder once).
using LocationFlagsOf = std::function<uint32_t(const char* location)>;

inline uint32_t flagsPerLocation(const char* location) { return plGetFlags(location); }

// The lines read from a file, kept until the whole file is read: they are
// then added in one go, and the playlist can make room for all of them
// first instead of growing line by line.
struct TextLines {
  struct Line {
    PlaylistLine rec;
    std::string name, desc;
  };
  std::vector<Line> lines;

  // What the lines take in the playlist's lists: each text stored with its
  // terminating zero and a 4-byte length (info is always null).
  int64_t nameBytes() const {
    int64_t n = 0;
    for (const Line& l : lines) n += int64_t(l.name.size()) + 5;
    return n;
  }
  int64_t descBytes() const {
    int64_t n = 0;
    for (const Line& l : lines) n += int64_t(l.desc.size()) + 5;
    return n;
  }
};

// What a caller may supply to read faster with the same result: the flags
// of path lines, and a way to make room for the lines before they are
// added (by default none: the playlist grows as lines arrive).
struct TextReadHooks {
  LocationFlagsOf flagsOf = flagsPerLocation;
  std::function<void(Playlist, const TextLines&)> reserve;
};

// Keeps the line for one stored path; a path that decodes longer than a
// location may be is skipped rather than cut into the name of another file.
inline void addPathLine(TextLines& out, const RelFormDecoder& paths, std::string_view stored, int32_t level,
                        uint32_t extraFlags, const LocationFlagsOf& flagsOf) {
  stored = trimmed(stored);
  if (stored.empty()) return;
  std::string path = paths.decode(stored);
  if (path.empty() || path.size() > kTextPathMax) return;
  PlaylistLine rec = {};
  rec.level = level;
  rec.flags = flagsOf(path.c_str()) | lfListed | extraFlags;
  out.lines.push_back({rec, std::move(path), std::string()});
}

inline void addHeadingLine(TextLines& out, std::string_view title, int32_t level) {
  title = trimmed(title);
  std::string text;
  // Cut at a character boundary so a double-byte title stays whole.
  for (size_t i = 0; i < title.size();) {
    size_t step = charSizeAt(title, i);
    if (i + step > kTitleMax) break;
    text.append(title.substr(i, step));
    i += step;
  }
  PlaylistLine rec = {};
  rec.level = level;
  rec.flags = lfGroup | lfHeading | lfFixed;
  out.lines.push_back({rec, std::string(), std::move(text)});
}

// key "=" value with the key trimmed; false without "=".
inline bool splitKeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = trimmed(line.substr(0, eq));
  value = trimmed(line.substr(eq + 1));
  return true;
}

inline void parseTextLine(TextLines& out, TextFormat format, const RelFormDecoder& paths, std::string_view line,
                          const LocationFlagsOf& flagsOf) {
  std::string_view key, value;
  switch (format) {
    case TextFormat::m3u:
      if (line[0] != '#') addPathLine(out, paths, line, 0, 0, flagsOf);
      break;
    case TextFormat::pls:
      if (line[0] != '[' && splitKeyValue(line, key, value) && startsWithIgnoringCase(key, "file"))
        addPathLine(out, paths, value, 0, 0, flagsOf);
      break;
    case TextFormat::aap:
      if (line[0] != '[' && splitKeyValue(line, key, value) && startsWithIgnoringCase(key, "entry") &&
          (value.empty() || value[0] != ';'))
        addPathLine(out, paths, value, 0, 0, flagsOf);
      break;
    case TextFormat::z3u: {
      if (line[0] == '#') break;
      size_t colon = line.find(':');
      if (colon == std::string_view::npos) break;
      int32_t level = parseLevel(line.substr(0, colon));
      std::string_view rest = line.substr(colon + 1);
      if (!rest.empty() && rest[0] == '>')
        addHeadingLine(out, rest.substr(1), level);
      else
        addPathLine(out, paths, rest, level, lfFixed, flagsOf);
      break;
    }
  }
}

// Fills `pl` (emptied first) from the bytes of the text playlist `base`.
// With `detectOem` the first line that looks like DOS Cyrillic turns OEM to
// ANSI conversion on and the reading starts over.
inline void parseTextPlaylist(Playlist pl, std::string_view base, std::string_view bytes, bool detectOem,
                              const TextReadHooks& hooks = {}) {
  TextFormat format = textFormatOf(base);
  RelFormDecoder paths(base);
  std::vector<std::string_view> lines = splitLines(bytes);
  bool convert = false;
  TextLines out;
  plClear(pl);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (detectOem && hasOemCyrillicByte(lines[i])) {
      detectOem = false;
      convert = true;
      out.lines.clear();
      i = size_t(-1);  // the loop's ++ starts over at the first line
      continue;
    }
    std::string_view line = trimmed(lines[i]);
    if (line.empty()) continue;
    std::string converted;
    if (convert) {
      converted.assign(line);
      OemToCharBuffA(converted.c_str(), converted.data(), static_cast<DWORD>(converted.size()));
      line = trimmed(converted);
      if (line.empty()) continue;
    }
    parseTextLine(out, format, paths, line, hooks.flagsOf);
  }
  if (hooks.reserve) hooks.reserve(pl, out);
  for (const TextLines::Line& l : out.lines) plAddLine(pl, &l.rec, l.name.c_str(), l.desc.c_str(), nullptr);
}

}  // namespace zv
