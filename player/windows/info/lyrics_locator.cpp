#include "lyrics_locator.h"

#include <windows.h>

#include <vector>

#include "zv_config.h"
#include "zv_desc.h"
#include "zv_infocache.h"
#include "zvid3.h"

namespace zv::info {

namespace {

std::string format(const std::string& fmt, const std::string& path, const LyricsTags* tags) {
  char out[ZV_DESC_SIZE] = {};
  static const LyricsTags kNone;
  const LyricsTags& t = tags ? *tags : kNone;
  formatDesc(fmt.c_str(), path.c_str(), t.title.c_str(), t.artist.c_str(), t.album.c_str(), t.year.c_str(), t.track,
             out);
  return out;
}

std::string joinPath(const std::string& dir, const std::string& name) {
  if (name.empty()) return {};
  if (dir.empty()) return name;
  return dir.back() == '\\' ? dir + name : dir + "\\" + name;
}

bool fileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string safeLyricsName(const std::string& formatted) {
  std::string text = formatted;
  for (char& c : text) {
    switch (c) {
      case '*': case ':': case '<': case '>': case '?': case '|': c = '-'; break;
      case '/': c = '\\'; break;
      default: break;
    }
  }
  // Rebuild from the parts that name something; a part of only dots and
  // blanks is what Windows resolves to "." or "..".
  std::string out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\\', start);
    if (end == std::string::npos) end = text.size();
    const std::string part = text.substr(start, end - start);
    const bool onlyDots = part.find_first_not_of(". ") == std::string::npos;
    if (!onlyDots) out += (out.empty() ? "" : "\\") + part;
    start = end + 1;
  }
  return out;
}

LyricsCandidates lyricsCandidates(const std::string& path, const LyricsTags* tags, const LyricsSettings& settings,
                                  const std::string& cacheDir) {
  LyricsCandidates c;
  if (tags) c.database = joinPath(settings.dir, safeLyricsName(format(settings.dbFormat, path, tags)));
  c.source = joinPath(cacheDir, safeLyricsName(format(settings.srcFormat, path, tags)));
  return c;
}

std::string chooseLyricsPath(const LyricsCandidates& c, bool inDb,
                             const std::function<bool(const std::string&)>& exists) {
  if (c.database.empty()) return c.source;
  if (exists(c.database)) return c.database;
  if (!c.source.empty() && exists(c.source)) return c.source;
  return inDb ? c.database : c.source;
}

LyricsSettings configuredLyricsSettings(const std::string& rootDir) {
  LyricsSettings s;
  char buffer[260] = {};
  configString("lyrDbFmt", buffer, s.dbFormat.c_str());
  s.dbFormat = buffer;
  const std::string defaultDir = rootDir + "\\lyrics";
  configString("lyrDir", buffer, defaultDir.c_str());
  s.dir = buffer;
  configString("lyrSrcFmt", buffer, s.srcFormat.c_str());
  s.srcFormat = buffer;
  s.inDb = configBool("lyrInDb", ZV_TRUE) != ZV_FALSE;
  return s;
}

std::string findLyricsFile(const std::string& path, const std::string& rootDir, bool create) {
  if (path.empty()) return {};
  const LyricsSettings settings = configuredLyricsSettings(rootDir);
  char cache[260] = {};
  getCacheDir(path.c_str(), cache, create ? ZV_TRUE : ZV_FALSE);
  std::vector<char> info(ZV_TAGINFO_SIZE, '\0');
  LyricsTags tags;
  bool haveTags = false;
  if (getTagInfo(path.c_str(), info.data())) {
    char title[ZV_DESC_SIZE] = {}, artist[ZV_DESC_SIZE] = {}, album[ZV_DESC_SIZE] = {}, year[ZV_DESC_SIZE] = {};
    int32_t track = 0;
    haveTags = decodeTagInfo(info.data(), title, artist, album, year, &track) != ZV_FALSE;
    tags = {title, artist, album, year, track};
  }
  const LyricsCandidates c = lyricsCandidates(path, haveTags ? &tags : nullptr, settings, cache);
  std::string chosen = chooseLyricsPath(c, settings.inDb, fileExists);
  if (create && !chosen.empty()) {
    const size_t slash = chosen.rfind('\\');
    if (slash != std::string::npos) createPath(chosen.substr(0, slash).c_str());
  }
  return chosen;
}

}  // namespace zv::info
