// The bound on the work of one add (plAddFile, plInsFile, the reloads).
// Playlists need not form a cycle to explode: one that lists the next twice,
// thirty deep, asks for 2^30 expansions. So one add expands at most this many
// groups (playlists, folders, media, discs; a repeated visit counts again);
// groups met after that add nothing and one diagnostic line tells of it.
// 100 000 is far above real collections (a library of some ten thousand album
// folders, nested playlists of a few thousand files), and an add that spends
// it still ends in seconds, since a playlist listed again is not read again.
#pragma once
#include <cstdint>

namespace zv {

constexpr int32_t kExpansionsPerAdd = 100000;

}  // namespace zv
