// Playlists the editor tests build line by line: each line a record with
// flags and level and its texts.
#pragma once
#include <string>
#include <vector>

#include "zv_playlist.h"

namespace edtest {

struct Line {
  uint32_t flags;
  int32_t level;
  std::string name, desc, info;
  int32_t time = 0, size = 0;
};

// A playlist owned by the test (freed at scope end).
struct List {
  Playlist pl = createPlaylist(-1);
  List() = default;
  explicit List(const std::vector<Line>& lines) { add(lines); }
  ~List() { freePlaylist(pl); }
  List(const List&) = delete;
  List& operator=(const List&) = delete;
  void add(const std::vector<Line>& lines) {
    for (const Line& l : lines) {
      PlaylistLine rec{};
      rec.flags = l.flags;
      rec.level = l.level;
      rec.time = l.time;
      rec.size = l.size;
      plAddLine(pl, &rec, l.name.c_str(), l.desc.c_str(), l.info.c_str());
    }
  }
  operator Playlist() const { return pl; }
};

inline constexpr uint32_t kGroup = lfGroup | lfDirectory, kHeading = lfHeading | lfGroup, kFile = 0;

// "desc@level" of every line, or the name when the desc is empty.
inline std::string shape(Playlist pl) {
  std::string out;
  for (int32_t i = 0; i < plGetCount(pl); ++i) {
    const char* d = plGetDesc(pl, i);
    out += std::string(d[0] ? d : plGetName(pl, i)) + "@" + std::to_string(plGetRec(pl, i)->level);
    if (i + 1 < plGetCount(pl)) out += " ";
  }
  return out;
}

}  // namespace edtest
