// The CD database client: disc ids, database files in and out of info
// records, records built from a drive, and titles from the CD Player's
// database and the optional title library.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/diagnostics.h"
#include "foundation/file_replace.h"
#include "foundation/legacy_text.h"
#include "foundation/profile_text.h"
#include "foundation/text_util.h"
#include "metadata/cdplayer_titles.h"
#include "metadata/desc_link.h"
#include "playback/host/file_changed.h"
#include "discs/disc_toc.h"
#include "discs/mci_cd.h"
#include "metadata/xmcd_format.h"
#include "discs/cd_drives.h"
#include "discs/cddb_directory.h"
#include "win32/owners.h"
#include "zv_cddb.h"
#include "zv_memory.h"

namespace zv {
namespace {

// The title library's entry point: the query "cd=<count>+<offset>...+<lead-out>"
// (hexadecimal), two 512-byte buffers for artist and title, and the record's
// track titles, whose entries it may replace with engine texts.
using TitleLibraryGet = int32_t(__stdcall*)(const char* query, char* artist, char* title, char** trackTitles);

std::string discFilePath(uint32_t discId) {
  char name[16];
  std::snprintf(name, sizeof(name), "\\%08X.cdb", discId);
  return cddbDirectory() + name;
}

// Shared for deletion too: a save replaces the file by a rename, which must
// not fail because another thread is reading the record at that moment.
bool readWholeFile(const std::string& path, std::string& out) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (64 << 20)) return false;
  out.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!out.empty() && (!ReadFile(file.get(), out.data(), DWORD(out.size()), &got, nullptr) || got != out.size()))
    return false;
  // Database files of other programs may be in the legacy code page.
  out = fileTextToActive(out).text;
  return true;
}

char* engineText(const std::string& text) { return text.empty() ? nullptr : _stralloc(text.c_str()); }

void fillRecord(const XmcdEntry& e, ZvCddbInfo& info) {
  info.trackCount = std::min<int32_t>(e.trackCount, ZV_CDDB_MAX_TRACKS);
  for (size_t i = 0; i < e.offsets.size() && i < ZV_CDDB_MAX_TRACKS; ++i) info.frameOffsets[i] = e.offsets[i];
  info.leadOut = e.leadOut;
  info.discLengthSeconds = e.discLengthSeconds;
  info.revision = e.revision;
  copyBounded(info.submittedVia, sizeof(info.submittedVia), e.submittedVia);
  copyBounded(info.discTitle, sizeof(info.discTitle), e.discTitle);
  copyBounded(info.mciId, sizeof(info.mciId), e.mciId);
  info.extendedDisc = engineText(e.extendedDisc);
  info.playOrderCount = int32_t(std::min<size_t>(e.playOrder.size(), ZV_CDDB_MAX_TRACKS));
  std::copy_n(e.playOrder.begin(), info.playOrderCount, info.playOrder);
  for (int i = 0; i < ZV_CDDB_MAX_TRACKS; ++i) {
    info.trackTitles[i] = engineText(e.trackTitles[i]);
    info.extendedTracks[i] = engineText(e.extendedTracks[i]);
  }
}

