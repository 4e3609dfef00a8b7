// Opening a file on the best-matching input, the thin control calls, and
// the questions every plug-in may answer (checkFile, fsControl).
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/diagnostics.h"
#include "foundation/text_util.h"
#include "zv_containers.h"
#include "zv_memory.h"
#include "zv_paths.h"
#include "zv_playback.h"

namespace zv {
namespace {

// ",ext," inside " ," + list + ",", all lower case: whole entries only, so
// ".mp" does not match ".mp3".
bool listContains(const char* list, const std::string& ext) {
  std::string haystack = " ," + std::string(list, strnlen(list, 4096)) + ",";
  CharLowerBuffA(haystack.data(), static_cast<DWORD>(haystack.size()));
  return haystack.find("," + ext + ",") != std::string::npos;
}

// Every input source once, those whose list holds the extension first:
// matching decoders, matching kinds, other decoders, other kinds.
std::vector<const ZvPluginRec*> candidatesFor(const char* fileName) {
  std::string ext = extensionPart(fileName ? fileName : "");
  CharLowerBuffA(ext.data(), static_cast<DWORD>(ext.size()));
  std::vector<const ZvPluginRec*> decoders, kinds;
  for (int32_t i = 0, n = decoderCount(); i < n; ++i) decoders.push_back(decoderInfoByNum(i));
  for (int32_t i = 0, n = pluginCount(); i < n; ++i) {
    const ZvPluginRec* k = pluginInfoByNum(i);
    if (!(k->kindFlags & pfInternal)) kinds.push_back(k);
  }
  std::vector<const ZvPluginRec*> out;
  for (bool matching : {true, false}) {
    for (const ZvPluginRec* d : decoders)
      if (listContains(d->extensions, ext) == matching) out.push_back(d);
    for (const ZvPluginRec* k : kinds)
      if (listContains(k->extensions, ext) == matching) out.push_back(k);
  }
  return out;
}

const ZvPluginRec* candidateAt(hStrList list, int32_t i) {
  int32_t length = 0;
  void* entry = slGetBuf(list, i, &length);
  const ZvPluginRec* rec = nullptr;
  if (entry && length == sizeof(rec)) std::memcpy(&rec, entry, sizeof(rec));
  return rec;
}

void freeContext(ZvOpenContext** context) {
  ZvOpenContext* ctx = *context;
  *context = nullptr;
  if (!ctx) return;
  slFree(static_cast<hStrList>(ctx->candidates));
  _mfree(ctx->fileName);
  _mfree(ctx);
}

// The record is large and callers pass it from any thread; zero it but keep
// what the caller asked.
void resetCheckRecord(ZvFileCheckRec* rec, const char* fileName, uint32_t request) {
  std::memset(rec, 0, sizeof(*rec));
  rec->fileName = fileName;
  rec->request = request;
}

ZvTarget openNext(ZvOpenContext** context) {
  if (!context || !*context) return 0;
  ZvOpenContext* ctx = *context;
  hStrList list = static_cast<hStrList>(ctx->candidates);
  ZvInOpenPrm block = {};
  copyBounded(block.fileName, sizeof(block.fileName), ctx->fileName);
  block.status = ctx->status;
  std::vector<char> checkSpace(sizeof(ZvFileCheckRec));
  auto* check = reinterpret_cast<ZvFileCheckRec*>(checkSpace.data());
  for (int32_t i = ctx->next, n = slCount(list); i < n; ++i) {
    const ZvPluginRec* c = candidateAt(list, i);
    if (!c) continue;
    bool input = (c->kindFlags & (pfInput | pfDecoder)) && !(c->kindFlags & pfInternal);
    if (!input || !c->inCheckFile) continue;
    resetCheckRecord(check, ctx->fileName, ZV_CHECK_PLAYABLE);
    if (c->inCheckFile(check) != ZV_PLUGIN_DONE) continue;
    bool decoder = (c->kindFlags & pfDecoder) != 0;
    ZvTarget id = startPlugin(decoder ? "decode" : c->name, ctx->owner);
    if (!id) continue;
    block.decoder = decoder ? c : nullptr;
    pluginMsgFrom(ctx->owner, id, msgInOpen, &block, sizeof(block));
    ctx->next = i + 1;
    return id;
  }
  freeContext(context);
  return 0;
}

ZvFadePrm fade(int32_t ms, int32_t mode) { return ZvFadePrm{ms, mode}; }

}  // namespace
}  // namespace zv

using namespace zv;

