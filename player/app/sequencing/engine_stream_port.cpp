// The stream port over the engine's exports.
#include <memory>

#include "sequencing/stream_port.h"
#include "zv_containers.h"
#include "zv_memory.h"

namespace zv {

ZvTarget EngineStreamPort::open(const std::string& fileName, ZvStatusRec* status, ZvOpenContext** context) {
  return inOpen(fileName.c_str(), owner_, status, context);
}
ZvTarget EngineStreamPort::openNext(ZvOpenContext** context) { return inOpenNext(context); }
void EngineStreamPort::play(ZvTarget stream, int32_t fadeMs, int32_t fadeMode) { inPlay(stream, fadeMs, fadeMode); }
void EngineStreamPort::stop(ZvTarget stream, int32_t fadeMs, int32_t fadeMode) { inStop(stream, fadeMs, fadeMode); }
void EngineStreamPort::close(ZvTarget stream, int32_t fadeMs, int32_t fadeMode) { inClose(stream, fadeMs, fadeMode); }
void EngineStreamPort::seek(ZvTarget stream, int32_t positionMs) { inSeek(stream, positionMs); }
void EngineStreamPort::stopPlugin(ZvTarget stream) { ::stopPlugin(stream); }

bool EngineStreamPort::canCrossfade(const std::string& fileName) {
  auto rec = std::make_unique<ZvFileCheckRec>();  // 9 KB: not on the stack of a message handler
  *rec = ZvFileCheckRec{};
  rec->fileName = fileName.c_str();
  rec->request = ZV_CHECK_PLAYABLE;
  return checkFile(rec.get()) == 0 && (rec->resultFlags & ZV_CHECK_BY_DECODER);
}

// The engine frees a context only when its candidates run out; after a
// successful open the player releases it the same way, part by part.
void EngineStreamPort::releaseContext(ZvOpenContext* context) { releaseEngineOpenContext(context); }

void releaseEngineOpenContext(ZvOpenContext* context) {
  if (!context) return;
  slFree(static_cast<hStrList>(context->candidates));
  _mfree(context->fileName);
  _mfree(context);
}

}  // namespace zv
