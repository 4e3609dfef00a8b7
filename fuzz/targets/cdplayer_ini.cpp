// The CD Player's "cdplayer.ini" (cdPlayerTitles): for any text, any disc
// id and any track count, the titles fit the buffers the system's reader
// would fill, hold no line break, and there is one per track.
// Input: the track count byte, the disc's MCI id up to a NUL, then the file.
#include <algorithm>
#include <cstring>

#include "fuzz_check.h"
#include "metadata/cdplayer_titles.h"
#include "zv_cddb.h"

namespace {

void checkValue(const std::string& v, size_t buffer) {
  ZV_FUZZ_CHECK(v.size() < buffer);
  ZV_FUZZ_CHECK(v.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int32_t tracks = int8_t(data[0]);  // negative counts too
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t end = rest.find('\0');
  const std::string_view mciId = rest.substr(0, end);
  const std::string_view text = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  zv::CdPlayerTitles found = zv::cdPlayerTitles(text, mciId, tracks);
  checkValue(found.artist, 256);
  checkValue(found.title, 256);
  ZV_FUZZ_CHECK(found.tracks.size() == size_t(std::clamp<int32_t>(tracks, 0, ZV_CDDB_MAX_TRACKS)));
  for (const std::string& t : found.tracks) checkValue(t, 1024);
  return 0;
}
