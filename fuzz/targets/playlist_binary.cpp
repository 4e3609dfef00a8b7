// The binary playlist "ZVPL0010" (plLoadFromHandle): a loaded playlist has
// one name, description and information per line, every one of them
// readable, and saves to bytes that load to the same playlist.
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "host_file.h"
#include "zv_playlist.h"

namespace {

std::vector<std::string> texts(Playlist pl) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < plGetCount(pl); ++i) {
    out.emplace_back(plGetName(pl, i));
    out.emplace_back(plGetDesc(pl, i));
    out.emplace_back(plGetInfo(pl, i));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zv::host::MemoryFile file{data, size};
  Playlist pl = createPlaylist(0);
  if (plLoadFromHandle(pl, &file)) {
    std::vector<std::string> first = texts(pl);
    zv::host::MemoryFile out;
    ZV_FUZZ_CHECK(plSaveToHandle(pl, &out));
    zv::host::MemoryFile again{reinterpret_cast<const uint8_t*>(out.written.data()), out.written.size()};
    Playlist copy = createPlaylist(0);
    ZV_FUZZ_CHECK(plLoadFromHandle(copy, &again));
    ZV_FUZZ_CHECK(texts(copy) == first);
    freePlaylist(copy);
  }
  freePlaylist(pl);
  return 0;
}
