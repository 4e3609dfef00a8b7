// Descriptions of audio-CD paths come from the CD database: the root of all
// discs, a disc's title, a track's title. Renaming one writes the database
// record and asks the file scanner to describe the changed paths again.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "foundation/config_store.h"
#include "foundation/diagnostics.h"
#include "foundation/language.h"
#include "foundation/text_util.h"
#include "discs/cd_drives.h"
#include "zv_cdaudio.h"
#include "zv_cddb.h"
#include "zv_config.h"
#include "zv_desc.h"
#include "zv_memory.h"

namespace zv {
namespace {

// A CD database record read for one call and released with it.
struct Record {
  Record() { std::memset(&info, 0, sizeof(info)); }
  ~Record() {
    if (loaded) cddbFreeInfo(&info);
  }
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;
  bool load(uint32_t discId) { return loaded = cddbGetInfo(discId, &info) != 0; }
  ZvCddbInfo info;
  bool loaded = false;
};

struct CdPath {
  uint32_t kind = 0;
  char drive = 0;
  uint32_t discId = 0;
  int32_t track = -1;  // from 0
};

bool decode(const char* path, CdPath* p) {
  return path && decodeCDA(path, &p->kind, &p->drive, &p->discId, &p->track) && p->kind != cdaNone;
}

std::string trackTitle(uint32_t discId, int32_t track) {
  Record r;
  if (r.load(discId) && track >= 0 && track < ZV_CDDB_MAX_TRACKS && r.info.trackTitles[track] &&
      r.info.trackTitles[track][0])
    return r.info.trackTitles[track];
  return translate("Track###Track") + " " + std::to_string(track + 1);
}

std::string discTitle(uint32_t discId) {
  Record r;
  if (r.load(discId) && r.info.discTitle[0]) return r.info.discTitle;
  return translate("CDUnknown###Unknown");
}

// "CD:\..." paths of a disc or track, hexadecimal digits upper case.
std::string discPath(uint32_t discId) {
  char text[64];
  std::snprintf(text, sizeof(text), "CD:\\%8.8X.m3u", static_cast<unsigned>(discId));
  return text;
}
std::string trackPath(uint32_t discId, int track) {
  char text[64];
  std::snprintf(text, sizeof(text), "CD:\\%8.8X\\track%2.2d.cda", static_cast<unsigned>(discId), track);
  return text;
}

void requery(const std::string& path) { queryInfo(path.c_str(), 0, -1, -1); }

bool rename(const CdPath& p, const char* text) {
  if (p.kind == cdaDiscList) {
    setConfigString("CDDBDesc", text);
    requery("CD:\\*.m3u");
    return true;
  }
  const bool disc = p.kind == cdaKnownDisc || p.kind == cdaDriveDisc;
  Record r;
  if (!r.load(p.discId)) return true;  // without a record nothing is changed or sent
  if (disc) {
    copyBounded(r.info.discTitle, sizeof(r.info.discTitle), text);
  } else {
    if (p.track < 0 || p.track >= ZV_CDDB_MAX_TRACKS) return true;
    _mfree(r.info.trackTitles[p.track]);
    r.info.trackTitles[p.track] = strallocex(text, "cddbTrack");
    if (p.track >= r.info.trackCount) r.info.trackCount = p.track + 1;
  }
  if (!cddbSetInfo(p.discId, &r.info)) return false;  // nothing changed: say so, ask for nothing
  char drive = p.drive;
  if (p.kind == cdaKnownDisc || p.kind == cdaKnownTrack) drive = driveHoldingDisc(p.discId);
  if (disc) {
    if (drive) requery(std::string(1, drive) + ":");
    requery(discPath(p.discId));
  } else {
    if (drive) {
      char text[32];
      std::snprintf(text, sizeof(text), "%c:\\track%2.2d.cda", drive, p.track + 1);
      requery(text);
    }
    requery(trackPath(p.discId, p.track + 1));
  }
  return true;
}

}  // namespace
}  // namespace zv

using namespace zv;

ZVEXPORT ZvBool ZVAPI cdaDesc(const char* path, char* out) {
  return guarded("cdaDesc", ZvBool{ZV_FALSE}, [&]() -> ZvBool {
    CdPath p;
    if (!decode(path, &p)) return ZV_FALSE;
    std::string text;
    if (p.kind == cdaDiscList) {
      text = configText("CDDBDesc", "");
      if (text.empty()) text = translate("CDDatabase###CD database");
    } else if (p.kind == cdaKnownDisc || p.kind == cdaDriveDisc) {
      text = discTitle(p.discId);
    } else {
      text = trackTitle(p.discId, p.track);
    }
    if (out) copyBounded(out, ZV_DESC_SIZE, text);
    return ZV_TRUE;
  });
}

ZVEXPORT ZvBool ZVAPI setCdaDesc(const char* path, const char* text) {
  return guarded("setCdaDesc", ZvBool{ZV_FALSE}, [&]() -> ZvBool {
    CdPath p;
    if (!decode(path, &p)) return ZV_FALSE;
    return rename(p, text ? text : "") ? ZV_TRUE : ZV_FALSE;
  });
}
