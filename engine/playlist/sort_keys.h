// The sort key of a playlist line for a sort mode.
#pragma once
#include <cstdint>
#include <string>

#include "playlist/playlist_model.h"

namespace zv {

// The key of line i for `mode` (key selector and options), lower-cased.
std::string sortKeyOf(PlaylistHandle* pl, int32_t i, int32_t mode);

// `key` with a leading number removed: digits, and if there were any, then
// blanks, a run of ')', '-' and '.', and blanks again.
std::string withoutLeadingNumber(const std::string& key);

}  // namespace zv
