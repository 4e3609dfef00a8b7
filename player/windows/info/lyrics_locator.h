// Where the lyrics of a file live: a database file named from the file's tags
// under "lyrDir", or a source file beside the file's information cache,
// named from the file name. The rules are plain functions here; the settings
// and folders come from the engine only in findLyricsFile.
#pragma once
#include <functional>
#include <string>

namespace zv::info {

struct LyricsSettings {
  std::string dbFormat = "@[%a%t][%a - %t.txt]![%a%t][%f.txt]";  // "lyrDbFmt"
  std::string dir;                                                // "lyrDir"
  std::string srcFormat = "%f.%e.txt";                            // "lyrSrcFmt"
  bool inDb = true;                                               // "lyrInDb"
};

struct LyricsTags {
  std::string title, artist, album, year;
  int track = 0;
};

// A name made by a format, turned into a relative path that stays inside its
// folder: * : < > ? | become "-", "/" becomes "\", and empty, "." and ".."
// parts are dropped (a tag such as "..\..\x" must not leave the folder).
// Empty when nothing is left.
std::string safeLyricsName(const std::string& formatted);

struct LyricsCandidates {
  std::string database;  // empty without tags (or when the name is empty)
  std::string source;    // empty when the source name is empty
};

// Both candidate paths of `path`: `tags` null when the file has no tag
// information; `cacheDir` is the file's cache folder.
LyricsCandidates lyricsCandidates(const std::string& path, const LyricsTags* tags, const LyricsSettings& settings,
                                  const std::string& cacheDir);

// The one to use: without a database name the source path; else the
// database path if that file exists, else the source path if that exists,
// else the database path when `inDb`, otherwise the source path.
std::string chooseLyricsPath(const LyricsCandidates& c, bool inDb,
                             const std::function<bool(const std::string&)>& exists);

// The settings as configured; `rootDir` is the program's root folder (the
// parent of its "bin"), whose "lyrics" folder is the default database.
LyricsSettings configuredLyricsSettings(const std::string& rootDir);

// The lyrics file of `path` through the engine (tag information, cache
// folder, settings); `create` also creates the folder the file goes into.
// Empty for an empty path.
std::string findLyricsFile(const std::string& path, const std::string& rootDir, bool create);

}  // namespace zv::info
