// The kinds built into the engine, registered by initPlugins after the
// decoder libraries, with the CD monitor window they hear disc changes by.
#pragma once

namespace zv {

// Loads the decoder libraries, then registers vis, winampvis, cdaudio,
// decode and insampler, in that order (the order of the kind list).
// Makes the CD monitor window on the calling thread first.
void registerEngineKinds();

// What freePlugins does first: takes the CD monitor window down.
void releaseEngineKinds();

}  // namespace zv
