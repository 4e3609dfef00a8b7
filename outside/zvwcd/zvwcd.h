// zvwcd.dll: disc titles from a local archive of xmcd files (for example an
// unpacked freedb dump), for discs the engine's own CD database lacks. The
// engine loads it by name when it needs titles and unloads it afterwards.
// It never opens a network connection.
//
// The archive is the folder named by "folder" in section "archive" of
// "zvwcd.ini" beside the library, by default the folder "freedb" beside it.
// A disc with CDDB id 7a0b3c09 is looked for as "<folder>\7a0b3c09",
// "<folder>\7A0B3C09.cdb" and "<folder>\<category>\7a0b3c09" for every
// category folder; among several, the one whose track offsets match wins.
#pragma once
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Looks a disc up. `query` is "cd=" + track count, then "+" + each track's
// frame offset, then "+" + the lead-out offset, all hexadecimal. Fills
// `artist` and `title` (512 bytes each, "" when unknown) and replaces the
// entries of `trackTitles` (256 pointers owned by zvengine.dll) for which the
// archive has a title, allocating them with the engine's _stralloc and
// freeing the old ones with its _mfree. Returns 1 when the disc was found,
// else 0 and changes nothing. Any thread; no state is kept between calls.
int32_t __stdcall get(const char* query, char* artist, char* title, char** trackTitles);

#ifdef __cplusplus
}
#endif
