#include "editor_save_options.h"

#include <algorithm>
#include <cstring>

#include "editor_rules.h"

namespace zv::editor {
namespace {

bool endsWithZ3u(const std::string& name) {
  return name.size() >= 4 && _stricmp(name.c_str() + name.size() - 4, ".z3u") == 0;
}

bool flatList(Playlist pl) {
  const int32_t count = plGetCount(pl);
  for (int32_t i = 0; i < count; ++i)
    if (isGroupLine(pl, i)) return false;
  return true;
}

// Writes `lines` to `file` when its format can hold them.
bool writeList(Playlist lines, const std::string& file) {
  if (!flatList(lines) && !endsWithZ3u(file)) return false;
  return plSave(lines, file.c_str(), 0) == plResultOk;
}

}  // namespace

SaveOptions effectiveOptions(SaveOptions o) {
  if (!o.editCreated) o.editInNewWindow = false;
  if (!o.saveSubPlaylists) o.saveStructure = false;
  return o;
}

bool isSubPlaylist(Playlist pl, int32_t line) {
  if (line <= 0 || line >= plGetCount(pl)) return false;
  const PlaylistLine* rec = plGetRec(pl, line);
  const char* name = plGetName(pl, line);
  return rec && name && (rec->flags & lfGroup) && (rec->flags & lfPlaylist) && !(rec->flags & lfDirectory) &&
         isLocalPath(name);
}

Playlist contentsForSaving(Playlist pl, int32_t head, bool asReferences) {
  Playlist out = createPlaylist(-1);
  const int32_t count = plGetCount(pl);
  if (head < 0 || head >= count) return out;
  const int32_t end = head + plGetBranch(pl, head);
  const int32_t base = levelOf(pl, head) + 1;
  for (int32_t i = head + 1; i < end && i < count;) {
    PlaylistLine rec = *plGetRec(pl, i);
    rec.level -= base;
    const bool reference = asReferences && isSubPlaylist(pl, i);
    // A reference is a plain line naming the file: read again, it expands.
    if (reference) rec.flags &= ~static_cast<uint32_t>(lfGroup);
    plAddLine(out, &rec, plGetName(pl, i), plGetDesc(pl, i), plGetInfo(pl, i));
    i += reference ? std::max<int32_t>(1, plGetBranch(pl, i)) : 1;
  }
  return out;
}

bool saveWithOptions(Playlist pl, const std::string& target, const SaveOptions& chosen,
                     std::vector<std::string>& failed) {
  const SaveOptions options = effectiveOptions(chosen);
  if (options.saveSubPlaylists) {
    const int32_t count = plGetCount(pl);
    for (int32_t i = 1; i < count; ++i) {
      if (!isSubPlaylist(pl, i)) continue;
      const std::string name = plGetName(pl, i);
      if (_stricmp(name.c_str(), target.c_str()) == 0) continue;  // the target is written below
      Playlist lines = contentsForSaving(pl, i, options.saveStructure);
      if (!writeList(lines, name)) failed.push_back(name);
      freePlaylist(lines);
    }
  }
  Playlist lines = contentsForSaving(pl, 0, options.saveStructure);
  const bool written = writeList(lines, target);
  freePlaylist(lines);
  if (!written) failed.push_back(target);
  return written;
}

}  // namespace zv::editor
