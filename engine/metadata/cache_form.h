// The bytes of a "zvcache" file behind an open handle: the magic "ZVCH0005"
// and one serialised string list of entries (cache_entry.h). Apart from the
// opening of the file so that the form can be read from any byte source.
#pragma once
#include <windows.h>

#include "zv_containers.h"

namespace zv {

// Reads the magic and the list into `list`; false (the list left empty by
// slRead, or untouched for a wrong magic) when the form is not sound.
bool readCacheForm(HANDLE file, hStrList list);

// Writes the magic and the list; false when not written whole.
bool writeCacheForm(HANDLE file, hStrList list);

}  // namespace zv
