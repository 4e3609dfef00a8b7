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
#include "playlist/dir_cache_form.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_playlist.h"

namespace zv {

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

// Fills `pl` from the cache when it holds `location`; the names keep their
// paths but take the location's drive letter (the disc may have moved).
inline bool lookupDirCache(Playlist pl, std::string_view location, const DriveQueries& queries,
                           const std::string& cddbDir) {
  std::string path = dirCacheFileFor(location, queries, cddbDir);
  if (path.empty()) return false;
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && readDirCache(pl, file.get(), location.substr(3), location[0]);
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
      if (dirCacheKeyIs(e, key)) return;
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
