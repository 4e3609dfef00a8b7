#include "editor_columns.h"

#include <cstdio>

#include "zv_desc.h"

namespace zv::editor {
namespace {

struct ColumnDef {
  const char* header;
  const char* infoKey;  // null: not a tag value
  int width;
};

constexpr ColumnDef kColumns[kColumnCount] = {
    {"ColName###Name", nullptr, 240},     {"ColTime###Time", nullptr, 56},   {"ColFormat###Format", "format", 130},
    {"ColSize###Size", nullptr, 70},      {"ColTitle###Title", "title", 140}, {"ColArtist###Artist", "artist", 120},
    {"ColAlbum###Album", "album", 120},   {"ColYear###Year", "year", 46},    {"ColTrack###Track #", "track", 56}};

std::string infoValue(const char* info, const char* key) {
  if (!info || !*info) return {};
  char out[ZV_DESC_SIZE] = {};
  getTagInfoKey(info, key, out);
  out[sizeof(out) - 1] = 0;
  return out;
}

std::string nameText(Playlist pl, int32_t line) {
  const char* desc = plGetDesc(pl, line);
  if (desc && *desc) return desc;
  const char* name = plGetName(pl, line);
  if (!name || !*name) return {};
  char out[ZV_DESC_SIZE] = {};
  fastDesc(name, out);
  out[sizeof(out) - 1] = 0;
  return out;
}

}  // namespace

const char* columnHeader(int column) { return column >= 0 && column < kColumnCount ? kColumns[column].header : nullptr; }

int defaultColumnWidth(int column) { return column >= 0 && column < kColumnCount ? kColumns[column].width : 0; }

std::string formatTime(int32_t ms) {
  if (ms <= 0) return {};
  const int32_t seconds = ms / 1000;
  char text[32];
  if (seconds >= 3600)
    std::snprintf(text, sizeof(text), "%d:%-2.2d:%-2.2d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  else
    std::snprintf(text, sizeof(text), "%d:%-2.2d", seconds / 60, seconds % 60);
  return text;
}

std::string formatSize(int32_t kb) {
  if (kb <= 0) return {};
  char text[32];
  if (kb < 1024)
    std::snprintf(text, sizeof(text), "%d KB", kb);
  else
    std::snprintf(text, sizeof(text), "%0.1f MB", kb / 1024.0);
  return text;
}

std::string cellText(Playlist pl, int32_t line, int column) {
  if (!pl || line < 0 || line >= plGetCount(pl) || column < 0 || column >= kColumnCount) return {};
  const PlaylistLine* rec = plGetRec(pl, line);
  switch (column) {
    case colName:
      return nameText(pl, line);
    case colTime:
      return rec ? formatTime(rec->time) : std::string();
    case colSize:
      return rec ? formatSize(rec->size) : std::string();
    case colTrack: {
      std::string track = infoValue(plGetInfo(pl, line), "track");
      return track == "0" ? std::string() : track;
    }
    default:
      return infoValue(plGetInfo(pl, line), kColumns[column].infoKey);
  }
}

}  // namespace zv::editor
