// plGetFlags asks the file system and the CD drives what a location is; the
// fuzzing host has neither, so every location is a plain file.
#include "zv_playlist.h"

ZVEXPORT uint32_t ZVAPI plGetFlags(const char*) { return 0; }
