#include "openfile/open_file_rules.h"

#include <windows.h>

#include <algorithm>

#include "startup/shell_assoc.h"
#include "win32/owners.h"
#include "zv_paths.h"

namespace zv::openfile {
namespace {

bool lessIgnoringCase(const FolderEntry& a, const FolderEntry& b) {
  if (a.folder != b.folder) return a.folder;
  return lstrcmpiA(a.name.c_str(), b.name.c_str()) < 0;
}

std::string lowerExtension(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0) return {};
  std::string ext = name.substr(dot);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

}  // namespace

std::vector<FolderEntry> listFolder(const std::string& folder, const std::function<bool(const std::string&)>& wanted) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA data{};
  UniqueFind find(FindFirstFileA(joinPath(folder, "*").c_str(), &data));
  if (!find) return entries;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder || !wanted || wanted(name)) entries.push_back({name, isFolder});
  } while (FindNextFileA(find.get(), &data));
  std::sort(entries.begin(), entries.end(), lessIgnoringCase);
  return entries;
}

std::string parentFolder(const std::string& folder) {
  std::string f = folder;
  while (f.size() > 3 && f.back() == '\\') f.pop_back();
  const size_t cut = f.find_last_of('\\');
  if (cut == std::string::npos) return f;
  // "C:\a" -> "C:\"; a UNC share ("\\server\share") stays itself.
  if (cut == 2 && f.size() > 1 && f[1] == ':') return f.substr(0, 3);
  if (f.rfind("\\\\", 0) == 0 && std::count(f.begin(), f.end(), '\\') <= 3) return f;
  return cut == 0 ? f : f.substr(0, cut);
}

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

EntryKind entryKind(const FolderEntry& entry) {
  if (entry.folder) return EntryKind::folder;
  const std::string ext = lowerExtension(entry.name);
  return !ext.empty() && isPlaylistExtension(ext) ? EntryKind::playlist : EntryKind::media;
}

bool isListedFile(const std::string& name, const std::vector<std::string>& extensions) {
  const std::string ext = lowerExtension(name);
  if (!ext.empty() && isPlaylistExtension(ext)) return true;
  if (extensions.empty()) return true;
  return !ext.empty() && std::find(extensions.begin(), extensions.end(), ext) != extensions.end();
}

OpenMode openModeOfBoxes(bool addToPlaylist, bool playOpened) {
  return (addToPlaylist ? ZV_OPEN_ADD : 0) | (playOpened ? ZV_OPEN_PLAY : 0);
}

bool goesToRecent(const std::string& location, bool folder) {
  return folder || isPlaylist(location.c_str()) != ZV_FALSE;
}

void enterRecent(Playlist recent, const std::string& location, int limit) {
  if (!recent || location.empty()) return;
  for (int32_t i = plGetCount(recent) - 1; i >= 0; --i)
    if (lstrcmpiA(plGetName(recent, i), location.c_str()) == 0) plDelLine(recent, i);
  PlaylistLine line{};
  line.flags = plGetFlags(location.c_str());
  plInsLine(recent, 0, &line, location.c_str(), nullptr, nullptr);
  while (plGetCount(recent) > std::max(1, limit)) plDelLine(recent, plGetCount(recent) - 1);
}

}  // namespace zv::openfile
