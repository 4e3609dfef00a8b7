// The registry of the engine's named threads (for diagnostics and the
// player's resource-usage table) and the process error mode.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace zv {

bool startDebugRegistry();
void stopDebugRegistry(bool processExit);

// The registered name of a thread, or its id in decimal.
std::string threadName(uint32_t threadId);

}  // namespace zv
