// Text playlists: M3U, PLS, AAP and the grouped Z3U, read and written with
// every path relative to the playlist file.
#include <windows.h>

#include <string>

#include "foundation/dyn_array.h"
#include "foundation/file_replace.h"
#include "foundation/legacy_text.h"
#include "foundation/path_forms.h"
#include "foundation/str_list.h"
#include "foundation/text_util.h"
#include "playlist/location_flags.h"
#include "playlist/playlist_files.h"
#include "playlist/text_playlist_read.h"
#include "win32/owners.h"
#include "zv_config.h"

namespace zv {
namespace {

// A playlist this large is not a playlist; reading it whole would only
// exhaust the address space.
constexpr int64_t kTextFileMax = 256 << 20;

bool readWholeFile(const std::string& path, std::string& out) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size = {};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > kTextFileMax) return false;
  out.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!out.empty() && !ReadFile(file.get(), out.data(), static_cast<DWORD>(out.size()), &got, nullptr)) return false;
  out.resize(got);
  return true;
}

// Russian users often have playlists written by DOS-era tools; the
// conversion is tried only where that is likely and the user asked for it.
bool oemDetectionWanted() {
  char lang[16] = {};
  if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, lang, sizeof(lang))) return false;
  if ((lang[0] | 0x20) != 'r' || (lang[1] | 0x20) != 'u') return false;
  return configBool("autoOemCvt", ZV_FALSE) != ZV_FALSE;
}

bool isUtf8PlaylistName(const std::string& location) {
  return sameAsciiIgnoringCase(extensionPart(location), ".m3u8");
}

// Under the UTF-8 active code page a playlist another program wrote in a
// legacy code page is converted whole before it is parsed: from the OEM
// code page when OEM detection is on and a line looks like DOS Cyrillic,
// else from the ANSI one. The parser's own OEM pass is then off, as it
// converts into the active code page, which is UTF-8 here.
std::string playlistTextToActive(const std::string& location, std::string bytes, bool& detectOem) {
  bool declaredUtf8 = isUtf8PlaylistName(location);
  // Under a legacy active code page a ".m3u8" is UTF-8 all the same: its
  // names are carried into that code page (what it lacks cannot be opened).
  if (GetACP() != CP_UTF8) {
    if (!declaredUtf8) return bytes;
    std::string_view text(bytes);
    if (hasUtf8Mark(text)) text.remove_prefix(3);
    return convertCodePage(text, CP_UTF8, GetACP());
  }
  unsigned legacy = 0;
  if (detectOem && !declaredUtf8 && !hasUtf8Mark(bytes) && !isValidUtf8(bytes))
    for (std::string_view line : splitLines(bytes))
      if (hasOemCyrillicByte(line)) {
        legacy = legacyOemCodePage();
        break;
      }
  detectOem = false;
  return fileTextToActive(bytes, declaredUtf8, legacy).text;
}

// What the player writes is UTF-8 (the active code page). A ".m3u8" file is
// UTF-8 by its name and has no mark; the other kinds carry the UTF-8 byte
// order mark when they hold any character beyond ASCII, so that readers
// which would take them for the legacy code page see what they are.
bool playlistWantsUtf8Mark(const std::string& location, const std::string& text) {
  return !isUtf8PlaylistName(location) && wantsUtf8Mark(text);
}

// The room the read lines take, on top of what the playlist holds.
void reserveTextLines(PlaylistHandle* pl, const TextLines& read) {
  int32_t count = lineCount(pl) + static_cast<int32_t>(read.lines.size());
  arrayReserve(pl->lines, count);
  strListReserve(pl->names, count, int64_t(pl->names->storageUsed) + read.nameBytes());
  strListReserve(pl->descs, count, int64_t(pl->descs->storageUsed) + read.descBytes());
  strListReserve(pl->infos, count, int64_t(pl->infos->storageUsed));
}

void appendLine(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

std::string formatText(PlaylistHandle* pl, const std::string& location) {
  TextFormat format = textFormatOf(location);
  int32_t n = lineCount(pl);
  std::string out;
  out.reserve(size_t(n) * 128 + 128);
  if (format == TextFormat::pls) appendLine(out, "[playlist]");
  if (format == TextFormat::aap) {
    appendLine(out, "[Apollo Advanced Playlist]");
    appendLine(out, "Version=1.00");
    appendLine(out, "[Entries]");
  }
  RelFormEncoder forms(location);
  for (int32_t i = 0; i < n; ++i) {
    std::string_view name = plGetName(pl, i);
    if (format == TextFormat::m3u) {
      // The commonest format is written straight into the text.
      forms.appendEncoded(out, name);
      out += "\r\n";
      continue;
    }
    std::string rel = forms.encode(name);
    switch (format) {
      case TextFormat::m3u: break;
      case TextFormat::pls: appendLine(out, "File" + std::to_string(i) + "=" + rel); break;
      case TextFormat::aap: appendLine(out, "Entry" + std::to_string(i) + "=" + rel); break;
      case TextFormat::z3u: {
        std::string level = std::to_string(lineRec(pl, i)->level);
        if (name.empty())
          appendLine(out, level + ":>" + plGetDesc(pl, i));
        else
          appendLine(out, level + ":" + rel);
        break;
      }
    }
  }
  if (format == TextFormat::pls || format == TextFormat::aap)
    appendLine(out, "NumberOfEntries=" + std::to_string(n));
  return out;
}

}  // namespace

int32_t readTextPlaylist(PlaylistHandle* pl, const std::string& location) {
  DWORD attributes = GetFileAttributesA(location.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return plResultNoFile;
  std::string bytes;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) || !readWholeFile(location, bytes)) return plResultFailed;
  // One listing per folder named, however many lines name it, and room
  // for all lines made at once.
  LocationBatch batch;
  TextReadHooks hooks;
  hooks.flagsOf = [&batch](const char* path) { return batch.flagsOf(path); };
  hooks.reserve = [](PlaylistHandle* target, const TextLines& read) { reserveTextLines(target, read); };
  bool detectOem = oemDetectionWanted();
  std::string text = playlistTextToActive(location, std::move(bytes), detectOem);
  parseTextPlaylist(pl, location, text, detectOem, hooks);
  return plResultOk;
}

bool writeTextPlaylist(PlaylistHandle* pl, const std::string& location) {
  std::string text = formatText(pl, location);
  if (playlistWantsUtf8Mark(location, text)) text.insert(0, "\xEF\xBB\xBF");
  if (isUtf8PlaylistName(location) && GetACP() != CP_UTF8) text = convertCodePage(text, GetACP(), CP_UTF8);
  return replaceFileContent(location, text.data(), text.size());
}

}  // namespace zv
