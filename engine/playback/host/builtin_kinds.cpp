// Built-in kinds share one thread pattern: the creator waits until the
// thread's queue exists, then the thread runs its instance through the
// instance runner (playback/host/instance_runner.h).
#include "playback/host/builtin_kinds.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "foundation/config_store.h"
#include "foundation/diagnostics.h"
#include "foundation/language.h"
#include "foundation/text_util.h"
#include "playback/host/plugin_host.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_memory.h"

namespace zv {
namespace {

// The registered table (registerBuiltinKinds); fixed from then on.
std::span<const BuiltinKind> kKinds;

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

template <int K>
ZvPluginRec kindRecord() {
  ZvPluginRec rec = {};
  copyBounded(rec.name, sizeof(rec.name), kKinds[K].name);
  rec.comInit = kindComInit<K>;
  rec.comPluginInfo = kindComPluginInfo<K>;
  rec.comConfig = kindComConfig;
  rec.comErrorString = kindComErrorString;
  rec.inPluginInfo = kKinds[K].inPluginInfo;
  rec.inCheckFile = kKinds[K].inCheckFile;
  rec.fsControl = kKinds[K].fsControl;
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

void registerBuiltinKinds(std::span<const BuiltinKind, kBuiltinKindCount> kinds) {
  kKinds = kinds;
  registerKind(kindRecord<0>());
  registerKind(kindRecord<1>());
  registerKind(kindRecord<2>());
  registerKind(kindRecord<3>());
  registerKind(kindRecord<4>());
}

}  // namespace zv
