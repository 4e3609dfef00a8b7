// The engine's calls into the output library that are not tied to one stream.
#pragma once

namespace zv {

// Stops the output library's thread and device (first step of freePlugins).
void shutDownOutput();

}  // namespace zv
