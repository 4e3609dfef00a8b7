// The ID3v1.1 record calls. The record's bytes are kept exactly as stored
// (texts in the writer's code page), so they are read and written here
// directly rather than through TagLib's Latin-1 view of them.
#include <windows.h>

#include <cstring>
#include <string>

#include "ansi_text.h"
#include "file_layout.h"
#include "foundation/file_io.h"
#include "foundation/text_util.h"
#include "guard.h"
#include "result_codes.h"
#include "tag_writer.h"
#include "win32/owners.h"
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

ZVEXPORT int32_t ZVAPI readTag(const char* path, ZvId3v1Tag* tag) {
  return guarded("readTag", int32_t(ZV_ID3_IO_ERROR), [&]() -> int32_t {
    if (!path || !tag) return ZV_ID3_BAD_ARGUMENT;
    std::memset(tag, 0, sizeof *tag);
    std::wstring name = toWide(path);
    if (taglessByName(name)) return ZV_ID3_NO_TAGS_HERE;
    zv::UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FileLayout layout;
    if (!file || !readLayout(file.get(), layout)) return ZV_ID3_IO_ERROR;
    if (layout.tagless) return ZV_ID3_NO_TAGS_HERE;
    if (!layout.hasId3v1) return ZV_ID3_NO_TAG;
    LARGE_INTEGER at;
    at.QuadPart = layout.size - 128;
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !zv::readExact(file.get(), tag, 128)) {
      std::memset(tag, 0, sizeof *tag);
      return ZV_ID3_IO_ERROR;
    }
    return ZV_ID3_OK;
  });
}

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

ZVEXPORT int32_t ZVAPI writeTag(const char* path, const ZvId3v1Tag* tag) {
  return guarded("writeTag", int32_t(ZV_ID3_IO_ERROR), [&]() -> int32_t {
    if (!path || !tag) return ZV_ID3_BAD_ARGUMENT;
    ZvId3v1Tag record = *tag;
    std::memcpy(record.magic, "TAG", 3);
    auto plan = [&](const FileLayout& layout, RewritePlan& job) {
      job.to = layout.hasId3v1 ? layout.size - 128 : layout.size;
      job.tail.assign(reinterpret_cast<const char*>(&record), sizeof record);
      return WriteStatus::ok;
    };
    return resultCode(rewriteFile(toWide(path), plan, nullptr, {}));
  });
}

ZVEXPORT int32_t ZVAPI removeTag(const char* path) {
  return guarded("removeTag", int32_t(ZV_ID3_IO_ERROR), [&]() -> int32_t {
    if (!path) return ZV_ID3_BAD_ARGUMENT;
    auto plan = [&](const FileLayout& layout, RewritePlan& job) {
      if (!layout.hasId3v1) return WriteStatus::nothingToDo;
      job.to = layout.size - 128;
      return WriteStatus::ok;
    };
    WriteStatus status = rewriteFile(toWide(path), plan, nullptr, {});
    return status == WriteStatus::nothingToDo ? ZV_ID3_NO_TAG : resultCode(status);
  });
}
