// The CD path parser (no system calls: the drive probe is passed in).
#include "discs/cd_path.h"

#include <cstring>

namespace zv {

namespace cdpath {

static bool isHexDigit(char c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }

// Up to eight hexadecimal digits read as a number; anything else gives 0.
uint32_t hexId(const char* text, size_t length) {
  if (length == 0 || length > 8) return 0;
  uint32_t id = 0;
  for (size_t i = 0; i < length; ++i) {
    char c = text[i];
    if (!isHexDigit(c)) return 0;
    id = id * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
  }
  return id;
}

// The track from a file name: the text from its first to its last digit,
// read as a decimal number, minus one; -1 without digits.
int32_t trackFromName(const char* name) {
  const char* first = name;
  while (*first && !(*first >= '0' && *first <= '9')) ++first;
  if (!*first) return -1;
  int64_t n = 0;
  for (const char* p = first; *p >= '0' && *p <= '9' && n < 100000; ++p) n = n * 10 + (*p - '0');
  return static_cast<int32_t>(n) - 1;
}

const char* fileName(const char* path) {
  const char* name = std::strrchr(path, '\\');
  return name ? name + 1 : path;
}

static bool hasCdaExtension(const char* path) {
  const char* name = fileName(path);
  const char* dot = std::strrchr(name, '.');
  if (!dot || std::strlen(dot) != 4) return false;
  return (dot[1] | 0x20) == 'c' && (dot[2] | 0x20) == 'd' && (dot[3] | 0x20) == 'a';
}

static bool isDriveLetter(char c) { return ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); }

}  // namespace cdpath

CdPath parseCdPath(const char* path, AudioCdProbe probe) {
  using namespace cdpath;
  CdPath out;
  if (!path) return out;
  if (std::strncmp(path, "CD:\\", 4) == 0) {
    const char* rest = path + 4;
    const char* slash = std::strchr(rest, '\\');
    if (rest[0] == '*') {
      if (!slash) out.kind = cdaDiscList;
      return out;
    }
    if (!slash) {
      const char* dot = std::strchr(rest, '.');
      out.kind = cdaKnownDisc;
      out.discId = hexId(rest, dot ? size_t(dot - rest) : std::strlen(rest));
      return out;
    }
    out.kind = cdaKnownTrack;
    out.discId = hexId(rest, size_t(slash - rest));
    out.track = trackFromName(fileName(slash + 1));
    return out;
  }
  if (!isDriveLetter(path[0]) || path[1] != ':') return out;
  char letter = static_cast<char>(path[0] & ~0x20);
  bool root = path[2] == 0 || (path[2] == '\\' && path[3] == 0);
  bool track = !root && path[2] == '\\' && hasCdaExtension(path);
  if ((!root && !track) || !probe || !probe(letter)) return out;
  out.kind = root ? cdaDriveDisc : cdaDriveTrack;
  out.drive = letter;
  if (track) out.track = trackFromName(fileName(path));
  return out;
}

}  // namespace zv
