#include "metadata/tag_reader.h"

#include <cstring>
#include <memory>

#include "foundation/config_store.h"
#include "zv_desc.h"
#include "zvid3.h"

namespace zv {
namespace {

constexpr const char* kDefaultTagFmt = "@[%a%t][@[%n][%n. ]%a \"%t\"]";

struct Id3v2Free {
  void operator()(ZvId3v2TagData* tag) const { id3v2Free(tag); }
};
using Id3v2Handle = std::unique_ptr<ZvId3v2TagData, Id3v2Free>;

// Where the content of a frame id goes; null for the frames we skip.
std::string* target(TagValues& v, std::string& trackText, const char* id) {
  if (std::strcmp(id, "tit2") == 0) return &v.title;
  if (std::strcmp(id, "tpe1") == 0) return &v.artist;
  if (std::strcmp(id, "talb") == 0) return &v.album;
  if (std::strcmp(id, "tyer") == 0) return &v.year;
  if (std::strcmp(id, "trck") == 0) return &trackText;
  return nullptr;
}

void readId3v2(const char* path, TagValues& v) {
  Id3v2Handle tag(id3v2Create());
  if (!tag || id3v2Load(tag.get(), path) != ZV_ID3_OK) return;
  std::string trackText;
  int32_t count = id3v2FrameCount(tag.get());
  for (int32_t i = 0; i < count; ++i) {
    ZvId3v2Frame frame = id3v2GetFrame(tag.get(), i);
    char id[8] = {};
    if (!frame || !id3v2FrameType(frame, id, nullptr, nullptr)) continue;
    std::string* into = target(v, trackText, id);
    if (!into) continue;
    char content[256] = {};
    id3v2GetStringField(frame, "content", content, sizeof(content));
    *into = std::string(content, strnlen(content, sizeof(content)));
  }
  v.track = trackNumber(trackText);
}

void fillFromId3v1(const char* path, TagValues& v) {
  ZvId3v1Tag rec;
  if (readTag(path, &rec) != ZV_ID3_OK) return;
  char title[31] = {}, artist[31] = {}, album[31] = {}, year[5] = {};
  int32_t track = 0, genre = 0;
  decodeTag(&rec, title, artist, album, year, nullptr, &track, &genre);
  if (v.title.empty()) v.title = title;
  if (v.artist.empty()) v.artist = artist;
  if (v.album.empty()) v.album = album;
  if (v.year.empty()) v.year = year;
  if (v.track == 0) v.track = track;
}

}  // namespace

bool readTagValues(const char* path, TagValues* values) {
  TagValues v;
  readId3v2(path, v);
  if (v.title.empty() || v.artist.empty() || v.album.empty() || v.year.empty() || v.track == 0)
    fillFromId3v1(path, v);
  *values = v;
  return v.any();
}

bool tagInfoFromTags(const char* path, std::string* text) {
  TagValues v;
  text->clear();
  if (!readTagValues(path, &v)) return false;
  *text = tagInfoText(v);
  return true;
}

std::string formatTagInfo(const char* path, const std::string& text) {
  TagValues v;
  if (!decodeTagValues(text, &v)) return std::string();
  std::string format = configText("TagFmt", kDefaultTagFmt);
  char out[ZV_DESC_SIZE] = {};
  formatDesc(format.c_str(), path, v.title.c_str(), v.artist.c_str(), v.album.c_str(), v.year.c_str(), v.track, out);
  return std::string(out, strnlen(out, sizeof(out)));
}

}  // namespace zv
