// Listing a directory as a playlist: the medium's own playlist if it names
// one, else its visible subdirectories and supported files, sorted with
// files first.
#include <windows.h>

#include <string>

#include "foundation/text_util.h"
#include "playback/host/plugin_host.h"
#include "playlist/expansion_drives.h"
#include "playlist/location_flags.h"
#include "playlist/medium_playlist.h"
#include "playlist/playlist_files.h"
#include "win32/owners.h"
#include "zv_paths.h"

namespace zv {
namespace {

// An "autorun.inf" naming "." or a chain of media naming each other must
// not recurse without end; a few hops are more than any disc needs.
constexpr int kMediumHopsMax = 4;
thread_local int t_mediumHops = 0;

struct HopGuard {
  HopGuard() { ++t_mediumHops; }
  ~HopGuard() { --t_mediumHops; }
};

std::string lowerText(std::string text) {
  if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

bool admitted(const std::string& path, bool isDirectory) {
  if (isDirectory) return true;
  std::string ext = extensionPart(path);
  return !ext.empty() && isSupportedExtension(lowerText(ext));
}

void appendEntry(PlaylistHandle* pl, std::string path, DWORD listedAttributes) {
  bool isDirectory = (listedAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  bool listed = true;
  if (hasExt(path.c_str(), ".lnk")) {
    listed = false;
    char target[MAX_PATH + 1] = {};
    resolveLink(path.c_str(), target);
    if (!target[0]) return;
    path = target;
    DWORD attributes = GetFileAttributesA(path.c_str());
    isDirectory = attributes != INVALID_FILE_ATTRIBUTES ? (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                                                        : extensionPart(path).empty();
  }
  if (!admitted(path, isDirectory)) return;
  PlaylistLine rec = {};
  rec.flags = listed ? listedEntryFlags(path.c_str(), listedAttributes) : plGetFlags(path.c_str());
  plAddLine(pl, &rec, path.c_str(), nullptr, nullptr);
}

}  // namespace

int32_t listDirectory(PlaylistHandle* pl, const std::string& location, uint32_t flags) {
  std::string dir = location;
  if (!endsWithSeparator(dir)) dir += '\\';
  DWORD attributes = GetFileAttributesA(dir.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return plResultFailed;

  std::string named = mediumPlaylistName(dir, playlistDriveQueries());
  if (!named.empty() && t_mediumHops < kMediumHopsMax) {
    HopGuard hop;
    return plLoad(pl, (dir + named).c_str(), flags);
  }

  WIN32_FIND_DATAA found;
  UniqueFind find(FindFirstFileA((dir + "*.*").c_str(), &found));
  if (find) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) continue;
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      appendEntry(pl, dir + name, found.dwFileAttributes);
    } while (FindNextFileA(find.get(), &found));
  }
  plSort(pl, plSortFilesFirst, -1, -1);
  return plResultOk;
}

}  // namespace zv
