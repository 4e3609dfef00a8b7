// Built-in kinds share one thread pattern: the creator waits until the
// thread's queue exists, then the thread runs its instance through the
// instance runner (playback/instance_runner.h).
#include "playback/builtin_kinds.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "foundation/config_store.h"
#include "foundation/diagnostics.h"
#include "foundation/language.h"
#include "foundation/text_util.h"
#include "playback/cd_kind.h"
#include "playback/decode_instance.h"
#include "playback/decoder_list.h"
#include "playback/plugin_host.h"
#include "playback/sampler_instance.h"
#include "playback/vis_instance.h"
#include "playback/winamp_vis_instance.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_memory.h"

namespace zv {
namespace {

struct BuiltinKind {
  const char* name;
  uint32_t flags;
  const char* description;  // localised string
  const char* priorityKey;  // null: fixed above normal
  int32_t defaultPriority;
  LPTHREAD_START_ROUTINE thread;   // the instance thread
};

const BuiltinKind kKinds[] = {
    {"vis", pfVis, "Visualizer###Visualizer", "vis_priority", 2, visInstanceThread},
    {"winampvis", pfVis | pfInternal, "WinampVis###Winamp vis", "winampvis_priority", 1, winampVisInstanceThread},
    {"cdaudio", pfInput, "CDPlayer###CD player", nullptr, THREAD_PRIORITY_ABOVE_NORMAL, cdaudioThread},
    {"decode", pfInput | pfInternal, "Decoder###Decoder", "decoder_priority", 2, decodeInstanceThread},
    {"insampler", 0, "Sampler###Sampler", "sampler_priority", 2, samplerInstanceThread},
};

struct ThreadStart {
  const BuiltinKind* kind;
  HANDLE ready;
};

void applyPriority(const BuiltinKind& kind) {
  int32_t priority = kind.priorityKey ? configInt(kind.priorityKey, kind.defaultPriority) : kind.defaultPriority;
  SetThreadPriority(GetCurrentThread(), priority);
}

const BuiltinKind* kindNamed(const char* name) {
  for (const BuiltinKind& k : kKinds)
    if (std::strcmp(k.name, name) == 0) return &k;
  return nullptr;
}

int32_t startKindThread(const BuiltinKind& kind, ZvInitBlock* init) {
  UniqueKernelHandle ready(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  ThreadStart start = {&kind, ready.get()};
  DWORD id = 0;
  // The thread's handle goes to the caller with the instance record; the
  // host closes it when the instance goes (freePlugins, stopPlugin).
  HANDLE thread = CreateThread(nullptr, 0, kind.thread, &start, 0, &id);
  if (!thread) return 1;
  WaitForSingleObject(ready.get(), INFINITE);
  init->instanceId = id;
  init->threadHandle = thread;
  debugAddThread(translate(kind.description).c_str(), id, thread);
  if (std::strcmp(kind.name, "cdaudio") != 0) addBroadcastFilter(id, msgConfigChanged);
  return 0;
}

template <int K>
int32_t ZVAPI kindComInit(ZvInitBlock* init) {
  return guarded("comInit", int32_t{1}, [&] { return startKindThread(kKinds[K], init); });
}

template <int K>
int32_t ZVAPI kindComPluginInfo(ZvPluginInfoBlock* info) {
  std::memset(info, 0, sizeof(*info));
  copyBounded(info->description, sizeof(info->description), translate(kKinds[K].description));
  info->kindFlags = kKinds[K].flags;
  return 0;
}

int32_t ZVAPI kindComConfig(ZvConfigRec*) { return 0; }
int32_t ZVAPI kindComErrorString(void*) { return 0; }

int32_t ZVAPI cdaudioInPluginInfo(ZvInputInfoBlock* info) {
  std::memset(info, 0, sizeof(*info));
  std::strcpy(info->extensions, ".cda");
  return 0;
}

template <int K>
ZvPluginRec kindRecord(ZvInPluginInfoFn inPluginInfo, ZvInCheckFileFn inCheckFile,
                       ZvFsControlFn fsControl = nullptr) {
  ZvPluginRec rec = {};
  copyBounded(rec.name, sizeof(rec.name), kKinds[K].name);
  rec.comInit = kindComInit<K>;
  rec.comPluginInfo = kindComPluginInfo<K>;
  rec.comConfig = kindComConfig;
  rec.comErrorString = kindComErrorString;
  rec.inPluginInfo = inPluginInfo;
  rec.inCheckFile = inCheckFile;
  rec.fsControl = fsControl;
  return rec;
}

}  // namespace

void beginKindThread(void* startArgument) {
  auto* start = static_cast<ThreadStart*>(startArgument);
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue exists from here on
  applyPriority(*start->kind);
  SetEvent(start->ready);
}

void applyKindPriority(const char* kindName) {
  if (const BuiltinKind* k = kindNamed(kindName)) applyPriority(*k);
}

void reportKindException(const char* kindName, const char* className, const char* message) {
  const BuiltinKind* k = kindNamed(kindName);
  debugWriteLinef("%s: %s [%s]", k ? translate(k->description).c_str() : kindName, className, message);
}

void registerBuiltinKinds() {
  registerKind(kindRecord<0>(nullptr, nullptr));
  registerKind(kindRecord<1>(nullptr, nullptr));
  registerKind(kindRecord<2>(cdaudioInPluginInfo, cdaudioInCheckFile, cdaudioFsControl));
  registerKind(kindRecord<3>(decodeKindInPluginInfo, decodeKindInCheckFile));
  registerKind(kindRecord<4>(nullptr, nullptr));
}

}  // namespace zv
