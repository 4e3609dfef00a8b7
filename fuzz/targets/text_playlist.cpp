// The text playlist readers (M3U, PLS, AAP, Z3U) over hostile bytes. The
// first byte picks the format (the reader goes by the file's extension) and
// whether the DOS Cyrillic detection runs; the rest is the file.
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "playlist/text_playlist_read.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* const kBases[] = {"C:\\music\\list.m3u", "C:\\music\\list.pls", "C:\\music\\list.aap",
                                       "C:\\music\\list.z3u"};
  const char* base = kBases[data[0] & 3];
  bool detectOem = (data[0] & 4) != 0;
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  Playlist pl = createPlaylist(0);
  zv::parseTextPlaylist(pl, base, bytes, detectOem);
  for (int32_t i = 0; i < plGetCount(pl); ++i) {
    std::string_view name = plGetName(pl, i);
    ZV_FUZZ_CHECK(name.size() <= zv::kTextPathMax);
    ZV_FUZZ_CHECK(std::string_view(plGetDesc(pl, i)).size() <= zv::kTitleMax);
    ZV_FUZZ_CHECK(plGetRec(pl, i)->level >= 0 && plGetRec(pl, i)->level <= zv::kLevelMax);
  }
  freePlaylist(pl);
  return 0;
}
