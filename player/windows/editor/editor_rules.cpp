#include "editor_rules.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace zv::editor {
namespace {

std::string lowered(std::string text) {
  if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

bool endsWithIgnoringCase(const std::string& text, const char* tail) {
  const size_t n = std::strlen(tail);
  return text.size() >= n && lstrcmpiA(text.c_str() + text.size() - n, tail) == 0;
}

}  // namespace

bool isGroupLine(Playlist pl, int32_t line) {
  const PlaylistLine* rec = plGetRec(pl, line);
  return rec && (rec->flags & lfGroup);
}

int32_t levelOf(Playlist pl, int32_t line) {
  const PlaylistLine* rec = plGetRec(pl, line);
  return rec ? rec->level : 0;
}

InsertPoint insertPoint(Playlist pl, int32_t line, AddWhere where) {
  const int32_t count = plGetCount(pl);
  if (where == AddWhere::end || line < 0 || line >= count) return {count, 0};
  const int32_t level = levelOf(pl, line);
  switch (where) {
    case AddWhere::before:
      return {line, level};
    case AddWhere::firstChild:
      return {line + 1, level + 1};
    default:
      if (isGroupLine(pl, line)) return {line + plGetBranch(pl, line), level + 1};
      return {line + 1, level};
  }
}

int32_t dropTargetLine(Playlist pl, int32_t hitLine, bool upperHalf) {
  const int32_t count = plGetCount(pl);
  if (count == 0) return -1;
  if (hitLine < 0 || hitLine >= count) return count - 1;
  if (upperHalf) --hitLine;
  return std::max<int32_t>(hitLine, 0);
}

int32_t dropLevel(Playlist pl, int32_t t, int x) {
  const int dx = x - kIndentMargin;
  int32_t level = dx >= 0 ? dx / kIndentStep : -((-dx + kIndentStep - 1) / kIndentStep);
  if (t >= 0 && t < plGetCount(pl)) {
    level = std::min(level, levelOf(pl, t) + (isGroupLine(pl, t) ? 1 : 0));
    if (t + 1 < plGetCount(pl)) level = std::max(level, levelOf(pl, t + 1));
  }
  return std::max<int32_t>(level, 1);
}

std::vector<int32_t> branchHeads(Playlist pl, const std::vector<int32_t>& selected) {
  std::vector<int32_t> sorted = selected, heads;
  std::sort(sorted.begin(), sorted.end());
  int32_t end = -1;  // the first line after the last head's branch
  for (int32_t line : sorted) {
    if (line < 0 || line >= plGetCount(pl) || line < end) continue;
    heads.push_back(line);
    end = line + plGetBranch(pl, line);
  }
  return heads;
}

bool insideBranches(Playlist pl, const std::vector<int32_t>& heads, int32_t t) {
  return std::any_of(heads.begin(), heads.end(),
                     [&](int32_t h) { return t >= h && t < h + plGetBranch(pl, h); });
}

bool isFlat(Playlist pl) {
  const int32_t count = plGetCount(pl);
  for (int32_t i = 1; i < count; ++i)
    if (isGroupLine(pl, i)) return false;
  return true;
}

bool isLocalPath(const std::string& path) {
  if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\')
    return true;
  return path.size() > 2 && path[0] == '\\' && path[1] == '\\';
}

SavePlan planSave(Playlist pl) {
  SavePlan plan;
  if (!pl || plGetCount(pl) == 0) return plan;
  plan.flat = isFlat(pl);
  const PlaylistLine* root = plGetRec(pl, 0);
  const std::string name = plGetName(pl, 0);
  const bool playlistFile = root && (root->flags & lfPlaylist) && !(root->flags & lfDirectory) && isLocalPath(name);
  if (!playlistFile) {
    plan.way = SaveWay::ask;
  } else if (!endsWithIgnoringCase(name, ".z3u") && !plan.flat) {
    plan.way = SaveWay::warnThenAskZ3u;
  } else {
    plan.way = SaveWay::direct;
    plan.target = name;
  }
  return plan;
}

std::string saveFilter(bool flat, const std::function<std::string(const char*)>& translate) {
  std::string filter = translate("Z3UPlaylists###Z3U playlists") + " (*.z3u)|*.z3u";
  if (flat) filter += "|" + translate("Playlists###Playlists") + " (*.m3u, *.pls, *.aap)|*.m3u;*.pls;*.aap";
  // An M3U that other players read as UTF-8 whatever their code page.
  if (flat) filter += "|" + translate("M3U8Playlists###UTF-8 M3U playlists") + " (*.m3u8)|*.m3u8";
  return filter;
}

int32_t quickSearch(int32_t count, const std::function<std::string(int32_t)>& text, const std::string& needle,
                    int32_t from, int direction) {
  if (needle.empty() || direction == 0) return -1;
  if (from < 1) {
    if (direction < 0) return -1;
    from = 1;
  }
  const std::string want = lowered(needle);
  for (int32_t i = from; i >= 1 && i < count; i += direction > 0 ? 1 : -1)
    if (lowered(text(i)).find(want) != std::string::npos) return i;
  return -1;
}

}  // namespace zv::editor
