// The ID3v1.1 record's fields as texts and back (decodeTag, encodeTag):
// pure, so that the host build can fuzz them.
#include <cstring>
#include <string>

#include "ansi_text.h"
#include "foundation/text_util.h"
#include "guard.h"
#include "zvid3.h"

namespace zvid3 {
namespace {

// A field's text: up to its first NUL, trailing blanks removed, in the
// active code page and never ending in part of a character.
std::string fieldText(const char* field, size_t width) {
  return id3v1FieldToActive(trimEnd(std::string_view(field, strnlen(field, width))), width);
}

void putField(char* field, size_t width, const char* text) {
  std::memset(field, 0, width);
  if (!text) return;
  std::string bytes = activeToId3v1Field(text, width);
  std::memcpy(field, bytes.data(), bytes.size());
}

void putText(char* out, const char* field, size_t width) {
  if (out) copyOut(out, width + 1, fieldText(field, width));
}

}  // namespace
}  // namespace zvid3

using namespace zvid3;

ZVEXPORT void ZVAPI decodeTag(const ZvId3v1Tag* tag, char* title, char* artist, char* album, char* year,
                              char* comment, int32_t* track, int32_t* genre) {
  guardedVoid("decodeTag", [&] {
    static const ZvId3v1Tag empty = {};
    const ZvId3v1Tag& t = tag ? *tag : empty;
    putText(title, t.title, sizeof t.title);
    putText(artist, t.artist, sizeof t.artist);
    putText(album, t.album, sizeof t.album);
    putText(year, t.year, sizeof t.year);
    putText(comment, t.comment, sizeof t.comment);
    // ID3v1.0 used all 30 bytes for the comment; only a 0 before the last
    // byte makes it a track number.
    if (track) *track = t.zero == 0 ? t.track : 0;
    if (genre) *genre = tag ? t.genre : ZV_ID3_GENRE_NONE;
  });
}

ZVEXPORT void ZVAPI encodeTag(ZvId3v1Tag* tag, const char* title, const char* artist, const char* album,
                              const char* year, const char* comment, int32_t track, int32_t genre) {
  guardedVoid("encodeTag", [&] {
    if (!tag) return;
    std::memset(tag, 0, sizeof *tag);
    std::memcpy(tag->magic, "TAG", 3);
    putField(tag->title, sizeof tag->title, title);
    putField(tag->artist, sizeof tag->artist, artist);
    putField(tag->album, sizeof tag->album, album);
    putField(tag->year, sizeof tag->year, year);
    putField(tag->comment, sizeof tag->comment, comment);
    tag->track = (track >= 1 && track <= 255) ? static_cast<uint8_t>(track) : 0;
    tag->genre = (genre >= 0 && genre < ZV_ID3_GENRE_NONE) ? static_cast<uint8_t>(genre) : ZV_ID3_GENRE_NONE;
  });
}