ZVEXPORT ZvTarget ZVAPI inOpen(const char* fileName, ZvTarget owner, ZvStatusRec* status, ZvOpenContext** context) {
  return guarded("inOpen", ZvTarget{0}, [&]() -> ZvTarget {
    if (!context) return 0;
    auto* ctx = static_cast<ZvOpenContext*>(mallocex(sizeof(ZvOpenContext), "openContext"));
    ctx->fileName = strallocex(fileName ? fileName : "", "openContext");
    ctx->owner = owner;
    ctx->status = status;
    hStrList list = slAlloc();
    for (const ZvPluginRec* c : candidatesFor(fileName)) slAddBuf(list, &c, sizeof(c));
    ctx->candidates = list;
    *context = ctx;
    return openNext(context);
  });
}

ZVEXPORT ZvTarget ZVAPI inOpenNext(ZvOpenContext** context) {
  return guarded("inOpenNext", ZvTarget{0}, [&] { return openNext(context); });
}

ZVEXPORT void ZVAPI inPlay(ZvTarget id, int32_t fadeMs, int32_t fadeMode) {
  ZvFadePrm p = fade(fadeMs, fadeMode);
  pluginMsg(id, msgInPlay, &p, sizeof(p));
}

ZVEXPORT void ZVAPI inStop(ZvTarget id, int32_t fadeMs, int32_t fadeMode) {
  ZvFadePrm p = fade(fadeMs, fadeMode);
  pluginMsg(id, msgInStop, &p, sizeof(p));
}

ZVEXPORT void ZVAPI inClose(ZvTarget id, int32_t fadeMs, int32_t fadeMode) {
  ZvFadePrm p = fade(fadeMs, fadeMode);
  pluginMsg(id, msgInClose, &p, sizeof(p));
}

ZVEXPORT void ZVAPI inSeek(ZvTarget id, int32_t positionMs) {
  ZvSeekPrm p = {positionMs};
  pluginMsg(id, msgInSeek, &p, sizeof(p));
}

ZVEXPORT void ZVAPI inSetVideo(ZvTarget id, void* window) {
  ZvWindowPrm p = {window};
  pluginMsg(id, msgInSetVideo, &p, sizeof(p));
}

ZVEXPORT void ZVAPI inSetVideoRect(ZvTarget id, int32_t targetLeft, int32_t targetTop, int32_t targetRight,
                                   int32_t targetBottom, int32_t sourceLeft, int32_t sourceTop, int32_t sourceRight,
                                   int32_t sourceBottom) {
  ZvVideoRectPrm p = {{targetLeft, targetTop, targetRight, targetBottom},
                      {sourceLeft, sourceTop, sourceRight, sourceBottom}};
  pluginMsg(id, msgInSetVideoRect, &p, sizeof(p));
}

ZVEXPORT int32_t ZVAPI checkFile(ZvFileCheckRec* rec) {
  return guarded("checkFile", int32_t{ZV_PLUGIN_NOT_MINE}, [&]() -> int32_t {
    if (!rec) return ZV_PLUGIN_NOT_MINE;
    const char* fileName = rec->fileName;
    uint32_t request = rec->request;
    if (!fileName || isPlaylist(fileName) || isDir(fileName)) return ZV_PLUGIN_NOT_MINE;
    for (const ZvPluginRec* c : candidatesFor(fileName)) {
      if (!c->inCheckFile) continue;
      resetCheckRecord(rec, fileName, request);
      int32_t result = c->inCheckFile(rec);
      rec->fileName = fileName;  // whatever the plug-in did with it
      rec->request = request;
      if (result == ZV_PLUGIN_NOT_MINE) continue;
      if (c->kindFlags & pfDecoder) rec->resultFlags += ZV_CHECK_BY_DECODER;
      return result;
    }
    return ZV_PLUGIN_NOT_MINE;
  });
}

ZVEXPORT int32_t ZVAPI fsControl(ZvFsRequest* rec) {
  return guarded("fsControl", int32_t{ZV_PLUGIN_NOT_MINE}, [&]() -> int32_t {
    if (!rec) return ZV_PLUGIN_NOT_MINE;
    for (int32_t i = 0, n = pluginCount(); i < n; ++i) {
      const ZvPluginRec* k = pluginInfoByNum(i);
      if (!k->fsControl) continue;
      if (rec->operation != ZV_FS_SET_DESC) std::memset(rec->text, 0, sizeof(rec->text));
      int32_t result = k->fsControl(rec);
      if (result != ZV_PLUGIN_NOT_MINE) return result;
    }
    return ZV_PLUGIN_NOT_MINE;
  });
}
