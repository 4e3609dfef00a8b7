// The kind list, the instance list and the broadcast filters.
//
// The kind list is written only by initPlugins, before any instance runs.
// The instance and filter lists are changed from the player's main thread but
// read by broadcasts from any thread (the file scanner, the CD monitor), so
// both are guarded by one lock, held only while a list is read or changed.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/config_store.h"
#include "foundation/diagnostics.h"
#include "foundation/srw_lock.h"
#include "foundation/text_util.h"
#include "foundation/engine_module.h"
#include "foundation/standard_dirs.h"
#include "playback/host/output_link.h"
#include "playback/host/plugin_host.h"
#include "win32/owners.h"
#include "zv_memory.h"
#include "zv_playback.h"

namespace zv {
namespace {

struct Filter {
  std::string code;  // decimal text, compared as text
  ZvTarget target;
};

// How long freePlugins waits for each instance's thread to end.
constexpr DWORD kInstanceQuitWaitMs = 1000;

std::vector<ZvPluginRec*> g_kinds;
std::vector<ZvInstanceRec*> g_instances;
std::vector<Filter> g_filters;
std::vector<std::string> g_supportedExt;
void (*g_registerBuiltins)() = nullptr;
void (*g_releaseBuiltins)() = nullptr;
SRWLOCK g_lock = SRWLOCK_INIT;

void rangeError(const char* what, int32_t index, size_t count) {
  debugWriteLinef("%s argument %d not in valid range 0..%d", what, static_cast<int>(index),
                  static_cast<int>(count) - 1);
}

const ZvPluginRec* findByName(const std::vector<ZvPluginRec*>& list, const char* name) {
  if (!name) return nullptr;
  for (const ZvPluginRec* r : list)
    if (lstrcmpiA(r->name, name) == 0) return r;
  return nullptr;
}

// Splits a comma-separated extension text, lower-cased, onto the list. Empty
// parts (an empty text, ",,") are left out: an empty entry would admit every
// file without an extension.
void appendExtensions(std::string_view text) {
  for (std::string& part : splitText(text, ',')) {
    if (part.empty()) continue;
    CharLowerBuffA(part.data(), static_cast<DWORD>(part.size()));
    g_supportedExt.push_back(std::move(part));
  }
}

}  // namespace

ZvPluginRec libraryRecord(HMODULE module, const char* fileName) {
  ZvPluginRec rec = {};
  copyBounded(rec.fileName, sizeof(rec.fileName), fileName);
  rec.module = module;
  auto entry = [&](const char* n) { return reinterpret_cast<void*>(GetProcAddress(module, n)); };
  rec.comInit = reinterpret_cast<ZvComInitFn>(entry("comInit"));
  rec.comPluginInfo = reinterpret_cast<ZvComPluginInfoFn>(entry("comPluginInfo"));
  rec.comConfig = reinterpret_cast<ZvComConfigFn>(entry("comConfig"));
  rec.comErrorString = reinterpret_cast<ZvComErrorStringFn>(entry("comErrorString"));
  rec.inPluginInfo = reinterpret_cast<ZvInPluginInfoFn>(entry("inPluginInfo"));
  rec.inCheckFile = reinterpret_cast<ZvInCheckFileFn>(entry("inCheckFile"));
  rec.fsControl = reinterpret_cast<ZvFsControlFn>(entry("fsControl"));
  return rec;
}

uint32_t askLibraryInfo(ZvPluginRec& rec) {
  ZvPluginInfoBlock info = {};
  rec.comPluginInfo(&info);
  copyBounded(rec.description, sizeof(rec.description),
              std::string_view(info.description, strnlen(info.description, sizeof(info.description))));
  if (rec.inPluginInfo) {
    // The block is large; it lives on the heap, not the thread's stack.
    std::vector<char> raw(sizeof(ZvInputInfoBlock), 0);
    auto* input = reinterpret_cast<ZvInputInfoBlock*>(raw.data());
    rec.inPluginInfo(input);
    input->extensions[sizeof(input->extensions) - 1] = '\0';
    input->extra[sizeof(input->extra) - 1] = '\0';
    std::memcpy(rec.extensions, input->extensions, sizeof(rec.extensions));
    std::memcpy(rec.extra, input->extra, sizeof(rec.extra));
    std::memcpy(rec.infoTail, input->infoTail, sizeof(rec.infoTail));
  }
  return info.kindFlags;
}

void forEachPluginFile(const char* extension,
                       const std::function<void(const std::string& folder, const char* name)>& fn) {
  std::string folder = baseDirectory() + "\\plugins\\";
  WIN32_FIND_DATAA fd;
  UniqueFind find(FindFirstFileA((folder + "*" + extension).c_str(), &fd));
  if (!find) return;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (lstrcmpiA(extensionPart(fd.cFileName).c_str(), extension) != 0) continue;
    fn(folder, fd.cFileName);
  } while (FindNextFileA(find.get(), &fd));
}

