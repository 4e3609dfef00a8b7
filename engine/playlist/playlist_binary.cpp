// The binary playlist "ZVPL0010": magic, the line records as an array, then
// names, descs and infos as string lists.
#include <windows.h>

#include <cstring>
#include <string>

#include "foundation/diagnostics.h"
#include "foundation/file_io.h"
#include "foundation/legacy_text.h"
#include "playlist/playlist_files.h"
#include "playlist/playlist_model.h"

namespace zv {
namespace {

const char kMagic[8] = {'Z', 'V', 'P', 'L', '0', '0', '1', '0'};

bool validHandle(void* file) { return file && file != INVALID_HANDLE_VALUE; }

// Owns the four lists read from a file until they are known to be sound.
struct ReadLists {
  hArray lines = aAlloc(sizeof(PlaylistLine));
  hStrList texts[3] = {slAlloc(), slAlloc(), slAlloc()};
  ~ReadLists() {
    aFree(lines);
    for (hStrList l : texts) slFree(l);
  }
};

// The texts are handed out as C strings (plGetName and the others): each
// must end with its terminator inside its own record, or reading it would
// run on through the records behind it and past the storage.
bool textsTerminated(hStrList l) {
  for (int32_t i = 0; i < slCount(l); ++i) {
    int32_t length = 0;
    auto* text = static_cast<const char*>(slGetBuf(l, i, &length));
    if (text && (length < 1 || text[length - 1] != '\0')) return false;
  }
  return true;
}

// Reads the body behind the magic. A file may lie about its counts: the
// record size must be ours and every list must hold one entry per line, or
// the playlist would index past its lists.
bool readBody(ReadLists& r, HANDLE file) {
  if (!aRead(r.lines, file) || r.lines->itemSize != int32_t(sizeof(PlaylistLine))) return false;
  for (hStrList l : r.texts)
    if (!slRead(l, file) || slCount(l) != aCount(r.lines) || !textsTerminated(l)) return false;
  return true;
}

// A playlist saved before the program ran with the UTF-8 code page holds
// its texts in the legacy one: each text that is not valid UTF-8 is
// converted, and the next save writes UTF-8. Under a legacy active code
// page nothing changes.
void convertLegacyTexts(hStrList l) {
  if (GetACP() != CP_UTF8) return;
  for (int32_t i = 0; i < slCount(l); ++i) {
    int32_t length = 0;
    auto* text = static_cast<const char*>(slGetBuf(l, i, &length));
    if (!text || length < 1) continue;
    std::string field(text, size_t(length) - 1);
    if (convertStoredText(field)) slSet(l, i, field.c_str());
  }
}

}  // namespace

bool loadBinary(PlaylistHandle* pl, HANDLE file) {
  char magic[8] = {};
  if (!validHandle(file) || !readExact(file, magic, sizeof(magic))) return false;
  if (std::memcmp(magic, kMagic, sizeof(magic)) != 0) return false;
  ReadLists r;
  if (!readBody(r, file)) {
    debugWriteLine("plLoadFromHandle: damaged binary playlist ignored");
    return false;
  }
  for (hStrList l : r.texts) convertLegacyTexts(l);
  std::swap(pl->lines, r.lines);
  std::swap(pl->names, r.texts[0]);
  std::swap(pl->descs, r.texts[1]);
  std::swap(pl->infos, r.texts[2]);
  return true;
}

bool saveBinary(PlaylistHandle* pl, HANDLE file) {
  if (!validHandle(file)) return false;
  return writeAll(file, kMagic, sizeof(kMagic)) && aWrite(pl->lines, file) && slWrite(pl->names, file) &&
         slWrite(pl->descs, file) && slWrite(pl->infos, file);
}

}  // namespace zv

ZVEXPORT int32_t ZVAPI plLoadFromHandle(Playlist pl, void* file) {
  return zv::guarded<int32_t>("plLoadFromHandle", 0, [&] {
    zv::settleLines(pl);
    return pl && zv::loadBinary(pl, file) ? 1 : 0;
  });
}

ZVEXPORT int32_t ZVAPI plSaveToHandle(Playlist pl, void* file) {
  return zv::guarded<int32_t>("plSaveToHandle", 0, [&] {
    zv::settleLines(pl);
    return pl && zv::saveBinary(pl, file) ? 1 : 0;
  });
}
