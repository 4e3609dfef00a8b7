// The "zvcache" file: the magic "ZVCH0005" and one serialised string list.
#pragma once
#include <string>

#include "zv_containers.h"

namespace zv {

// Reads the cache file into a new list. A file that cannot be opened gives
// null (or an empty list when `create` is set); a wrong magic or a damaged
// list gives an empty list, which the next save overwrites.
hStrList loadCacheFile(const std::string& file, bool create);

// Writes the list as the cache file, which ends up hidden; a file that
// cannot be created is left as it is. False when it was not written whole.
bool saveCacheFile(const std::string& file, hStrList list);

}  // namespace zv