void registerKind(const ZvPluginRec& rec) {
  if (!rec.comInit || !rec.comPluginInfo) {
    debugWriteLinef("%s is not a valid plugin", rec.fileName);
    return;
  }
  auto* copy = static_cast<ZvPluginRec*>(mallocex(sizeof(ZvPluginRec), "pluginRec"));
  std::memcpy(copy, &rec, sizeof(rec));
  copy->kindFlags = askLibraryInfo(*copy);
  copy->threadId = 0;
  copy->threadHandle = nullptr;
  g_kinds.push_back(copy);
}

bool isSupportedExtension(std::string_view extension) {
  for (const std::string& e : g_supportedExt)
    if (e == extension) return true;
  return false;
}

// Appends a general plug-in library of <base>\plugins to the kind list.
static void loadGeneralPlugin(const std::string& folder, const char* fileName) {
  HMODULE module = LoadLibraryA((folder + fileName).c_str());
  if (!module) return;  // not loadable: skipped without a word
  ZvPluginRec rec = libraryRecord(module, fileName);
  std::string name = fileName;
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  CharLowerBuffA(name.data(), static_cast<DWORD>(name.size()));
  copyBounded(rec.name, sizeof(rec.name), name);
  registerKind(rec);  // the library stays loaded even when it is not valid
}

static void scanGeneralPlugins() {
  for (const char* extension : {".z", ".zz", ".zzz"}) forEachPluginFile(extension, loadGeneralPlugin);
}

void setBuiltinRegistration(void (*registerBuiltins)()) { g_registerBuiltins = registerBuiltins; }

void setBuiltinRelease(void (*releaseBuiltins)()) { g_releaseBuiltins = releaseBuiltins; }

bool startPluginHost() { return true; }

void stopPluginHost(bool processExit) {
  if (processExit) return;  // records and libraries are left to process end
  ExclusiveLock hold(g_lock);
  for (ZvPluginRec* r : g_kinds) _mfree(r);
  for (ZvInstanceRec* r : g_instances) _mfree(r);
  g_kinds.clear();
  g_instances.clear();
  g_filters.clear();
  g_supportedExt.clear();
}

// Broadcast targets in list order: every instance, then every filter of the code.
std::vector<std::pair<ZvTarget, const char*>> broadcastTargets(uint32_t code) {
  std::vector<std::pair<ZvTarget, const char*>> targets;
  std::string text = std::to_string(code);
  SharedLock hold(g_lock);
  for (const ZvInstanceRec* r : g_instances) targets.emplace_back(r->threadId, "bcastMsg");
  for (const Filter& f : g_filters)
    if (f.code == text) targets.emplace_back(f.target, "bfilterMsg");
  return targets;
}

}  // namespace zv

using namespace zv;

ZVEXPORT void ZVAPI initPlugins(void) {
  guardedVoid("initPlugins", [] {
    // The lists are built once; a second call would register every kind and
    // decoder twice.
    if (!g_kinds.empty()) return;
    if (g_registerBuiltins) g_registerBuiltins();
    scanGeneralPlugins();
    reloadSuppExt();
  });
}

ZVEXPORT void ZVAPI freePlugins(void) {
  guardedVoid("freePlugins", [] {
    if (g_releaseBuiltins) g_releaseBuiltins();
    shutDownOutput();
    std::vector<ZvInstanceRec*> instances;
    {
      ExclusiveLock hold(g_lock);
      instances.swap(g_instances);
    }
    for (auto it = instances.rbegin(); it != instances.rend(); ++it) {
      ZvInstanceRec* r = *it;
      PostThreadMessageA(static_cast<DWORD>(r->threadId), WM_QUIT, 0, 0);
      PostThreadMessageA(static_cast<DWORD>(r->threadId), msgPluginQuit, 0, 0);
      debugDelThread(static_cast<uint32_t>(r->threadId));
      if (r->threadHandle && WaitForSingleObject(r->threadHandle, kInstanceQuitWaitMs) != WAIT_OBJECT_0) {
        // The thread runs on: its record and handle stay with it (left to
        // process end) rather than be freed under it.
        debugWriteLinef("freePlugins: instance %s (thread %llu) did not end within %lu ms; left running", r->name,
                        static_cast<unsigned long long>(r->threadId), static_cast<unsigned long>(kInstanceQuitWaitMs));
        continue;
      }
      UniqueKernelHandle thread(r->threadHandle);  // the thread has ended
      _mfree(r);
    }
    for (ZvPluginRec* r : g_kinds) _mfree(r);
    g_kinds.clear();
  });
}

