#include "playlist/autorun_text.h"

#include "foundation/profile_text.h"

namespace zv {

std::string autorunPlaylistName(std::string_view text) {
  return profileValueAsRead(text, "Zorvak", "Playlist", kAutorunNameBuffer);
}

}  // namespace zv
