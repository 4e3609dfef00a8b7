// The description unit is reached through the engine's own export table:
// it is built separately from the CD units, and until it is part of the
// library these requests simply do nothing.
#include "metadata/desc_link.h"

#include <windows.h>

#include "foundation/engine_frame.h"
#include "foundation/text_util.h"
#include "zv_desc.h"
#include "zv_plugins.h"

namespace zv {
namespace {

template <class Fn>
Fn ownExport(const char* name) {
  HMODULE self = engineModule();
  return self ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(self, name))) : nullptr;
}

}  // namespace

void requestDescription(const char* path) {
  static const auto fn = ownExport<decltype(&queryInfo)>("queryInfo");
  if (fn) fn(path, 0, -1, -1);
}

bool cdDescription(const char* path, char* out) {
  static const auto fn = ownExport<decltype(&cdaDesc)>("cdaDesc");
  return fn && fn(path, out) != 0;
}

bool setCdDescription(const char* path, const char* text) {
  static const auto fn = ownExport<decltype(&setCdaDesc)>("setCdaDesc");
  return fn && fn(path, text) != 0;
}

void broadcastFileChanged(const char* path) {
  ZvFileChangedPrm prm = {};
  copyBounded(prm.path, sizeof(prm.path), path);
  pluginMsg(0, msgFileChanged, &prm, sizeof(prm));
}

}  // namespace zv
