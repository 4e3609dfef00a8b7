// zvid3's ID3v2 frame model over TagLib (modelFromTag, renderTag): any file
// head TagLib takes as MPEG with an ID3v2 tag turns into frames with
// four-character ids and a known kind; the tag rendered from them is read
// back by TagLib, and after that one round rendering is stable: what is
// read back renders to the very same bytes. (The first round may change a
// damaged tag: what TagLib read but cannot write, such as a people list of
// an odd count, is written empty and then left out.)
// TagLib comes from Debian's native package, so the sanitizers watch
// zvid3's side of the calls only.
#include <taglib/tbytevector.h>

#include "fuzz_check.h"
#include "grouped_frames.h"
#include "id3v2_taglib.h"
#include "zvid3.h"

namespace {

using namespace TagLib;

// The model of the ID3v2 tag at the start of `bytes`, as loadTag makes it
// (which reads a tag with grouped frames from its ungrouped bytes); false
// when there is none. (loadTag opens an MPEG::File, whose search for audio
// frames costs the fuzzer a hundred times the tag itself; the tag and the
// model are the same.)
bool load(const ByteVector& bytes, zvid3::TagData& tag) {
  if (!bytes.startsWith("ID3")) return false;
  // Ungrouping keeps the tag's stored size, so the audio stays where it was.
  const ByteVector ungrouped = zvid3::ungroupedTag(bytes);
  ZV_FUZZ_CHECK(ungrouped.isEmpty() || ungrouped.size() == bytes.size());
  if (!zvid3::modelFromUngroupedTag(bytes, tag)) zvid3::modelFromTagBytes(bytes, tag);
  return true;
}

// Three MPEG-1 layer III frames: what makes rendered bytes a file again.
ByteVector audio() {
  ByteVector frame("\xFF\xFB\x90\x64", 4);
  frame.append(ByteVector(413, '\0'));
  ByteVector out;
  for (int i = 0; i < 3; ++i) out.append(frame);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zvid3::TagData tag;
  if (!load(ByteVector(reinterpret_cast<const char*>(data), static_cast<unsigned>(size)), tag)) return 0;
  for (const auto& f : tag.frames) {
    ZV_FUZZ_CHECK(f->id.size() == 4);
    ZV_FUZZ_CHECK(f->kind >= ZV_ID3_KIND_TEXT && f->kind <= ZV_ID3_KIND_OTHER);
    ZV_FUZZ_CHECK(f->encoding >= 0 && f->encoding <= 3);
  }
  // The first save may still drop what it cannot write; rendering settles
  // after the second save and from then on must not change.
  std::string rendered = zvid3::renderTag(tag);
  for (int round = 0; round < 3 && !rendered.empty(); ++round) {
    ByteVector file(rendered.data(), static_cast<unsigned>(rendered.size()));
    file.append(audio());
    zvid3::TagData again;
    ZV_FUZZ_CHECK(load(file, again));
    ZV_FUZZ_CHECK(again.frames.size() > 0);
    const std::string next = zvid3::renderTag(again);
    if (round == 2) ZV_FUZZ_CHECK(next == rendered);
    rendered = next;
  }
  return 0;
}
