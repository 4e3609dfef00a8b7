#include "metadata/cache_dir.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "foundation/path_forms.h"
#include "foundation/standard_dirs.h"
#include "metadata/drive_kinds.h"
#include "discs/cddb_directory.h"
#include "zv_playback.h"

namespace zv {
namespace {

// The folder part for the data-directory fallback. Names there are URLs and
// the like, so a '/' counts as a separator when the name has no '\'.
std::string fallbackFolder(std::string_view path) {
  if (lastSeparator(path) != std::string_view::npos) return fileFolder(path);
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

// The fallback folder made safe below "<data>\cache": no doubled or trailing
// separators, and no "." or ".." component that would climb out of it.
std::string tidyFallback(const std::string& folder) {
  std::string out;
  for (const std::string& part : splitPath(sanitizeName(folder))) {
    if (part.empty()) continue;
    std::string item = part;
    if (item.find_first_not_of('.') == std::string::npos) item.assign(item.size(), '-');
    if (!out.empty()) out += '\\';
    out += item;
  }
  return out;
}

bool askPlugins(const char* path, std::string* folder) {
  ZvFsRequest rec = {};
  rec.path = path;
  rec.operation = ZV_FS_CACHE_DIR;
  if (fsControl(&rec) != ZV_PLUGIN_DONE) return false;
  *folder = std::string(rec.cachePath, strnlen(rec.cachePath, sizeof(rec.cachePath)));
  return true;
}

}  // namespace

std::string fileFolder(std::string_view path) {
  size_t sep = lastSeparator(path);
  if (sep == std::string_view::npos) return std::string();
  bool doubled = sep > 0 && lastSeparator(path.substr(0, sep)) == sep - 1;
  return std::string(path.substr(0, doubled ? sep + 1 : sep));
}

std::string cacheFolderOf(std::string_view path, const CacheDirContext& context) {
  std::string pathText(path);
  std::string folder;
  bool local = isUncPath(path) || (path.size() >= 2 && isAsciiLetter(path[0]) && path[1] == ':');
  if (context.pluginFolder && context.pluginFolder(pathText.c_str(), &folder)) {
    // the plug-in's answer stands, even when empty (then the fallback below)
  } else if (local) {
    folder = fileFolder(path);
    uint32_t serial = cdVolumeSerial(path, *context.drives);
    if (serial != 0) {
      char id[16];
      std::snprintf(id, sizeof(id), "%08X", serial);
      folder = context.cddbDir() + "\\rmedia\\" + id + (folder.size() > 3 ? "\\" + folder.substr(3) : std::string());
    }
  }
  if (folder.empty() || folder == "\\") {
    std::string tail = tidyFallback(fallbackFolder(path));
    folder = context.dataDir() + "\\cache" + (tail.empty() ? "" : "\\" + tail);
  }
  return folder;
}

std::string cacheFolder(const char* path, bool create) {
  static const CacheDirContext context{askPlugins, &metadataDriveQueries(), cddbDirectory, dataDirectory};
  std::string folder = cacheFolderOf(path ? path : "", context);
  // Nearly always the folder is there already: one question instead of one
  // creation per path prefix.
  if (create && GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) createDirectories(folder);
  return folder;
}

std::string cacheFilePath(const char* path, bool create) {
  std::string folder = cacheFolder(path, create);
  if (!endsWithSeparator(folder)) folder += '\\';
  return folder + "zvcache";
}

}  // namespace zv
