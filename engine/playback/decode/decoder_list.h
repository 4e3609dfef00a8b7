// Decoder libraries ("*.dec" in <base>\plugins): their list, and the entry
// points of the built-in `decode` kind that speak for all of them.
#pragma once
#include <windows.h>

#include "zv_decoder.h"

namespace zv {

// Loads every decoder library into the decoder list (first step of initPlugins).
void loadDecoderLibraries();

// The `decode` kind's inPluginInfo: the extensions of every decoder, joined.
int32_t ZVAPI decodeKindInPluginInfo(ZvInputInfoBlock* info);
// The `decode` kind's inCheckFile: asks each decoder in load order.
int32_t ZVAPI decodeKindInCheckFile(ZvFileCheckRec* rec);

}  // namespace zv
