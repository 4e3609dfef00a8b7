// Language of zvengine.dll: the engine translates its own user-visible texts
// (thread names, CD and description texts) from the file
// "<directory>\<language>\<fileName>" of "key=translation" lines, and adds
// every key it misses to that file. The player keeps its own file the same way.
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

// Writes back keys the engine added to its current language file, then sets
// the language directory (normally <base>\lang), the language ("en", ...) and
// the file name ("engine.dat"; texts are copied) and loads that file if it
// exists. A missing file means untranslated defaults and is never created.
// Call from the player's main thread, at start-up or on a language change.
ZVEXPORT void ZVAPI setEngineLang(const char* directory, const char* language, const char* fileName);

#ifdef __cplusplus
}
#endif
