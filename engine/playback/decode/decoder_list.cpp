#include "playback/decode/decoder_list.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/diagnostics.h"
#include "foundation/standard_dirs.h"
#include "foundation/text_util.h"
#include "playback/host/plugin_host.h"
#include "zv_memory.h"
#include "zv_playback.h"
#include "zv_plugins.h"

namespace zv {
namespace {

// Written once by loadDecoderLibraries (before any instance runs), then only
// read, from any thread.
std::vector<ZvDecoderRec*> g_decoders;
bool g_loaded = false;

void loadOne(const std::string& folder, const char* fileName) {
  HMODULE module = LoadLibraryA((folder + fileName).c_str());
  if (!module) return;  // skipped without a word; the library is never unloaded
  ZvDecoderRec rec = libraryRecord(module, fileName);
  rec.fsControl = nullptr;  // decoder libraries are never asked
  if (!rec.comPluginInfo) {
    debugWriteLinef("%s is not a valid plugin", fileName);
    return;
  }
  askLibraryInfo(rec);
  rec.kindFlags = pfDecoder;  // whatever the library says
  std::memset(rec.extra, 0, sizeof(rec.extra));  // only the extensions are kept
  std::memset(rec.infoTail, 0, sizeof(rec.infoTail));
  auto* copy = static_cast<ZvDecoderRec*>(mallocex(sizeof(ZvDecoderRec), "decRec"));
  std::memcpy(copy, &rec, sizeof(rec));
  g_decoders.push_back(copy);
}

}  // namespace

void loadDecoderLibraries() {
  // Libraries are never unloaded and freePlugins keeps their records, so an
  // initPlugins after freePlugins finds the list already made.
  if (g_loaded) return;
  g_loaded = true;
  forEachPluginFile(".dec", loadOne);
}

int32_t ZVAPI decodeKindInPluginInfo(ZvInputInfoBlock* info) {
  std::memset(info, 0, sizeof(*info));
  std::string joined;
  for (const ZvDecoderRec* d : g_decoders) {
    if (!d->extensions[0]) continue;
    if (!joined.empty()) joined += ',';
    joined += d->extensions;
  }
  copyBounded(info->extensions, sizeof(info->extensions), joined);
  return 0;
}

int32_t ZVAPI decodeKindInCheckFile(ZvFileCheckRec* rec) {
  if (!g_loaded) return ZV_PLUGIN_NOT_MINE;
  const char* fileName = rec->fileName;
  uint32_t request = rec->request;
  for (const ZvDecoderRec* d : g_decoders) {
    if (!d->inCheckFile) continue;
    std::memset(rec, 0, sizeof(*rec));
    rec->fileName = fileName;
    rec->request = request;
    int32_t result = d->inCheckFile(rec);
    if (result == ZV_PLUGIN_NOT_MINE) continue;
    if (result == ZV_PLUGIN_DONE && (request & ZV_CHECK_PLAYABLE)) rec->resultFlags += ZV_CHECK_BY_DECODER;
    return result;
  }
  return ZV_PLUGIN_NOT_MINE;
}

}  // namespace zv

ZVEXPORT int32_t ZVAPI decoderCount(void) { return static_cast<int32_t>(zv::g_decoders.size()); }

ZVEXPORT const ZvDecoderRec* ZVAPI decoderInfoByNum(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= zv::g_decoders.size()) {
    // The list's range error: a diagnostic line instead of an exception
    // escaping to the caller.
    zv::debugWriteLinef("decoderInfo argument %d not in valid range 0..%d", static_cast<int>(index),
                        static_cast<int>(zv::g_decoders.size()) - 1);
    return nullptr;
  }
  return zv::g_decoders[static_cast<size_t>(index)];
}
