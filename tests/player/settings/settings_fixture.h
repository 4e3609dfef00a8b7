// Shared by the settings tests: the engine with a configuration section of
// this test program's own (cleared at the first use) and its plug-ins started.
#pragma once
#include <string>

namespace settingstest {

void ensureEngine();
// The section's key in the registry (for reading values back raw).
std::string configKeyPath();

}  // namespace settingstest
