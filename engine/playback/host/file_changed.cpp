#include "playback/host/file_changed.h"

#include "foundation/text_util.h"
#include "zv_plugins.h"

namespace zv {

void broadcastFileChanged(const char* path) {
  ZvFileChangedPrm prm = {};
  copyBounded(prm.path, sizeof(prm.path), path);
  pluginMsg(0, msgFileChanged, &prm, sizeof(prm));
}

}  // namespace zv
