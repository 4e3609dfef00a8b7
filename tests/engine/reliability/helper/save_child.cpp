// zvtest_save_child <kind> <variant> <target> <event>
// Prepares one save of `kind` ("binary", "m3u", "config", "cddb", "id3v2")
// in its `variant` ("a" or "b"), sets the named event, then saves to
// `target` (for "config": the section's name; the file is the engine's
// config.dat; for "id3v2": the tagged file whose tag is replaced) and
// exits 0, or 1 when the save failed. The parent may kill it at any moment
// after the event.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "win32/owners.h"
#include "zv_cddb.h"
#include "zv_config.h"
#include "zv_memory.h"
#include "zv_playlist.h"
#include "zvid3.h"

namespace {

constexpr int kPlaylistLines = 100000;

void announce(const char* event) {
  zv::UniqueKernelHandle h(OpenEventA(EVENT_MODIFY_STATE, FALSE, event));
  if (h) SetEvent(h.get());
}

bool savePlaylist(bool binary, char variant, const char* target, const char* event) {
  Playlist pl = createPlaylist(0);
  char name[64], desc[64];
  for (int i = 0; i < kPlaylistLines; ++i) {
    std::snprintf(name, sizeof(name), "C:\\music\\%c\\%06d.mp3", variant, i);
    std::snprintf(desc, sizeof(desc), "Track %d of %c", i, variant);
    plAddLine(pl, nullptr, name, desc, nullptr);
  }
  announce(event);
  bool ok = plSave(pl, target, binary ? plSaveBinary | plSaveNoNotify : plSaveNoNotify) == plResultOk;
  freePlaylist(pl);
  return ok;
}

bool saveConfig(char variant, const char* section, const char* event) {
  if (setConfigMode(section, 1) != 1) return false;
  std::string value(2000, variant);
  announce(event);
  setConfigString("probe", value.c_str());
  return true;
}

bool saveCddb(char variant, const char* folder, const char* event) {
  setConfigString("cddbDir", folder);
  ZvCddbInfo info = {};
  info.trackCount = 99;
  for (int i = 0; i < 99; ++i) info.frameOffsets[i] = 150 + i * 10000;
  info.leadOut = 150 + 99 * 10000;
  info.discLengthSeconds = info.leadOut / 75;
  std::snprintf(info.discTitle, sizeof(info.discTitle), "Artist %c / Album %c", variant, variant);
  std::string text(200, variant);
  for (int i = 0; i < 99; ++i) {
    info.trackTitles[i] = _stralloc(("Title " + std::to_string(i) + " " + text).c_str());
    info.extendedTracks[i] = _stralloc(text.c_str());
  }
  announce(event);
  bool ok = cddbSetInfo(0x5A990063, &info) != 0;
  cddbFreeInfo(&info);
  return ok;
}

// A tag of some size (a few kilobytes of text), so the save takes a while.
bool saveTag(char variant, const char* path, const char* event) {
  ZvId3v2Tag tag = id3v2Create();
  std::string text(3000, variant);
  const char* frames[][2] = {{"tit2", "Title"}, {"tpe1", "Artist"}, {"talb", "Album"}};
  for (auto& frame : frames)
    id3v2SetStringField(id3v2AddFrame(tag, frame[0]), "content", (std::string(frame[1]) + " " + text).c_str());
  announce(event);
  bool ok = id3v2Save(tag, path, 0, nullptr) == ZV_ID3_OK;
  id3v2Free(tag);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 || (argv[2][0] != 'a' && argv[2][0] != 'b')) return 2;
  std::string kind = argv[1];
  char variant = argv[2][0];
  bool ok = false;
  if (kind == "binary" || kind == "m3u") ok = savePlaylist(kind == "binary", variant, argv[3], argv[4]);
  else if (kind == "config") ok = saveConfig(variant, argv[3], argv[4]);
  else if (kind == "cddb") ok = saveCddb(variant, argv[3], argv[4]);
  else if (kind == "id3v2") ok = saveTag(variant, argv[3], argv[4]);
  else return 2;
  return ok ? 0 : 1;
}
