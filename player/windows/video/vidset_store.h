// The per-file "VIDSET" record through the engine's information cache: read
// (size-checked and clamped), written, or deleted when the zoom is back at
// its defaults.
#pragma once

#include <optional>
#include <string>

#include "video_layout.h"

namespace zvplayer {

// The file's stored zoom; none when it has no valid record.
std::optional<PictureZoom> loadVidset(const std::string& file);
// Writes the record, or deletes it for the default zoom.
void storeVidset(const std::string& file, const PictureZoom& zoom);

}  // namespace zvplayer
