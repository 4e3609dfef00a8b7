// Where the information cache of a path lives. The decision is pure text
// work over a few answers from the system, passed in so that tests can
// stand in for a CD-ROM drive or a file-system plug-in.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "discs/cd_drive.h"

namespace zv {

// The folder of a file: the path up to its last '\', without that '\'
// unless another '\' precedes it ("C:\a.mp3" -> "C:", "\\x" -> "\\").
std::string fileFolder(std::string_view path);

// The answers the decision needs.
struct CacheDirContext {
  // A file-system plug-in's folder for the path; false when none answered.
  bool (*pluginFolder)(const char* path, std::string* folder);
  const DriveQueries* drives;
  std::string (*cddbDir)();  // the CD database folder (asked only for CD-ROM paths)
  std::string (*dataDir)();  // the data directory (asked only for the fallback)
};

// The cache folder of `path` (without trailing '\').
std::string cacheFolderOf(std::string_view path, const CacheDirContext& context);

// The same with the engine's own answers: the plug-ins, the real drives,
// "cddbDir" and the data directory; with `create` the folder is made.
std::string cacheFolder(const char* path, bool create);

// The cache file of `path`: its cache folder + "\zvcache".
std::string cacheFilePath(const char* path, bool create);

}  // namespace zv
