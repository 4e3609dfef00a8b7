// visPluginConfig: the configuration dialog of an outside visualisation,
// shown without starting it.
#include <windows.h>

#include "foundation/diagnostics.h"
#include "playback/vis/winamp_vis_library.h"
#include "zv_vis.h"

ZVEXPORT ZvBool ZVAPI visPluginConfig(const char* libraryPath, int32_t moduleIndex, void* parent) {
  return zv::guarded("visPluginConfig", ZvBool{0}, [&]() -> ZvBool {
    if (!libraryPath) return 0;
    zv::WinampVisLibrary library;
    zv::OutsideFault fault;
    if (!library.load(libraryPath, moduleIndex, &fault)) return 0;
    ZvWinampVisModule* m = library.module();
    m->hDllInstance = library.handle();
    m->hwndParent = parent;
    bool faulted = false;
    if (!library.config(fault, faulted)) {
      if (faulted)
        zv::writeExceptionDiagnostic("visPluginConfig", zv::faultClassName(fault).c_str(),
                                     zv::faultMessage(fault).c_str());
      return 0;
    }
    return ZV_TRUE;
  });
}
