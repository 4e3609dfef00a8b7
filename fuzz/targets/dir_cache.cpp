// The directory cache "ZVDC0002" (readDirCache): walking hostile entries
// ends, and a playlist found in it loads whole and takes the drive letter.
// The first byte picks the key looked for.
#include <string_view>

#include "fuzz_check.h"
#include "host_file.h"
#include "playlist/dir_cache_form.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const char* const kKeys[] = {"MUSIC", "music\\album", "", "A\\B\\C\\D"};
  zv::host::MemoryFile file{data + 1, size - 1};
  Playlist pl = createPlaylist(0);
  if (zv::readDirCache(pl, &file, kKeys[data[0] & 3], 'Q')) {
    for (int32_t i = 0; i < plGetCount(pl); ++i) {
      std::string_view name = plGetName(pl, i);
      ZV_FUZZ_CHECK(name.size() < 2 || name[1] != ':' || name[0] == 'Q');
    }
  } else {
    ZV_FUZZ_CHECK(plGetCount(pl) == 0);
  }
  freePlaylist(pl);
  return 0;
}