bool makeDirectories(const std::string& dir) {
  if (dir.empty() || GetFileAttributesA(dir.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  std::string parent = directoryPart(dir);
  if (parent.size() > 3 && parent.back() == '\\') parent.pop_back();
  if (parent.size() > 3 && parent != dir) makeDirectories(parent);
  return CreateDirectoryA(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// "artist / title", or whichever of the two is there.
void setDiscTitle(ZvCddbInfo& info, const char* artist, const char* title) {
  std::string text;
  if (*artist && *title) text = std::string(artist) + " / " + title;
  else text = *artist ? artist : title;
  if (!text.empty()) copyBounded(info.discTitle, sizeof(info.discTitle), text);
}

// Under the UTF-8 active code page the system's profile reader would
// decode the CD Player's legacy-code-page file as UTF-8 and lose its
// accented letters: the file is read whole and converted instead.
void titlesFromCdPlayerText(ZvCddbInfo& info, const std::string& ini) {
  std::string text;
  if (!readWholeFile(ini, text)) return;
  const CdPlayerTitles found = cdPlayerTitles(text, info.mciId, info.trackCount);
  setDiscTitle(info, found.artist.c_str(), found.title.c_str());
  for (size_t n = 0; n < found.tracks.size(); ++n) {
    if (found.tracks[n].empty()) continue;
    _mfree(info.trackTitles[n]);
    info.trackTitles[n] = _stralloc(found.tracks[n].c_str());
  }
}

void titlesFromCdPlayer(ZvCddbInfo& info) {
  if (!info.mciId[0]) return;
  std::string ini = windowsDirectory() + "\\cdplayer.ini";
  if (GetACP() == CP_UTF8) return titlesFromCdPlayerText(info, ini);
  char artist[256] = {}, title[256] = {}, value[1024];
  GetPrivateProfileStringA(info.mciId, "artist", "", artist, sizeof(artist), ini.c_str());
  GetPrivateProfileStringA(info.mciId, "title", "", title, sizeof(title), ini.c_str());
  setDiscTitle(info, artist, title);
  const int32_t tracks = std::clamp<int32_t>(info.trackCount, 0, ZV_CDDB_MAX_TRACKS);
  for (int32_t n = 0; n < tracks; ++n) {
    char key[16];
    std::snprintf(key, sizeof(key), "%d", n);
    if (GetPrivateProfileStringA(info.mciId, key, "", value, sizeof(value), ini.c_str()) == 0) continue;
    _mfree(info.trackTitles[n]);
    info.trackTitles[n] = _stralloc(value);
  }
}

void titlesFromLibrary(ZvCddbInfo& info) {
  UniqueModule library(LoadLibraryA("zvwcd.dll"));
  if (!library) return;
  auto get = reinterpret_cast<TitleLibraryGet>(reinterpret_cast<void*>(GetProcAddress(library.get(), "get")));
  if (get && info.trackCount > 0) {
    const int32_t tracks = std::min<int32_t>(info.trackCount, ZV_CDDB_MAX_TRACKS);
    std::string query = "cd=";
    char part[16];
    std::snprintf(part, sizeof(part), "%x", tracks);
    query += part;
    for (int32_t i = 0; i < tracks; ++i) {
      std::snprintf(part, sizeof(part), "+%x", info.frameOffsets[i]);
      query += part;
    }
    std::snprintf(part, sizeof(part), "+%x", info.leadOut);
    query += part;
    char artist[512] = {}, title[512] = {};
    get(query.c_str(), artist, title, info.trackTitles);
    artist[sizeof(artist) - 1] = title[sizeof(title) - 1] = 0;
    setDiscTitle(info, artist, title);
  }
}

bool createInfo(char drive, ZvCddbInfo& info) {
  std::memset(&info, 0, sizeof(info));
  MciCd cd;
  DiscToc toc;
  if (!cd.open(drive, "mycdxx_cddb") || !readDiscToc(cd, toc)) return false;
  std::string identity;
  if (!cd.mediaIdentity(identity)) return false;
  cd.close();
  info.discId = cddbDiscId(toc.starts.data(), int32_t(toc.starts.size()), toc.leadOut);
  const std::string hex = mediaIdentityHex(identity);
  // Not a number: the driver's text is kept.
  copyBounded(info.mciId, sizeof(info.mciId), hex.empty() ? identity : hex);
  info.trackCount = int32_t(toc.starts.size());
  std::copy(toc.starts.begin(), toc.starts.end(), info.frameOffsets);
  info.leadOut = toc.leadOut;
  info.discLengthSeconds = toc.leadOut / kCdFramesPerSecond;
  copyBounded(info.submittedVia, sizeof(info.submittedVia), kCddbSubmittedVia);
  cddbQueryInfo(info.discId, &info);
  return true;
}

bool setInfo(uint32_t discId, const ZvCddbInfo& info) {
  std::string path = discFilePath(discId);
  // Each save is one revision above both the record and what is stored, so
  // saving the same record twice still counts up.
  int32_t revision = info.revision;
  std::string old;
  if (readWholeFile(path, old)) revision = std::max(revision, parseXmcd(old).revision);
  ZvCddbInfo copy = info;
  copy.discId = discId;
  std::string text = formatXmcd(copy, revision + 1);
  if (!makeDirectories(cddbDirectory())) return false;
  return replaceFileContent(path, text.data(), text.size());
}

}  // namespace
}  // namespace zv

using namespace zv;

ZVEXPORT uint32_t ZVAPI cddbId(char drive) {
  return guarded<uint32_t>("cddbId", 0u, [&] { return discIdOfDrive(drive); });
}

ZVEXPORT ZvBool ZVAPI cddbGetInfo(uint32_t discId, ZvCddbInfo* info) {
  return guarded<ZvBool>("cddbGetInfo", ZV_FALSE, [&]() -> ZvBool {
    if (!info) return ZV_FALSE;
    std::memset(info, 0, sizeof(*info));
    info->discId = discId;
    std::string text;
    if (!readWholeFile(discFilePath(discId), text)) return ZV_FALSE;
    fillRecord(parseXmcd(text), *info);
    return ZV_TRUE;
  });
}

ZVEXPORT ZvBool ZVAPI cddbSetInfo(uint32_t discId, const ZvCddbInfo* info) {
  return guarded<ZvBool>("cddbSetInfo", ZV_FALSE, [&] { return info && setInfo(discId, *info) ? ZV_TRUE : ZV_FALSE; });
}

ZVEXPORT ZvBool ZVAPI cddbCreateInfo(char drive, ZvCddbInfo* info) {
  return guarded<ZvBool>("cddbCreateInfo", ZV_FALSE, [&] { return info && createInfo(drive, *info) ? ZV_TRUE : ZV_FALSE; });
}

ZVEXPORT ZvBool ZVAPI cddbQueryInfo(uint32_t, ZvCddbInfo* info) {
  return guarded<ZvBool>("cddbQueryInfo", ZV_TRUE, [&] {
    if (!info) return ZV_TRUE;
    titlesFromCdPlayer(*info);
    titlesFromLibrary(*info);
    return ZV_TRUE;
  });
}

ZVEXPORT void ZVAPI cddbFreeInfo(ZvCddbInfo* info) {
  guardedVoid("cddbFreeInfo", [&] {
    if (!info) return;
    _mfree(info->extendedDisc);
    info->extendedDisc = nullptr;
    for (int i = 0; i < ZV_CDDB_MAX_TRACKS; ++i) {
      _mfree(info->trackTitles[i]);
      _mfree(info->extendedTracks[i]);
      info->trackTitles[i] = info->extendedTracks[i] = nullptr;
    }
  });
}

ZVEXPORT void ZVAPI cddbChangeNotify(uint32_t discId) {
  guardedVoid("cddbChangeNotify", [&] {
    char path[32];
    std::snprintf(path, sizeof(path), "CD:\\%08X.m3u", discId);
    broadcastFileChanged(path);
    requestDescription(path);
    if (char drive = driveHoldingDisc(discId)) {
      char root[3] = {drive, ':', 0};
      broadcastFileChanged(root);
      requestDescription(root);
    }
  });
}
