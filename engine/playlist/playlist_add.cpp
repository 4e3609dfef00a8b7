// Adding a location as lines: plain files become one line, groups
// (directories, playlists, discs) a line followed by their expanded
// contents. Also reloading and deleting the branches of one location.
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "foundation/diagnostics.h"
#include "foundation/text_util.h"
#include "playlist/add_limits.h"
#include "playlist/expansion_drives.h"
#include "playlist/line_gap.h"
#include "playlist/playlist_model.h"

namespace zv {
namespace {

struct PlaylistDeleter {
  void operator()(PlaylistHandle* pl) const { freePlaylist(pl); }
};
using OwnedPlaylist = std::unique_ptr<PlaylistHandle, PlaylistDeleter>;

OwnedPlaylist newPlaylist() { return OwnedPlaylist(createPlaylist(-1)); }

std::string lowerText(std::string text) {
  if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// One key for every spelling of a file on disk ("d\\.\\a.m3u", "d\\x\\..\\a.m3u",
// "D/A.M3U"): a playlist that lists itself under many spellings would
// otherwise be expanded once per order of them, a count that grows with the
// factorial of the spellings. Other locations (discs, addresses) are keyed
// as they are written.
std::string ancestorKey(const std::string& name) {
  const bool drivePath = name.size() > 2 && name[1] == ':' && (name[2] == '\\' || name[2] == '/');
  const bool uncPath = name.size() > 2 && (name[0] == '\\' || name[0] == '/') && (name[1] == '\\' || name[1] == '/');
  if (drivePath || uncPath) {
    char full[MAX_PATH + 1];
    const DWORD n = GetFullPathNameA(name.c_str(), sizeof(full), full, nullptr);
    if (n > 0 && n < sizeof(full)) return lowerText(full);
  }
  return lowerText(name);
}

bool onAncestorList(hStrList ancestors, const std::string& key) {
  for (int32_t i = slCount(ancestors) - 1; i >= 0; --i) {
    auto* p = static_cast<const char*>(slGet(ancestors, i));
    if (p && key == p) return true;
  }
  return false;
}

// What one add has spent and read (add_limits.h).
struct AddRun {
  int32_t expansionsLeft = kExpansionsPerAdd;
  bool told = false;  // the diagnostic line, once per add
  // The lines of each playlist file read so far, by ancestorKey: a file
  // listed again is expanded from memory, not read again. Folders and other
  // groups are not kept (a library's listings would all stay in memory).
  std::map<std::string, OwnedPlaylist> playlists;
};

// The lines of the group `name` (flags `flags`), loaded or from the run's
// cache; nullptr when it gives none.
PlaylistHandle* groupContents(AddRun& run, const std::string& key, const std::string& name, uint32_t flags,
                              OwnedPlaylist& loaded) {
  const bool keep = (flags & lfPlaylist) != 0;
  if (keep) {
    auto found = run.playlists.find(key);
    if (found != run.playlists.end()) return found->second.get();
  }
  loaded = newPlaylist();
  if (plLoad(loaded.get(), name.c_str(), 0) != plResultOk || plGetCount(loaded.get()) == 0) loaded.reset();
  if (!keep) return loaded.get();
  return run.playlists.emplace(key, std::move(loaded)).first->second.get();
}

// Appends `name` with `rec` (level shifted) and, for a group, its contents
// below it. A group that gives no lines adds nothing, not even itself; one
// already being expanded on the current path (a playlist including itself)
// is not expanded again, nor is any group once the run's expansions are
// spent. Returns whether anything was added.
bool addLocation(PlaylistHandle* pl, AddRun& run, PlaylistLine rec, const std::string& name, int32_t shift,
                 const char* info, const char* desc) {
  rec.level += shift;
  if (!(rec.flags & lfGroup) || (rec.flags & lfFixed)) {
    if (rec.level != -1) plAddLine(pl, &rec, name.c_str(), desc, info);
    return true;
  }
  std::string key = ancestorKey(name);
  if (onAncestorList(pl->ancestors, key)) return false;
  if (run.expansionsLeft <= 0) {
    if (!run.told)
      debugWriteLinef("Adding to a playlist: %d nested playlists and folders expanded, the rest left out (from \"%s\")",
                      kExpansionsPerAdd, name.c_str());
    run.told = true;
    return false;
  }
  --run.expansionsLeft;
  slAdd(pl->ancestors, key.c_str());
  bool added = false;
  OwnedPlaylist loaded;
  PlaylistHandle* contents = groupContents(run, key, name, rec.flags, loaded);
  if (contents) {
    int32_t at = plGetCount(pl);
    for (int32_t i = 0; i < plGetCount(contents); ++i) {
      // Copies: the recursion must not hold pointers into a playlist across
      // calls that add to the run's cache.
      PlaylistLine child = *plGetRec(contents, i);
      std::string childName = plGetName(contents, i);
      std::string childInfo = plGetInfo(contents, i);
      std::string childDesc = plGetDesc(contents, i);
      if (addLocation(pl, run, child, childName, shift + 1, childInfo.c_str(), childDesc.c_str())) added = true;
    }
    if (added && rec.level != -1) plInsLine(pl, at, &rec, name.c_str(), desc, info);
  }
  slDelete(pl->ancestors, slCount(pl->ancestors) - 1);
  return added;
}

// Clears the ancestor list however the expansion ends.
struct AncestorScope {
  PlaylistHandle* pl;
  explicit AncestorScope(PlaylistHandle* p) : pl(p) { pl->ancestors = slAlloc(); }
  ~AncestorScope() {
    slFree(pl->ancestors);
    pl->ancestors = nullptr;
  }
};

void addFile(PlaylistHandle* pl, const char* location, uint32_t flags) {
  ExpansionDrives drives;
  PlaylistLine rec = {};
  rec.flags = plGetFlags(location);
  AncestorScope scope(pl);
  AddRun run;
  addLocation(pl, run, rec, location, (flags & plAddContentsOnly) ? -1 : 0, nullptr, nullptr);
}

// Replaces the branch at `at` by a fresh expansion of its head's name (built
// once into `fresh` by the caller); returns the position behind what was put
// there.
int32_t replaceBranch(PlaylistHandle* pl, int32_t at, PlaylistHandle* fresh) {
  int32_t level = lineRec(pl, at)->level;
  plDelRange(pl, at, plGetBranch(pl, at));
  settleLines(pl);
  plInsert(pl, at, fresh, level);
  return at + plGetCount(fresh);
}

void reloadFile(PlaylistHandle* pl, const char* location) {
  OwnedPlaylist fresh;
  for (int32_t i = 0; i < lineCount(pl);) {
    if (!sameTextIgnoringCase(plGetName(pl, i), location)) {
      ++i;
      continue;
    }
    if (!fresh) {
      fresh = newPlaylist();
      addFile(fresh.get(), location, 0);
    }
    i = replaceBranch(pl, i, fresh.get());
  }
}

void delFile(PlaylistHandle* pl, const char* location) {
  for (int32_t i = 0; i < lineCount(pl);) {
    if (sameTextIgnoringCase(plGetName(pl, i), location)) {
      plDelRange(pl, i, plGetBranch(pl, i));
      settleLines(pl);
    } else
      ++i;
  }
}

}  // namespace
}  // namespace zv

using namespace zv;

ZVEXPORT void ZVAPI plAddFile(Playlist pl, const char* location, uint32_t flags) {
  guardedVoid("plAddFile", [&] {
    settleLines(pl);
    if (pl && location && !pl->ancestors) addFile(pl, location, flags);
  });
}

ZVEXPORT void ZVAPI plInsFile(Playlist pl, int32_t index, const char* location, uint32_t flags, int32_t shift) {
  guardedVoid("plInsFile", [&] {
    if (!pl || !location) return;
    settleLines(pl);
    OwnedPlaylist temp = newPlaylist();
    addFile(temp.get(), location, flags);
    plInsert(pl, index, temp.get(), shift);
  });
}

ZVEXPORT void ZVAPI plReloadFile(Playlist pl, const char* location) {
  guardedVoid("plReloadFile", [&] {
    settleLines(pl);
    if (pl && location) reloadFile(pl, location);
  });
}

ZVEXPORT void ZVAPI plReloadBranch(Playlist pl, int32_t index) {
  guardedVoid("plReloadBranch", [&] {
    settleLines(pl);
    if (!validLine(pl, index)) return;
    std::string name = plGetName(pl, index);
    OwnedPlaylist fresh = newPlaylist();
    addFile(fresh.get(), name.c_str(), 0);
    replaceBranch(pl, index, fresh.get());
  });
}

ZVEXPORT void ZVAPI plDelFile(Playlist pl, const char* location) {
  guardedVoid("plDelFile", [&] {
    settleLines(pl);
    if (pl && location) delFile(pl, location);
  });
}

ZVEXPORT void ZVAPI plDelBranch(Playlist pl, int32_t index) {
  guardedVoid("plDelBranch", [&] {
    if (visibleLine(pl, index)) deleteLines(pl, index, visibleBranchLength(pl, index));
  });
}
