#include "metadata/cdplayer_titles.h"

#include <algorithm>

#include "foundation/profile_text.h"
#include "zv_cddb.h"

namespace zv {

CdPlayerTitles cdPlayerTitles(std::string_view text, std::string_view mciId, int32_t trackCount) {
  CdPlayerTitles out;
  out.artist = profileValueAsRead(text, mciId, "artist", 256);
  out.title = profileValueAsRead(text, mciId, "title", 256);
  out.tracks.resize(size_t(std::clamp<int32_t>(trackCount, 0, ZV_CDDB_MAX_TRACKS)));
  for (size_t n = 0; n < out.tracks.size(); ++n) out.tracks[n] = profileValueAsRead(text, mciId, std::to_string(n), 1024);
  return out;
}

}  // namespace zv
