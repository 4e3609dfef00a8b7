// The playlist handle and its line operations.
#include <cstring>
#include <string>

#include "foundation/diagnostics.h"
#include "foundation/dyn_array.h"
#include "foundation/str_list.h"
#include "playlist/line_gap.h"
#include "playlist/playlist_model.h"
#include "zv_memory.h"

namespace zv {
namespace {

const char kEmpty[] = "";

const char* textOrEmpty(hStrList list, int32_t i) {
  auto* p = static_cast<const char*>(slGet(list, i));
  return p ? p : kEmpty;
}

// One line taken out of a playlist, so that writing it back into the same
// playlist cannot read from storage that the write moves.
struct LineCopy {
  PlaylistLine rec;
  std::string text[3];
  bool present[3];

  LineCopy(PlaylistHandle* pl, int32_t i) {
    std::memcpy(&rec, lineRec(pl, i), sizeof(rec));
    hStrList lists[3] = {pl->names, pl->descs, pl->infos};
    for (int k = 0; k < 3; ++k) {
      int32_t length = 0;
      auto* p = static_cast<const char*>(slGetBuf(lists[k], i, &length));
      present[k] = p != nullptr;
      if (p) text[k].assign(p, static_cast<size_t>(length));
    }
  }
  const char* buf(int k) const { return present[k] ? text[k].data() : nullptr; }
  int32_t len(int k) const { return static_cast<int32_t>(text[k].size()); }
};

void setLineFrom(PlaylistHandle* pl, int32_t i, const LineCopy& c) {
  std::memcpy(lineRec(pl, i), &c.rec, sizeof(c.rec));
  slSetBuf(pl->names, i, c.buf(0), c.len(0));
  slSetBuf(pl->descs, i, c.buf(1), c.len(1));
  slSetBuf(pl->infos, i, c.buf(2), c.len(2));
}

int32_t insertLine(PlaylistHandle* pl, int32_t at, const PlaylistLine* rec, const char* name, const char* desc,
                   const char* info) {
  PlaylistLine zero = {};
  int32_t i = aInsert(pl->lines, at, rec ? rec : &zero);
  slInsert(pl->names, at, name);
  slInsert(pl->descs, at, desc);
  slInsert(pl->infos, at, info);
  return i;
}

void setText(hStrList list, PlaylistHandle* pl, int32_t i, const char* text) {
  settleLines(pl);
  if (validLine(pl, i)) slSet(list, i, text);
}

}  // namespace

void copyLines(PlaylistHandle* dst, int32_t at, PlaylistHandle* src, int32_t first, int32_t count, int32_t shift) {
  if (count <= 0) return;
  settleLines(dst);
  settleLines(src);
  if (dst == src) {
    // Take the range aside first; the copy then reads from a playlist that
    // this call does not change.
    PlaylistHandle* temp = createPlaylist(-1);
    copyLines(temp, -1, src, first, count, 0);
    copyLines(dst, at, temp, 0, count, shift);
    freePlaylist(temp);
    return;
  }
  int32_t n = lineCount(dst);
  if (at < 0 || at > n - 1) at = n;
  // One gap for the whole range: inserting line by line would move the tail
  // once per line.
  arrayInsertSpace(dst->lines, at, count);
  strListInsertNulls(dst->names, at, count);
  strListInsertNulls(dst->descs, at, count);
  strListInsertNulls(dst->infos, at, count);
  hStrList from[3] = {src->names, src->descs, src->infos};
  hStrList to[3] = {dst->names, dst->descs, dst->infos};
  for (int32_t k = 0; k < count; ++k) {
    PlaylistLine* rec = lineRec(dst, at + k);
    std::memcpy(rec, lineRec(src, first + k), sizeof(PlaylistLine));
    rec->level += shift;
    for (int t = 0; t < 3; ++t) {
      int32_t length = 0;
      void* p = slGetBuf(from[t], first + k, &length);
      if (p) slSetBuf(to[t], at + k, p, length);
    }
  }
}

}  // namespace zv

using namespace zv;

ZVEXPORT Playlist ZVAPI createPlaylist(int32_t) {
  return guarded<Playlist>("createPlaylist", nullptr, [] {
    auto* pl = static_cast<PlaylistHandle*>(mallocex(sizeof(PlaylistHandle), "Playlist"));
    pl->lines = aAlloc(sizeof(PlaylistLine));
    pl->names = slAlloc();
    pl->descs = slAlloc();
    pl->infos = slAlloc();
    return pl;
  });
}

ZVEXPORT void ZVAPI freePlaylist(Playlist pl) {
  if (!pl) return;
  aFree(pl->lines);
  slFree(pl->names);
  slFree(pl->descs);
  slFree(pl->infos);
  slFree(pl->sortKeys);
  slFree(pl->ancestors);
  _mfree(pl);
}

ZVEXPORT void ZVAPI plClear(Playlist pl) {
  guardedVoid("plClear", [&] {
    if (!pl) return;
    pl->gapAt = pl->gapLength = 0;
    aClear(pl->lines);
    slClear(pl->names);
    slClear(pl->descs);
    slClear(pl->infos);
  });
}

ZVEXPORT int32_t ZVAPI plGetCount(Playlist pl) { return visibleCount(pl); }

