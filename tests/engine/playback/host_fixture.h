// What the playback tests share: the engine's plug-ins are loaded once per
// process, from this test's own root, with diagnostics going to a file.
#pragma once
#include <string>

#include "fixtures/recorder_log.h"

namespace playbacktest {

// Calls initPlugins once (the lists live as long as the process).
void ensurePlugins();

// Everything the engine wrote as diagnostic lines so far.
std::string diagnostics();

using recordertest::recorderLog;

}  // namespace playbacktest
