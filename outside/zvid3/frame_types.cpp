#include "frame_types.h"

#include "foundation/text_util.h"
#include "zvid3.h"

namespace zvid3 {

const std::vector<FrameType>& knownFrameTypes() {
  static const std::vector<FrameType> types = {
      {"tit2", "Title", ZV_ID3_KIND_TEXT},
      {"tpe1", "Artist", ZV_ID3_KIND_TEXT},
      {"talb", "Album", ZV_ID3_KIND_TEXT},
      {"tyer", "Year", ZV_ID3_KIND_TEXT},
      {"trck", "Track", ZV_ID3_KIND_TEXT},
      {"tcon", "Genre", ZV_ID3_KIND_TEXT},
      {"comm", "Comment", ZV_ID3_KIND_LANGTEXT},
      {"tpe2", "Band", ZV_ID3_KIND_TEXT},
      {"tpe3", "Conductor", ZV_ID3_KIND_TEXT},
      {"tpe4", "Remixed by", ZV_ID3_KIND_TEXT},
      {"tcom", "Composer", ZV_ID3_KIND_TEXT},
      {"text", "Lyricist", ZV_ID3_KIND_TEXT},
      {"tit1", "Content group", ZV_ID3_KIND_TEXT},
      {"tit3", "Subtitle", ZV_ID3_KIND_TEXT},
      {"tpos", "Part of a set", ZV_ID3_KIND_TEXT},
      {"tbpm", "Beats per minute", ZV_ID3_KIND_TEXT},
      {"tkey", "Initial key", ZV_ID3_KIND_TEXT},
      {"tlan", "Language", ZV_ID3_KIND_TEXT},
      {"tlen", "Length (ms)", ZV_ID3_KIND_TEXT},
      {"tmed", "Media type", ZV_ID3_KIND_TEXT},
      {"tflt", "File type", ZV_ID3_KIND_TEXT},
      {"tope", "Original artist", ZV_ID3_KIND_TEXT},
      {"toal", "Original album", ZV_ID3_KIND_TEXT},
      {"toly", "Original lyricist", ZV_ID3_KIND_TEXT},
      {"tory", "Original year", ZV_ID3_KIND_TEXT},
      {"tofn", "Original file name", ZV_ID3_KIND_TEXT},
      {"tcop", "Copyright", ZV_ID3_KIND_TEXT},
      {"tpub", "Publisher", ZV_ID3_KIND_TEXT},
      {"tenc", "Encoded by", ZV_ID3_KIND_TEXT},
      {"tsse", "Encoder settings", ZV_ID3_KIND_TEXT},
      {"town", "Owner", ZV_ID3_KIND_TEXT},
      {"trsn", "Radio station", ZV_ID3_KIND_TEXT},
      {"trso", "Radio station owner", ZV_ID3_KIND_TEXT},
      {"tsrc", "ISRC", ZV_ID3_KIND_TEXT},
      {"txxx", "User text", ZV_ID3_KIND_USERTEXT},
      {"wcom", "Commercial information", ZV_ID3_KIND_URL},
      {"wcop", "Copyright information", ZV_ID3_KIND_URL},
      {"woaf", "Audio file web page", ZV_ID3_KIND_URL},
      {"woar", "Artist web page", ZV_ID3_KIND_URL},
      {"woas", "Audio source web page", ZV_ID3_KIND_URL},
      {"wors", "Radio station web page", ZV_ID3_KIND_URL},
      {"wpay", "Payment", ZV_ID3_KIND_URL},
      {"wpub", "Publisher web page", ZV_ID3_KIND_URL},
      {"wxxx", "User link", ZV_ID3_KIND_USERTEXT},
      {"uslt", "Lyrics", ZV_ID3_KIND_LANGTEXT},
      {"apic", "Picture", ZV_ID3_KIND_OBJECT},
      {"geob", "Object", ZV_ID3_KIND_OBJECT},
      {"ipls", "Involved people", ZV_ID3_KIND_PEOPLE},
      {"tmcl", "Musicians", ZV_ID3_KIND_PEOPLE},
      {"user", "Terms of use", ZV_ID3_KIND_LANGTEXT},
  };
  return types;
}

FrameType frameTypeOf(std::string_view id) {
  for (const FrameType& type : knownFrameTypes())
    if (id == type.id) return type;
  int kind = !id.empty() && id[0] == 't' ? ZV_ID3_KIND_TEXT
             : !id.empty() && id[0] == 'w' ? ZV_ID3_KIND_URL
                                           : ZV_ID3_KIND_OTHER;
  return {std::string(id), std::string(id), kind};
}

namespace {
struct IdPair {
  const char* shown;
  const char* stored;
};
constexpr IdPair kRenamed[] = {{"tyer", "TDRC"}, {"tory", "TDOR"}, {"ipls", "TIPL"}};
}  // namespace

std::string storedId(std::string_view shown) {
  for (const IdPair& pair : kRenamed)
    if (shown == pair.shown) return pair.stored;
  std::string id(shown);
  for (char& c : id)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return id;
}

std::string shownId(std::string_view stored) {
  std::string id = zv::asciiLower(stored);
  for (const IdPair& pair : kRenamed)
    if (id == zv::asciiLower(pair.stored)) return pair.shown;
  return id;
}

}  // namespace zvid3
