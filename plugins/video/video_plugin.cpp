// The entry points of video.z, the video input: a general plug-in of the
// input kind whose instances play video files (see video_instance.h).
#include <windows.h>

#include <cstring>

#include "av_owners.h"
#include "file_probe.h"
#include "video_instance.h"
#include "win32/owners.h"
#include "zv_plugins.h"

namespace {

// The libraries write their complaints about damaged files to the standard
// error; a player has no use for them.
void quietLibraries() {
  static const bool quiet = [] {
    av_log_set_level(AV_LOG_QUIET);
    return true;
  }();
  (void)quiet;
}

}  // namespace

extern "C" {

// Describes the kind: an input that plays files.
int32_t ZVAPI comPluginInfo(ZvPluginInfoBlock* info) {
  std::strcpy(info->description, "Video (MP4, Matroska, WebM, AVI)");
  info->kindFlags = pfInput;
  return ZV_PLUGIN_DONE;
}

// The extensions it registers; files of other names are still claimed by content.
int32_t ZVAPI inPluginInfo(ZvInputInfoBlock* info) {
  std::strcpy(info->extensions, zvvideo::kVideoExtensions);
  return ZV_PLUGIN_DONE;
}

// Starts one instance: a thread with its own message queue.
int32_t ZVAPI comInit(ZvInitBlock* init) {
  if (init->interfaceVersion != ZV_INTERFACE_VERSION) return 1;
  quietLibraries();
  zv::UniqueKernelHandle ready(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!ready) return 1;
  zvvideo::VideoInstanceStart start{ready.get()};
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, zvvideo::videoInstanceThread, &start, 0, &id);
  if (!thread) return 1;
  WaitForSingleObject(ready.get(), INFINITE);
  init->instanceId = id;
  // The engine owns the thread handle from here (stopPlugin closes it).
  init->threadHandle = thread;
  return ZV_PLUGIN_DONE;
}

// Playability and the file's details, by content.
int32_t ZVAPI inCheckFile(ZvFileCheckRec* rec) {
  try {
    quietLibraries();
    return zvvideo::checkVideoFile(rec);
  } catch (...) {
    return ZV_PLUGIN_NOT_MINE;
  }
}

}  // extern "C"
