// The `cdaudio` kind's answers about CD locations: file checks, and the
// playlist operations that make discs look like playlists.
#include "playback/cd/cd_kind.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/diagnostics.h"
#include "foundation/language.h"
#include "foundation/text_util.h"
#include "metadata/desc_link.h"
#include "discs/cd_path.h"
#include "discs/cddb_directory.h"
#include "playback/host/file_changed.h"
#include "win32/owners.h"
#include "zv_cdaudio.h"
#include "zv_cddb.h"
#include "zv_playlist.h"

namespace zv {
namespace {

constexpr uint32_t kDiscLineFlags = 0x2480;
constexpr uint32_t kTrackLineFlags = 0x100;

int32_t framesToMs(int64_t frames) { return frames > 0 ? int32_t(frames * 1000 / 75) : 0; }

struct CddbRecord {
  ZvCddbInfo info = {};
  bool valid = false;
  explicit CddbRecord(uint32_t discId) { valid = cddbGetInfo(discId, &info) != 0; }
  ~CddbRecord() { cddbFreeInfo(&info); }
  CddbRecord(const CddbRecord&) = delete;
  CddbRecord& operator=(const CddbRecord&) = delete;
};

// Where the disc ends, in frames from its start: the lead-out, or for files
// that lack it (most of the world's files) the length in seconds.
int64_t discEnd(const ZvCddbInfo& info) {
  return info.leadOut > 0 ? info.leadOut : int64_t(info.discLengthSeconds) * 75;
}

int32_t trackCount(const ZvCddbInfo& info) { return std::clamp<int32_t>(info.trackCount, 0, ZV_CDDB_MAX_TRACKS); }

int32_t trackMs(const ZvCddbInfo& info, int32_t t) {
  if (t < 0 || t >= trackCount(info)) return 0;
  int64_t end = t + 1 < trackCount(info) ? info.frameOffsets[t + 1] : discEnd(info);
  return framesToMs(end - info.frameOffsets[t]);
}

// The playing time of the whole disc: from the first track to the lead-out.
int32_t discMs(const ZvCddbInfo& info) {
  return framesToMs(discEnd(info) - (trackCount(info) > 0 ? info.frameOffsets[0] : 0));
}

void addLine(Playlist pl, uint32_t flags, int32_t timeMs, const std::string& name, const std::string& desc) {
  PlaylistLine line = {};
  line.flags = flags;
  line.time = timeMs;
  plAddLine(pl, &line, name.c_str(), desc.c_str(), "");
}

void addDiscList(Playlist pl) {
  std::string dir = cddbDirectory();
  WIN32_FIND_DATAA data;
  UniqueFind find(FindFirstFileA((dir + "\\*.cdb").c_str(), &data));
  if (!find) return;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string namePart = data.cFileName;
    namePart = namePart.substr(0, namePart.find('.'));
    CddbRecord disc(cdpath::hexId(namePart.data(), namePart.size()));
    std::string desc = disc.valid ? disc.info.discTitle : translate("CDUnknown###Unknown");
    addLine(pl, kDiscLineFlags, disc.valid ? discMs(disc.info) : 0, "CD:\\" + namePart + ".m3u", desc);
  } while (FindNextFileA(find.get(), &data));
}

// The tracks of a disc in its play order; `drive` 0 names them as tracks of
// a known disc, else as files of the drive.
void addTracks(Playlist pl, const ZvCddbInfo& info, char drive) {
  int32_t order[ZV_CDDB_MAX_TRACKS];
  int32_t count = std::clamp<int32_t>(info.playOrderCount, 0, ZV_CDDB_MAX_TRACKS);
  if (count > 0) {
    std::copy_n(info.playOrder, count, order);
  } else {
    count = trackCount(info);
    for (int32_t t = 0; t < count; ++t) order[t] = t;
  }
  for (int32_t i = 0; i < count; ++i) {
    const int32_t t = order[i];
    if (t < 0 || t >= trackCount(info)) continue;  // a hand-edited order may name tracks the disc lacks
    char name[64];
    if (drive) std::snprintf(name, sizeof(name), "%c:\\track%02d.cda", drive, t + 1);
    else std::snprintf(name, sizeof(name), "CD:\\%08X\\track%02d.cda", info.discId, t + 1);
    std::string desc = info.trackTitles[t] && *info.trackTitles[t]
                           ? std::string(info.trackTitles[t])
                           : translate("Track###Track") + " " + std::to_string(t + 1);
    addLine(pl, kTrackLineFlags, trackMs(info, t), name, desc);
  }
}

void addDriveDisc(Playlist pl, char drive, uint32_t discId) {
  CddbRecord disc(discId);
  if (!disc.valid) {
    cddbFreeInfo(&disc.info);
    if (!cddbCreateInfo(drive, &disc.info)) return;
    disc.valid = true;
    if (cddbSetInfo(disc.info.discId, &disc.info)) broadcastFileChanged("CD:\\*.m3u");
  }
  addTracks(pl, disc.info, drive);
}

int32_t loadPlaylist(ZvFsRequest& rec, const CdPath& cd) {
  Playlist pl = static_cast<Playlist>(rec.playlist);
  if (!pl) return ZV_PLUGIN_NOT_MINE;
  switch (cd.kind) {
    case cdaDiscList: addDiscList(pl); break;
    case cdaKnownDisc: {
      CddbRecord disc(cd.discId);
      if (disc.valid) addTracks(pl, disc.info, 0);
      break;
    }
    case cdaDriveDisc: addDriveDisc(pl, cd.drive, cd.discId); break;
    default: return ZV_PLUGIN_NOT_MINE;
  }
  rec.options |= plLoadNoCache;
  return ZV_PLUGIN_DONE;
}

int32_t savePlaylist(ZvFsRequest& rec, const CdPath& cd) {
  Playlist pl = static_cast<Playlist>(rec.playlist);
  if (!pl || (cd.kind != cdaKnownDisc && cd.kind != cdaDriveDisc)) return ZV_PLUGIN_NOT_MINE;
  const int32_t lines = std::min<int32_t>(plGetCount(pl), ZV_CDDB_MAX_TRACKS);
  int32_t order[ZV_CDDB_MAX_TRACKS];
  bool trackOrder = true;
  for (int32_t i = 0; i < lines; ++i) {
    const char* name = plGetName(pl, i);
    order[i] = cdpath::trackFromName(cdpath::fileName(name ? name : ""));
    trackOrder = trackOrder && order[i] == i;
  }
  CddbRecord disc(cd.discId);
  if (disc.valid) {
    disc.info.playOrderCount = trackOrder ? 0 : lines;
    std::copy_n(order, disc.info.playOrderCount, disc.info.playOrder);
    if (cddbSetInfo(cd.discId, &disc.info)) cddbChangeNotify(cd.discId);
  }
  rec.options |= plSaveNoNotify;
  return ZV_PLUGIN_DONE;
}

CdPath decode(const char* path) {
  CdPath cd;
  decodeCDA(path, &cd.kind, &cd.drive, &cd.discId, &cd.track);
  return cd;
}

}  // namespace

