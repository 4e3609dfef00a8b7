// The playlist a medium names in the text of its "autorun.inf": the
// "Playlist" key of the "Zorvak" section, as the system's profile reader
// would hand it to a MAX_PATH + 1 buffer; "" when it names none.
// Header-only like medium_playlist.h, which uses it.
#pragma once
#include <string>
#include <string_view>

#include "foundation/profile_text.h"

namespace zv {

inline constexpr size_t kAutorunNameBuffer = 261;  // MAX_PATH + 1

inline std::string autorunPlaylistName(std::string_view text) {
  return profileValueAsRead(text, "Zorvak", "Playlist", kAutorunNameBuffer);
}

}  // namespace zv
