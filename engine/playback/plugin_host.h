// The plug-in host inside the engine: the kind list, the instance list, the
// broadcast filters and the supported extensions. The exports of
// zv_plugins.h are thin wrappers over these.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "zv_plugins.h"

namespace zv {

bool startPluginHost();
void stopPluginHost(bool processExit);

// Registration of a kind record: checks comInit/comPluginInfo, asks the
// library for its description, flags and extensions, and appends a
// "pluginRec" copy to the kind list. `rec` is a zero-filled template with
// name, fileName, module and entry points set.
void registerKind(const ZvPluginRec& rec);

// True when the lower-case extension (with its dot) is in the supported list.
bool isSupportedExtension(std::string_view extension);

// Broadcast targets of `code` in list order: every instance (tag "bcastMsg"),
// then every filter registered for the code ("bfilterMsg").
std::vector<std::pair<ZvTarget, const char*>> broadcastTargets(uint32_t code);

// Posts one bus block to one target (the posting rule); frees the block
// when the post fails. Used by the bus and by the instance shutdown.
bool postToTarget(ZvTarget target, UINT code, WPARAM from, void* block);

}  // namespace zv
