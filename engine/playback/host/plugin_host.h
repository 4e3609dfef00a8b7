// The plug-in host inside the engine: the kind list, the instance list, the
// broadcast filters and the supported extensions. The exports of
// zv_plugins.h are thin wrappers over these.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "zv_plugins.h"

namespace zv {

bool startPluginHost();
void stopPluginHost(bool processExit);

// What initPlugins registers before the general plug-ins: the decoder
// libraries and the kinds built into the engine, which lie above the host.
// Named by the load sequence before the host starts.
void setBuiltinRegistration(void (*registerBuiltins)());

// What freePlugins does first, before the instances go: takes down what the
// registration set up above the host (the CD monitor window). Named by the
// load sequence with the registration.
void setBuiltinRelease(void (*releaseBuiltins)());

// Registration of a kind record: checks comInit/comPluginInfo, asks the
// library for its description, flags and extensions, and appends a
// "pluginRec" copy to the kind list. `rec` is a zero-filled template with
// name, fileName, module and entry points set.
void registerKind(const ZvPluginRec& rec);

// A record for a library in <base>\plugins: file name, module and every
// entry point looked up by name (null where the library lacks one).
ZvPluginRec libraryRecord(HMODULE module, const char* fileName);

// Asks a library for its description (comPluginInfo) and, when it has
// inPluginInfo, its extension block, into `rec`. Returns the kind flags the
// library gave.
uint32_t askLibraryInfo(ZvPluginRec& rec);

// Calls `fn` for every file of <base>\plugins matching "*<extension>"
// whose extension is exactly that (a short name can match "*.z" for "x.zz").
void forEachPluginFile(const char* extension, const std::function<void(const std::string& folder, const char* name)>& fn);

// True when the lower-case extension (with its dot) is in the supported list.
bool isSupportedExtension(std::string_view extension);

// Broadcast targets of `code` in list order: every instance (tag "bcastMsg"),
// then every filter registered for the code ("bfilterMsg").
std::vector<std::pair<ZvTarget, const char*>> broadcastTargets(uint32_t code);

// Posts one bus block to one target (the posting rule); frees the block
// when the post fails. Used by the bus and by the instance shutdown.
bool postToTarget(ZvTarget target, UINT code, WPARAM from, void* block);

}  // namespace zv
