// The kinds built into the engine, registered by initPlugins after the
// decoder libraries.
#pragma once

namespace zv {

// Loads the decoder libraries, then registers vis, winampvis, cdaudio,
// decode and insampler, in that order (the order of the kind list).
void registerEngineKinds();

}  // namespace zv
