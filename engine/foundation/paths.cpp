// Exports that classify locations and convert them to and from the form
// stored in playlist files. The work is in path_forms.h; here null pointers
// are taken as empty texts and every output is bounded.
#include <windows.h>

#include <string_view>

#include "foundation/diagnostics.h"
#include "foundation/path_forms.h"
#include "foundation/text_util.h"
#include "zv_paths.h"

namespace {

std::string_view text(const char* s) { return s ? std::string_view(s) : std::string_view(); }

ZvBool zvBool(bool value) { return value ? ZV_TRUE : ZV_FALSE; }

bool extensionIs(const char* path, std::string_view ext) {
  return zv::sameTextIgnoringCase(zv::extensionPart(text(path)), ext);
}

// ".m3u8" is an M3U playlist in UTF-8 (text_playlist.cpp reads and writes
// it so), which other players write for names beyond a legacy code page.
bool isPlaylistExtension(std::string_view ext) {
  for (const char* known : {".m3u", ".pls", ".aap", ".z3u", ".m3u8"})
    if (zv::sameTextIgnoringCase(ext, known)) return true;
  return false;
}

// Writes a converted location into a caller buffer of kPathMax + 1 bytes.
void writeLocation(char* out, const std::string& location) { zv::copyBounded(out, zv::kPathMax + 1, location); }

}  // namespace

ZVEXPORT ZvBool ZVAPI isPlaylistExt(const char* ext) {
  return zv::guarded("isPlaylistExt", ZV_FALSE, [&] { return zvBool(isPlaylistExtension(text(ext))); });
}

ZVEXPORT ZvBool ZVAPI isPlaylist(const char* path) {
  return zv::guarded("isPlaylist", ZV_FALSE,
                     [&] { return zvBool(isPlaylistExtension(zv::extensionPart(text(path)))); });
}

ZVEXPORT ZvBool ZVAPI isZ3U(const char* path) {
  return zv::guarded("isZ3U", ZV_FALSE, [&] { return zvBool(extensionIs(path, ".z3u")); });
}

ZVEXPORT ZvBool ZVAPI isLink(const char* path) {
  return zv::guarded("isLink", ZV_FALSE, [&] { return zvBool(extensionIs(path, ".lnk")); });
}

ZVEXPORT ZvBool ZVAPI hasExt(const char* path, const char* ext) {
  return zv::guarded("hasExt", ZV_FALSE, [&] { return zvBool(extensionIs(path, text(ext))); });
}

ZVEXPORT ZvBool ZVAPI isDir(const char* path) {
  std::string_view p = text(path);
  if (p.size() == 2 && p[1] == ':') return ZV_TRUE;
  if (p.empty()) return ZV_FALSE;
  DWORD attributes = GetFileAttributesA(path);
  return zvBool(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

ZVEXPORT ZvBool ZVAPI isLocalFile(const char* path) {
  std::string_view p = text(path);
  if (p.size() < 2) return ZV_FALSE;
  return zvBool(zv::isUncPath(p) || (zv::isAsciiLetter(p[0]) && p[1] == ':'));
}

ZVEXPORT ZvBool ZVAPI isURL(const char* path) { return zvBool(zv::isPseudoLocation(text(path))); }

ZVEXPORT void ZVAPI makeRel(const char* base, const char* path, char* out) {
  zv::guardedVoid("makeRel", [&] { writeLocation(out, zv::makeRelForm(text(base), text(path))); });
}

ZVEXPORT void ZVAPI decodeRel(const char* base, const char* rel, char* out) {
  zv::guardedVoid("decodeRel", [&] { writeLocation(out, zv::decodeRelForm(text(base), text(rel))); });
}
