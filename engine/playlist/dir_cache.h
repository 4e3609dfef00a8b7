// The per-volume directory cache "ZVDC0002": listings read from a CD-ROM
// disc are kept in one file per volume serial, so a disc is scanned once.
// Entry: key length K, the key (the location without its "X:\"), playlist
// length D, a binary playlist. Header-only with the drive queries and the
// CD database folder passed in: tests run it against a stand-in CD drive.
// Cache files are untrusted input: every length is checked against the file.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "discs/cd_drive.h"
#include "foundation/file_io.h"
#include "foundation/text_util.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_playlist.h"

namespace zv {

constexpr char kDirCacheMagic[8] = {'Z', 'V', 'D', 'C', '0', '0', '0', '2'};
// Longest key including its NUL.
constexpr uint32_t kDirCacheKeyMax = 260;

// The cache file of the volume with `serial` under the CD database folder.
inline std::string dirCacheFile(const std::string& cddbDir, uint32_t serial) {
  char tail[40];
  std::snprintf(tail, sizeof(tail), "\\rmedia\\%8.8x\\dircache", serial);
  return cddbDir + tail;
}

// The cache file for `location`, or "" when it is not on a readable CD-ROM
// volume or too short to have a key.
inline std::string dirCacheFileFor(std::string_view location, const DriveQueries& queries,
                                   const std::string& cddbDir) {
  if (location.size() < 3) return {};
  uint32_t serial = cdVolumeSerial(location, queries);
  if (serial == 0) return {};
  return dirCacheFile(cddbDir, serial);
}

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

inline int64_t dirCacheFileSize(HANDLE file) {
  LARGE_INTEGER size = {};
  return GetFileSizeEx(file, &size) ? size.QuadPart : -1;
}

inline bool hasDirCacheMagic(HANDLE file) {
  char magic[8] = {};
  return seekTo(file, 0) && readExact(file, magic, 8) && std::memcmp(magic, kDirCacheMagic, 8) == 0;
}

// Fills `pl` from the cache when it holds `location`; the names keep their
// paths but take the location's drive letter (the disc may have moved).
inline bool lookupDirCache(Playlist pl, std::string_view location, const DriveQueries& queries,
                           const std::string& cddbDir) {
  std::string path = dirCacheFileFor(location, queries, cddbDir);
  if (path.empty()) return false;
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || !hasDirCacheMagic(file.get())) return false;
  int64_t size = dirCacheFileSize(file.get());
  std::string_view key = location.substr(3);
  DirCacheEntry e;
  while (readDirCacheEntry(file.get(), size, e)) {
    if (e.keyFits && sameTextIgnoringCase(e.key, key)) {
      // The stored playlist must end where its entry says it does.
      if (!plLoadFromHandle(pl, file.get()) || filePosition(file.get()) > e.end) {
        plClear(pl);
        return false;
      }
      for (int32_t i = 0; i < plGetCount(pl); ++i) {
        std::string name = plGetName(pl, i);
        if (name.size() >= 2 && name[1] == ':') {
          name[0] = location[0];
          plSetName(pl, i, name.c_str());
        }
      }
      return true;
    }
    if (!seekTo(file.get(), e.end)) break;
  }
  return false;
}

// Appends `pl` to the cache under `location` unless the key is there. A
// file with a wrong magic is started afresh, and a damaged tail is cut off,
// so that the new entry is reachable; a failed append is undone.
inline void storeDirCache(Playlist pl, std::string_view location, const DriveQueries& queries,
                          const std::string& cddbDir) {
  std::string path = dirCacheFileFor(location, queries, cddbDir);
  if (path.empty()) return;
  std::string key(location.substr(3));
  if (key.size() + 1 > kDirCacheKeyMax) return;
  createPath(directoryPart(path).c_str());
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  HANDLE h = file.get();
  int64_t appendAt = 8;
  if (hasDirCacheMagic(h)) {
    int64_t size = dirCacheFileSize(h);
    DirCacheEntry e;
    while (readDirCacheEntry(h, size, e)) {
      if (e.keyFits && sameTextIgnoringCase(e.key, key)) return;
      appendAt = e.end;
      if (!seekTo(h, e.end)) return;
    }
  } else if (!seekTo(h, 0) || !writeAll(h, kDirCacheMagic, 8)) {
    return;
  }
  uint32_t k = static_cast<uint32_t>(key.size() + 1), d = 0;
  bool ok = seekTo(h, appendAt) && SetEndOfFile(h) && writeAll(h, &k, 4) && writeAll(h, key.c_str(), k) &&
            writeAll(h, &d, 4) && plSaveToHandle(pl, h);
  int64_t end = ok ? filePosition(h) : -1;
  if (ok && end > 0) {
    d = static_cast<uint32_t>(end - (appendAt + 8 + k));
    ok = seekTo(h, appendAt + 4 + k) && writeAll(h, &d, 4);
  }
  if (!ok) {
    seekTo(h, appendAt);
    SetEndOfFile(h);
  }
}

}  // namespace zv
