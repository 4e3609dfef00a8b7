// The part of the visualisation buffer the engine's own readers share.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "playback/host/message_block.h"

namespace zv {

// N: how many entries of each plane prepareVis writes (0..16384).
int32_t visFrameCount();

}  // namespace zv
