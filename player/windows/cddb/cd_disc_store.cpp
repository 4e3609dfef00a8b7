#include "cd_disc_store.h"

#include <memory>

#include "zv_cdaudio.h"
#include "zv_cddb.h"
#include "zv_desc.h"
#include "zv_playlist.h"

namespace zv::cddb {

namespace {

struct PlaylistFree {
  void operator()(PlaylistHandle* pl) const { freePlaylist(pl); }
};
using OwnedPlaylist = std::unique_ptr<PlaylistHandle, PlaylistFree>;
OwnedPlaylist newPlaylist() { return OwnedPlaylist(createPlaylist(-1)); }

// A record read from the database, its texts freed at scope end.
struct Record {
  ZvCddbInfo info = {};
  bool ok = false;
  explicit Record(uint32_t discId) { ok = cddbGetInfo(discId, &info) != ZV_FALSE; }
  ~Record() {
    if (ok) cddbFreeInfo(&info);
  }
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;
};

}  // namespace

uint32_t discIdOf(const std::string& path) {
  uint32_t kind = 0, id = 0;
  if (!decodeCDA(path.c_str(), &kind, nullptr, &id, nullptr)) return 0;
  return id;
}

std::vector<DiscEntry> listDiscs() {
  std::vector<DiscEntry> discs;
  OwnedPlaylist pl = newPlaylist();
  if (!pl || plLoad(pl.get(), "CD:\\*.m3u", 0) != plResultOk) return discs;
  plSort(pl.get(), plSortDesc, -1, -1);
  const int32_t n = plGetCount(pl.get());
  for (int32_t i = 0; i < n; ++i) {
    const char* name = plGetName(pl.get(), i);
    if (!name || !*name) continue;
    DiscEntry e;
    e.path = name;
    const char* d = plGetDesc(pl.get(), i);
    if (d && *d) {
      e.name = d;
    } else {
      char text[ZV_DESC_SIZE] = {};
      desc(name, text);
      e.name = text;
    }
    e.discId = discIdOf(e.path);
    discs.push_back(std::move(e));
  }
  return discs;
}

std::vector<CdTrackItem> loadDiscTracks(const std::string& discPath) {
  std::vector<CdTrackItem> items;
  OwnedPlaylist pl = newPlaylist();
  if (!pl || plLoad(pl.get(), discPath.c_str(), 0) != plResultOk) return items;
  const int32_t n = plGetCount(pl.get());
  for (int32_t i = 0; i < n; ++i) {
    const char* name = plGetName(pl.get(), i);
    int32_t track = -1;
    uint32_t kind = 0;
    if (!name || !decodeCDA(name, &kind, nullptr, nullptr, &track) || track < 0) continue;
    const char* d = plGetDesc(pl.get(), i);
    const PlaylistLine* rec = plGetRec(pl.get(), i);
    std::string text = d ? d : "";
    if (text.empty()) {
      char buffer[ZV_DESC_SIZE] = {};
      desc(name, buffer);
      text = buffer;
    }
    items.push_back({track + 1, text, rec ? rec->time : 0});
  }
  return items;
}

bool recordTracks(uint32_t discId, const std::string& trackWord, std::vector<CdTrackItem>& out) {
  out.clear();
  Record r(discId);
  if (!r.ok) return false;
  const int count = std::min<int>(r.info.trackCount, ZV_CDDB_MAX_TRACKS);
  for (int t = 0; t < count; ++t) {
    CdTrackItem item;
    item.track = t + 1;
    const char* title = r.info.trackTitles[t];
    item.name = title && *title ? title : trackWord + " " + std::to_string(t + 1);
    const int end = t + 1 < count ? r.info.frameOffsets[t + 1] : r.info.leadOut;
    const int frames = end - r.info.frameOffsets[t];
    item.lengthMs = frames > 0 ? int(int64_t(frames) * 1000 / ZV_CDDB_FRAMES_PER_SECOND) : 0;
    out.push_back(std::move(item));
  }
  return true;
}

bool savePlayOrder(uint32_t discId, const std::vector<CdTrackItem>& items) {
  OwnedPlaylist pl = newPlaylist();
  if (!pl) return false;
  for (const CdTrackItem& item : items) {
    const std::string path = trackPath(discId, item.track);
    plAddLine(pl.get(), nullptr, path.c_str(), nullptr, nullptr);
  }
  return plSave(pl.get(), discPath(discId).c_str(), plSaveNoNotify) == plResultOk;
}

void renameDisc(uint32_t discId, const std::string& name) { setDesc(discPath(discId).c_str(), name.c_str()); }

void renameTrack(uint32_t discId, int track, const std::string& name) {
  setDesc(trackPath(discId, track).c_str(), name.c_str());
}

bool queryWindowsCddb(uint32_t discId) {
  Record r(discId);
  if (!r.ok) return false;
  if (!cddbQueryInfo(discId, &r.info)) return false;
  if (!cddbSetInfo(discId, &r.info)) return false;
  cddbChangeNotify(discId);
  return true;
}

}  // namespace zv::cddb
