// Which files the video input claims: those whose first bytes libavformat
// recognises as one of its containers (MP4/QuickTime, Matroska/WebM, AVI),
// whatever their name; and what it says about them to the file checks.
#pragma once

#include "zv_decoder.h"

namespace zvvideo {

// The extensions registered with the engine.
extern const char kVideoExtensions[];

// The answer to inCheckFile: ZV_PLUGIN_DONE with the requested fields
// filled, or ZV_PLUGIN_NOT_MINE.
int32_t checkVideoFile(ZvFileCheckRec* rec);

}  // namespace zvvideo
