#include "startup/stored_playlists.h"

#include <windows.h>

namespace zv {
namespace {

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

std::string asideName(const std::string& path) {
  std::string name = path + ".damaged";
  for (int n = 2; exists(name) && n < 1000; ++n) name = path + ".damaged" + std::to_string(n);
  return name;
}

StoredLoadResult loadStoredPlaylist(Playlist pl, const std::string& path) {
  StoredLoadResult r;
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) {
    plClear(pl);
    return r;
  }
  if (plLoad(pl, path.c_str(), plLoadBinary) == plResultOk) {
    r.outcome = StoredLoad::loaded;
    return r;
  }
  plClear(pl);
  r.asidePath = asideName(path);
  r.outcome = MoveFileA(path.c_str(), r.asidePath.c_str()) ? StoredLoad::keptAside : StoredLoad::unreadable;
  if (r.outcome == StoredLoad::unreadable) r.asidePath.clear();
  return r;
}

bool saveStoredPlaylist(Playlist pl, const std::string& path) {
  return plSave(pl, path.c_str(), plSaveBinary) == plResultOk;
}

}  // namespace zv
