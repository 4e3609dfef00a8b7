#include "exports/load_sequence.h"

#include <windows.h>

#include "discs/cd_drives.h"
#include "exports/engine_kinds.h"
#include "foundation/config_store.h"
#include "foundation/debug_registry.h"
#include "foundation/diagnostics.h"
#include "foundation/engine_module.h"
#include "foundation/language.h"
#include "foundation/memory.h"
#include "foundation/system_probes.h"
#include "metadata/cache_table.h"
#include "metadata/desc_link.h"
#include "metadata/file_scanner.h"
#include "playback/host/plugin_host.h"
#include "win32/window_base.h"

namespace zv {
namespace {

// initPlugins registers the decoder libraries and the kinds built into the
// engine (with the CD monitor), which all lie above the plug-in host;
// freePlugins takes the monitor down.
bool startPluginHostWithEngineKinds() {
  setBuiltinRegistration(registerEngineKinds);
  setBuiltinRelease(releaseEngineKinds);
  return startPluginHost();
}

// A disc change asks the description unit, which lies above the drive list.
bool startCdDrivesWithDescriptions() {
  setDiscDescriber(requestDescription);
  return startCdDrives();
}

struct Unit {
  const char* name;
  bool (*start)();               // may be null
  void (*stop)(bool processExit);  // may be null
};

// The load order of the engine. Each unit starts once, in this order; unload
// runs the stops of the started units in reverse. Later units rely on the
// earlier ones (every allocation goes through the memory manager, every path
// through the standard directories), so the order is part of the design.
const Unit kUnits[] = {
    {"localisation", startLanguage, stopLanguage},
    {"system probes", startSystemProbes, stopSystemProbes},
    {"configuration store", startConfigStore, stopConfigStore},
    {"debug registry", startDebugRegistry, stopDebugRegistry},
    {"memory manager", startMemoryManager, stopMemoryManager},
    {"plug-in host", startPluginHostWithEngineKinds, stopPluginHost},
    {"information cache", startInfoCache, stopInfoCache},
    // Its queue exists from here; its thread is started by the first request.
    {"file scanner", startFileScanner, stopFileScanner},
    {"CD player", startCdDrivesWithDescriptions, stopCdDrives},
    // ---- containers, then the playlist, playback and metadata units go
    // ---- here, in that order.
};

constexpr int kUnitCount = sizeof(kUnits) / sizeof(kUnits[0]);
int g_started = 0;

}  // namespace

bool engineLoad(HMODULE self) {
  setEngineModule(self);
  // An exception that escapes one of the engine's hidden windows becomes a
  // diagnostic line; the window goes on.
  setWindowExceptionHook(writeWindowException);
  for (g_started = 0; g_started < kUnitCount; ++g_started) {
    const Unit& u = kUnits[g_started];
    if (u.start && !u.start()) {
      OutputDebugStringA("zvengine: unit failed to start: ");
      OutputDebugStringA(u.name);
      OutputDebugStringA("\n");
      engineUnload(false);
      return false;
    }
  }
  return true;
}

void engineUnload(bool processExit) {
  while (g_started > 0) {
    const Unit& u = kUnits[--g_started];
    if (u.stop) u.stop(processExit);
  }
}

}  // namespace zv
