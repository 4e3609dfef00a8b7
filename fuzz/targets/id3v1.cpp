// The ID3v1.1 record (decodeTag, encodeTag) as zvid3 hands it out: any 128
// bytes decode to fields that fit the callers' buffers, hold no NUL and end
// in no blank; encoding what was decoded and decoding again gives the same
// fields, track and genre.
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "zvid3.h"

namespace {

struct Fields {
  char title[31], artist[31], album[31], year[5], comment[29];
  int32_t track, genre;
  bool operator==(const Fields& o) const {
    return !std::strcmp(title, o.title) && !std::strcmp(artist, o.artist) && !std::strcmp(album, o.album) &&
           !std::strcmp(year, o.year) && !std::strcmp(comment, o.comment) && track == o.track && genre == o.genre;
  }
};

Fields decode(const ZvId3v1Tag& tag) {
  Fields f;
  std::memset(&f, 0x5A, sizeof f);  // what decodeTag leaves unwritten shows
  decodeTag(&tag, f.title, f.artist, f.album, f.year, f.comment, &f.track, &f.genre);
  return f;
}

void checkText(const char* text, size_t buffer) {
  const size_t n = strnlen(text, buffer);
  ZV_FUZZ_CHECK(n < buffer);
  if (n > 0) ZV_FUZZ_CHECK(text[n - 1] != ' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size != sizeof(ZvId3v1Tag)) return 0;
  ZvId3v1Tag tag;
  std::memcpy(&tag, data, sizeof tag);
  const Fields first = decode(tag);
  checkText(first.title, 31);
  checkText(first.artist, 31);
  checkText(first.album, 31);
  checkText(first.year, 5);
  checkText(first.comment, 29);
  ZV_FUZZ_CHECK(first.track >= 0 && first.track <= 255 && first.genre >= 0 && first.genre <= 255);

  ZvId3v1Tag written;
  encodeTag(&written, first.title, first.artist, first.album, first.year, first.comment, first.track, first.genre);
  ZV_FUZZ_CHECK(std::memcmp(written.magic, "TAG", 3) == 0);
  ZV_FUZZ_CHECK(decode(written) == first);
  return 0;
}
