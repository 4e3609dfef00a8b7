#include "playback/decoder_list.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/diagnostics.h"
#include "foundation/standard_dirs.h"
#include "foundation/text_util.h"
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
  auto entry = [&](const char* n) { return reinterpret_cast<void*>(GetProcAddress(module, n)); };
  ZvDecoderRec rec = {};
  copyBounded(rec.fileName, sizeof(rec.fileName), fileName);
  rec.module = module;
  rec.comInit = reinterpret_cast<ZvComInitFn>(entry("comInit"));
  rec.comPluginInfo = reinterpret_cast<ZvComPluginInfoFn>(entry("comPluginInfo"));
  rec.comConfig = reinterpret_cast<ZvComConfigFn>(entry("comConfig"));
  rec.comErrorString = reinterpret_cast<ZvComErrorStringFn>(entry("comErrorString"));
  rec.inPluginInfo = reinterpret_cast<ZvInPluginInfoFn>(entry("inPluginInfo"));
  rec.inCheckFile = reinterpret_cast<ZvInCheckFileFn>(entry("inCheckFile"));
  if (!rec.comPluginInfo) {
    debugWriteLinef("%s is not a valid plugin", fileName);
    return;
  }
  ZvPluginInfoBlock info = {};
  rec.comPluginInfo(&info);
  copyBounded(rec.description, sizeof(rec.description),
              std::string_view(info.description, strnlen(info.description, sizeof(info.description))));
  rec.kindFlags = pfDecoder;  // whatever the library says
  if (rec.inPluginInfo) {
    std::vector<char> raw(sizeof(ZvInputInfoBlock), 0);
    auto* input = reinterpret_cast<ZvInputInfoBlock*>(raw.data());
    rec.inPluginInfo(input);
    input->extensions[sizeof(input->extensions) - 1] = '\0';
    std::memcpy(rec.extensions, input->extensions, sizeof(rec.extensions));
  }
  auto* copy = static_cast<ZvDecoderRec*>(mallocex(sizeof(ZvDecoderRec), "decRec"));
  std::memcpy(copy, &rec, sizeof(rec));
  g_decoders.push_back(copy);
}

}  // namespace

void loadDecoderLibraries() {
  g_loaded = true;
  std::string folder = baseDirectory() + "\\plugins\\";
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((folder + "*.dec").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (lstrcmpiA(extensionPart(fd.cFileName).c_str(), ".dec") != 0) continue;  // not "x.decx" by its short name
    loadOne(folder, fd.cFileName);
  } while (FindNextFileA(find, &fd));
  FindClose(find);
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
