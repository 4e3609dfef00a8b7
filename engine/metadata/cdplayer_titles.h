// The titles of a disc in the text of the CD Player's "cdplayer.ini": the
// section named by the disc's MCI id, "artist", "title" and the tracks'
// titles under "0", "1", ... Read as the system's profile reader would hand
// them to the buffers the client uses (256 bytes for artist and title, 1024
// for a track).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zv {

struct CdPlayerTitles {
  std::string artist, title;
  std::vector<std::string> tracks;  // one per track of the disc; "" where none is given
};

// `trackCount` is taken inside 0..ZV_CDDB_MAX_TRACKS.
CdPlayerTitles cdPlayerTitles(std::string_view text, std::string_view mciId, int32_t trackCount);

}  // namespace zv