ZVEXPORT void ZVAPI plCopy(Playlist dst, Playlist src) {
  guardedVoid("plCopy", [&] {
    if (!dst || !src || dst == src) return;
    settleLines(dst);
    settleLines(src);
    aCopy(dst->lines, src->lines);
    slCopy(dst->names, src->names);
    slCopy(dst->descs, src->descs);
    slCopy(dst->infos, src->infos);
  });
}

ZVEXPORT int32_t ZVAPI plAddLine(Playlist pl, const PlaylistLine* record, const char* name, const char* desc,
                                 const char* info) {
  return guarded<int32_t>("plAddLine", -1, [&] {
    settleLines(pl);
    return pl ? insertLine(pl, -1, record, name, desc, info) : -1;
  });
}

ZVEXPORT int32_t ZVAPI plInsLine(Playlist pl, int32_t index, const PlaylistLine* record, const char* name,
                                 const char* desc, const char* info) {
  return guarded<int32_t>("plInsLine", -1, [&] {
    settleLines(pl);
    return pl ? insertLine(pl, index, record, name, desc, info) : -1;
  });
}

ZVEXPORT void ZVAPI plDelLine(Playlist pl, int32_t index) { plDelRange(pl, index, 1); }

ZVEXPORT void ZVAPI plGetLine(Playlist pl, int32_t index, PlaylistLine** record, const char** name,
                              const char** desc, const char** info) {
  bool ok = visibleLine(pl, index);
  const int32_t at = ok ? physicalLine(pl, index) : 0;
  if (record) *record = ok ? lineRec(pl, at) : nullptr;
  if (name) *name = ok ? textOrEmpty(pl->names, at) : kEmpty;
  if (desc) *desc = ok ? textOrEmpty(pl->descs, at) : kEmpty;
  if (info) *info = ok ? textOrEmpty(pl->infos, at) : kEmpty;
}

ZVEXPORT void ZVAPI plSetLine(Playlist pl, int32_t index, const PlaylistLine* record, const char* name,
                              const char* desc, const char* info) {
  guardedVoid("plSetLine", [&] {
    settleLines(pl);
    if (!validLine(pl, index)) return;
    if (record) _memcpy(lineRec(pl, index), record, sizeof(PlaylistLine));
    slSet(pl->names, index, name);
    slSet(pl->descs, index, desc);
    slSet(pl->infos, index, info);
  });
}

// The getters read through deleted lines that wait to be taken out.
ZVEXPORT PlaylistLine* ZVAPI plGetRec(Playlist pl, int32_t index) {
  return visibleLine(pl, index) ? lineRec(pl, physicalLine(pl, index)) : nullptr;
}

ZVEXPORT void ZVAPI plSetRec(Playlist pl, int32_t index, const PlaylistLine* record) {
  if (visibleLine(pl, index) && record) _memcpy(lineRec(pl, physicalLine(pl, index)), record, sizeof(PlaylistLine));
}

ZVEXPORT const char* ZVAPI plGetName(Playlist pl, int32_t index) {
  return visibleLine(pl, index) ? textOrEmpty(pl->names, physicalLine(pl, index)) : kEmpty;
}
ZVEXPORT const char* ZVAPI plGetDesc(Playlist pl, int32_t index) {
  return visibleLine(pl, index) ? textOrEmpty(pl->descs, physicalLine(pl, index)) : kEmpty;
}
ZVEXPORT const char* ZVAPI plGetInfo(Playlist pl, int32_t index) {
  return visibleLine(pl, index) ? textOrEmpty(pl->infos, physicalLine(pl, index)) : kEmpty;
}

ZVEXPORT void ZVAPI plSetName(Playlist pl, int32_t index, const char* text) {
  guardedVoid("plSetName", [&] { setText(pl ? pl->names : nullptr, pl, index, text); });
}
ZVEXPORT void ZVAPI plSetDesc(Playlist pl, int32_t index, const char* text) {
  guardedVoid("plSetDesc", [&] { setText(pl ? pl->descs : nullptr, pl, index, text); });
}
ZVEXPORT void ZVAPI plSetInfo(Playlist pl, int32_t index, const char* text) {
  guardedVoid("plSetInfo", [&] { setText(pl ? pl->infos : nullptr, pl, index, text); });
}

ZVEXPORT void ZVAPI plSetFrom(Playlist dst, int32_t index, Playlist src, int32_t from) {
  guardedVoid("plSetFrom", [&] {
    settleLines(dst);
    settleLines(src);
    if (!validLine(dst, index) || !validLine(src, from)) return;
    setLineFrom(dst, index, LineCopy(src, from));
  });
}

ZVEXPORT int32_t ZVAPI plAddFrom(Playlist dst, Playlist src, int32_t from) {
  return plInsFrom(dst, -1, src, from);
}

ZVEXPORT int32_t ZVAPI plInsFrom(Playlist dst, int32_t index, Playlist src, int32_t from) {
  return guarded<int32_t>("plInsFrom", -1, [&]() -> int32_t {
    settleLines(dst);
    settleLines(src);
    if (!dst || !validLine(src, from)) return -1;
    LineCopy c(src, from);
    int32_t i = insertLine(dst, index, &c.rec, nullptr, nullptr, nullptr);
    setLineFrom(dst, i, c);
    return i;
  });
}