ZVEXPORT int32_t ZVAPI pluginCount(void) { return static_cast<int32_t>(g_kinds.size()); }

ZVEXPORT int32_t ZVAPI instanceCount(void) {
  SharedLock hold(g_lock);
  return static_cast<int32_t>(g_instances.size());
}

ZVEXPORT const ZvPluginRec* ZVAPI pluginInfoByNum(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= g_kinds.size()) {
    rangeError("pluginInfo", index, g_kinds.size());
    return nullptr;
  }
  return g_kinds[static_cast<size_t>(index)];
}

ZVEXPORT const ZvInstanceRec* ZVAPI instanceInfoByNum(int32_t index) {
  SharedLock hold(g_lock);
  if (index < 0 || static_cast<size_t>(index) >= g_instances.size()) {
    rangeError("instanceInfo", index, g_instances.size());
    return nullptr;
  }
  return g_instances[static_cast<size_t>(index)];
}

ZVEXPORT const ZvPluginRec* ZVAPI pluginInfoByName(const char* name) { return findByName(g_kinds, name); }

ZVEXPORT const ZvInstanceRec* ZVAPI instanceInfoByName(const char* name) {
  SharedLock hold(g_lock);
  return findByName(g_instances, name);
}

ZVEXPORT const ZvInstanceRec* ZVAPI instanceInfoById(ZvTarget id) {
  SharedLock hold(g_lock);
  for (const ZvInstanceRec* r : g_instances)
    if (r->threadId == id) return r;
  return nullptr;
}

ZVEXPORT void ZVAPI addBroadcastFilter(ZvTarget target, int32_t code) {
  guardedVoid("addBroadcastFilter", [&] {
    ExclusiveLock hold(g_lock);
    g_filters.push_back({std::to_string(code), target});
  });
}

ZVEXPORT void ZVAPI delBroadcastFilter(ZvTarget target, int32_t code) {
  guardedVoid("delBroadcastFilter", [&] {
    std::string text = std::to_string(code);
    ExclusiveLock hold(g_lock);
    std::erase_if(g_filters, [&](const Filter& f) { return f.target == target && f.code == text; });
  });
}

ZVEXPORT ZvTarget ZVAPI startPlugin(const char* name, ZvTarget owner) {
  return guarded("startPlugin", ZvTarget{0}, [&]() -> ZvTarget {
    const ZvPluginRec* kind = findByName(g_kinds, name);
    if (!kind) return 0;
    auto* copy = static_cast<ZvInstanceRec*>(mallocex(sizeof(ZvInstanceRec), "instanceRec"));
    std::memcpy(copy, kind, sizeof(*copy));
    ZvInitBlock init = {};
    init.engineModule = engineModule();
    init.owner = owner;
    init.kindModule = kind->module;
    init.interfaceVersion = ZV_INTERFACE_VERSION;
    kind->comInit(&init);  // its result is not used
    copy->threadId = init.instanceId;
    copy->threadHandle = init.threadHandle;
    ExclusiveLock hold(g_lock);
    g_instances.push_back(copy);
    return copy->threadId;
  });
}

ZVEXPORT void ZVAPI stopPlugin(ZvTarget id) {
  guardedVoid("stopPlugin", [&] {
    ZvInstanceRec* found = nullptr;
    {
      ExclusiveLock hold(g_lock);
      for (auto it = g_instances.begin(); it != g_instances.end(); ++it)
        if ((*it)->threadId == id) {
          found = *it;
          g_instances.erase(it);
          break;
        }
    }
    if (!found) return;
    PostThreadMessageA(static_cast<DWORD>(id), WM_QUIT, 0, 0);
    PostThreadMessageA(static_cast<DWORD>(id), msgPluginQuit, 0, 0);
    UniqueKernelHandle(found->threadHandle).reset();  // the thread ends by itself; only our handle goes
    debugDelThread(static_cast<uint32_t>(id));
    _mfree(found);
  });
}

ZVEXPORT void ZVAPI reloadSuppExt(void) {
  guardedVoid("reloadSuppExt", [] {
    g_supportedExt.clear();
    for (const ZvPluginRec* r : g_kinds) appendExtensions(std::string_view(r->extensions, strnlen(r->extensions, sizeof(r->extensions))));
    std::string user = configText("userExt", "");
    if (user.size() > 260) user.resize(260);
    appendExtensions(user);
    for (const char* e : {".m3u", ".pls", ".aap", ".m3u8"}) g_supportedExt.emplace_back(e);
  });
}
