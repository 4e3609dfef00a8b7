// What the playback tests share: the engine's plug-ins are loaded once per
// process, from this test's own root, with diagnostics going to a file.
#pragma once
#include <string>

namespace playbacktest {

// Calls initPlugins once (the lists live as long as the process).
void ensurePlugins();

// Everything the engine wrote as diagnostic lines so far.
std::string diagnostics();

// What the recorder plug-in has seen so far.
std::string recorderLog();

}  // namespace playbacktest
