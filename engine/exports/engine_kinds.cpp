#include "exports/engine_kinds.h"

#include <windows.h>

#include "discs/cd_drives.h"
#include "playback/cd/cd_kind.h"
#include "playback/decode/decode_instance.h"
#include "playback/decode/decoder_list.h"
#include "playback/host/builtin_kinds.h"
#include "playback/vis/sampler_instance.h"
#include "playback/vis/vis_instance.h"
#include "playback/vis/winamp_vis_instance.h"

namespace zv {
namespace {

const BuiltinKind kKinds[kBuiltinKindCount] = {
    {"vis", pfVis, "Visualizer###Visualizer", "vis_priority", 2, visInstanceThread, nullptr, nullptr, nullptr},
    {"winampvis", pfVis | pfInternal, "WinampVis###Winamp vis", "winampvis_priority", 1, winampVisInstanceThread,
     nullptr, nullptr, nullptr},
    {"cdaudio", pfInput, "CDPlayer###CD player", nullptr, THREAD_PRIORITY_ABOVE_NORMAL, cdaudioThread,
     cdaudioInPluginInfo, cdaudioInCheckFile, cdaudioFsControl},
    {"decode", pfInput | pfInternal, "Decoder###Decoder", "decoder_priority", 2, decodeInstanceThread,
     decodeKindInPluginInfo, decodeKindInCheckFile, nullptr},
    {"insampler", 0, "Sampler###Sampler", "sampler_priority", 2, samplerInstanceThread, nullptr, nullptr, nullptr},
};

}  // namespace

void registerEngineKinds() {
  // The disc-change monitor lives on initPlugins' caller's thread, which
  // takes messages (not the loading thread, under the loader lock).
  startCdMonitor();
  loadDecoderLibraries();
  registerBuiltinKinds(kKinds);
}

void releaseEngineKinds() { stopCdMonitor(); }

}  // namespace zv