int32_t ZVAPI cdaudioInPluginInfo(ZvInputInfoBlock* info) {
  std::memset(info, 0, sizeof(*info));
  std::strcpy(info->extensions, ".cda");
  return 0;
}

int32_t ZVAPI cdaudioInCheckFile(ZvFileCheckRec* rec) {
  return guarded<int32_t>("cdaudio inCheckFile", ZV_PLUGIN_NOT_MINE, [&]() -> int32_t {
    if (!rec || !rec->fileName) return ZV_PLUGIN_NOT_MINE;
    CdPath cd = decode(rec->fileName);
    if (cd.kind == cdaNone) return ZV_PLUGIN_NOT_MINE;
    rec->cacheFlags |= ZV_CHECK_NO_CACHE;
    if (rec->request & ZV_CHECK_TYPE_NAME) {
      const char* type = cd.kind == cdaDiscList                               ? "CDDatabase###CD database"
                         : cd.kind == cdaKnownDisc || cd.kind == cdaDriveDisc ? "AudioCD###Audio CD"
                                                                               : "AudioCDTrack###Audio CD track";
      copyBounded(rec->typeName, sizeof(rec->typeName), translate(type));
    }
    if (rec->request & ZV_CHECK_INFO_TEXT) {
      std::snprintf(rec->infoText, sizeof(rec->infoText), "\001%s\n%s: %08X",
                    translate("CDInfo###CD information").c_str(), translate("DiscID###Disc ID").c_str(), cd.discId);
      rec->infoFixedPitch = 0;
    }
    if ((rec->request & ZV_CHECK_LENGTH) && cd.kind != cdaDiscList) {
      CddbRecord disc(cd.discId);
      if (disc.valid) {
        bool whole = cd.kind == cdaKnownDisc || cd.kind == cdaDriveDisc;
        rec->lengthMs = uint32_t(whole ? discMs(disc.info) : trackMs(disc.info, cd.track));
      }
    }
    return ZV_PLUGIN_DONE;
  });
}

int32_t ZVAPI cdaudioFsControl(ZvFsRequest* rec) {
  return guarded<int32_t>("cdaudio fsControl", ZV_PLUGIN_NOT_MINE, [&]() -> int32_t {
    if (!rec || !rec->path) return ZV_PLUGIN_NOT_MINE;
    CdPath cd = decode(rec->path);
    if (cd.kind == cdaNone) return ZV_PLUGIN_NOT_MINE;
    switch (rec->operation) {
      case ZV_FS_GET_DESC: {
        char text[4096] = {};
        cdDescription(rec->path, text);
        copyBounded(rec->text, sizeof(rec->text), text);
        return ZV_PLUGIN_DONE;
      }
      case ZV_FS_SET_DESC:
        rec->text[sizeof(rec->text) - 1] = 0;
        setCdDescription(rec->path, rec->text);
        return ZV_PLUGIN_DONE;
      case ZV_FS_LOAD_PLAYLIST: return loadPlaylist(*rec, cd);
      case ZV_FS_SAVE_PLAYLIST: return savePlaylist(*rec, cd);
      case ZV_FS_CACHE_DIR: {
        char tail[32];
        std::snprintf(tail, sizeof(tail), "\\audiocd\\%08X", cd.discId);
        copyBounded(rec->cachePath, sizeof(rec->cachePath), cddbDirectory() + tail);
        return ZV_PLUGIN_DONE;
      }
      default: return ZV_PLUGIN_NOT_MINE;
    }
  });
}

}  // namespace zv
