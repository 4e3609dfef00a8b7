// The bytes of a directory cache file "ZVDC0002" behind an open handle:
// the magic, then entries of key length K, the key (a location without its
// "X:\\"), playlist length D and a binary playlist. Apart from the opening
// of the file so that the walk runs on any byte source. Cache files are
// untrusted input: every length is checked against the file.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "foundation/file_io.h"
#include "foundation/legacy_text.h"
#include "foundation/text_util.h"
#include "zv_playlist.h"

namespace zv {

constexpr char kDirCacheMagic[8] = {'Z', 'V', 'D', 'C', '0', '0', '0', '2'};
// Longest key including its NUL.
constexpr uint32_t kDirCacheKeyMax = 260;

inline int64_t filePosition(HANDLE file) {
  LARGE_INTEGER zero = {}, pos = {};
  return SetFilePointerEx(file, zero, &pos, FILE_CURRENT) ? pos.QuadPart : -1;
}

inline bool seekTo(HANDLE file, int64_t at) {
  LARGE_INTEGER to;
  to.QuadPart = at;
  return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

// One step of a walk over the entries.
struct DirCacheEntry {
  int64_t start = 0;    // offset of K
  int64_t listAt = 0;   // offset of the playlist
  int64_t end = 0;      // offset behind the playlist
  bool keyFits = false; // the key was short enough to be read
  std::string key;
};

// Reads the entry at the file's position. False at the end of the file and
// for an entry whose lengths run past it (the rest of the file is ignored).
inline bool readDirCacheEntry(HANDLE file, int64_t fileSize, DirCacheEntry& e) {
  e.start = filePosition(file);
  uint32_t k = 0, d = 0;
  if (e.start < 0 || !readExact(file, &k, 4)) return false;
  if (k == 0 || int64_t(k) > fileSize - e.start - 4) return false;
  e.keyFits = k <= kDirCacheKeyMax;
  if (e.keyFits) {
    char key[kDirCacheKeyMax];
    if (!readExact(file, key, k)) return false;
    e.key.assign(key, strnlen(key, k));
  } else if (!seekTo(file, e.start + 4 + k)) {
    return false;
  }
  if (!readExact(file, &d, 4)) return false;
  e.listAt = e.start + 8 + k;
  e.end = e.listAt + d;
  return e.end <= fileSize;
}

// True when a stored key names `key`. A key stored before the program ran
// with the UTF-8 code page is in the legacy one and is compared converted,
// so a disc listed then is still found (and not stored twice).
inline bool dirCacheKeyIs(const DirCacheEntry& e, std::string_view key) {
  if (!e.keyFits) return false;
  std::string stored = e.key;
  convertStoredText(stored);
  return sameTextIgnoringCase(stored, key);
}

inline int64_t dirCacheFileSize(HANDLE file) {
  LARGE_INTEGER size = {};
  return GetFileSizeEx(file, &size) ? size.QuadPart : -1;
}

inline bool hasDirCacheMagic(HANDLE file) {
  char magic[8] = {};
  return seekTo(file, 0) && readExact(file, magic, 8) && std::memcmp(magic, kDirCacheMagic, 8) == 0;
}

// Fills `pl` from the cache file open in `file` when it holds `key`; the
// names keep their paths but take the drive letter `drive` (the disc may
// have moved).
inline bool readDirCache(Playlist pl, HANDLE file, std::string_view key, char drive) {
  if (!hasDirCacheMagic(file)) return false;
  int64_t size = dirCacheFileSize(file);
  DirCacheEntry e;
  while (readDirCacheEntry(file, size, e)) {
    if (dirCacheKeyIs(e, key)) {
      // The stored playlist must end where its entry says it does.
      if (!plLoadFromHandle(pl, file) || filePosition(file) > e.end) {
        plClear(pl);
        return false;
      }
      for (int32_t i = 0; i < plGetCount(pl); ++i) {
        std::string name = plGetName(pl, i);
        if (name.size() >= 2 && name[1] == ':') {
          name[0] = drive;
          plSetName(pl, i, name.c_str());
        }
      }
      return true;
    }
    if (!seekTo(file, e.end)) break;
  }
  return false;
}

}  // namespace zv
