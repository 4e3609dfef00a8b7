// What the sequencing rules need from the engine's playback control: the
// stream calls of the engine, one file check, and the release of an open
// context. The real adapter (engine_stream_port.cpp) forwards to the exports;
// tests substitute a port that records the calls and answers as told.
#pragma once
#include <string>

#include "zv_playback.h"

namespace zv {

class StreamPort {
 public:
  virtual ~StreamPort() = default;
  // inOpen: a new stream handle, or 0 (the context is then null).
  virtual ZvTarget open(const std::string& fileName, ZvStatusRec* status, ZvOpenContext** context) = 0;
  // inOpenNext: the next decoder's handle, or 0 (the engine freed the context).
  virtual ZvTarget openNext(ZvOpenContext** context) = 0;
  virtual void play(ZvTarget stream, int32_t fadeMs, int32_t fadeMode) = 0;
  virtual void stop(ZvTarget stream, int32_t fadeMs, int32_t fadeMode) = 0;
  virtual void close(ZvTarget stream, int32_t fadeMs, int32_t fadeMode) = 0;
  virtual void seek(ZvTarget stream, int32_t positionMs) = 0;
  // stopPlugin: frees the instance behind a finished or failed stream.
  virtual void stopPlugin(ZvTarget stream) = 0;
  // checkFile: playable, and played through an output stream so that it can
  // take part in a cross-fade.
  virtual bool canCrossfade(const std::string& fileName) = 0;
  // Frees a context the engine no longer needs (after a successful open, or
  // after a failure the player does not follow up); null does nothing.
  virtual void releaseContext(ZvOpenContext* context) = 0;
};

// Releases an engine open context: its candidate list (slFree), its file
// name and itself (_mfree). Null does nothing.
void releaseEngineOpenContext(ZvOpenContext* context);

// The port over zvengine.dll's exports.
class EngineStreamPort final : public StreamPort {
 public:
  explicit EngineStreamPort(ZvTarget owner) : owner_(owner) {}
  ZvTarget open(const std::string& fileName, ZvStatusRec* status, ZvOpenContext** context) override;
  ZvTarget openNext(ZvOpenContext** context) override;
  void play(ZvTarget stream, int32_t fadeMs, int32_t fadeMode) override;
  void stop(ZvTarget stream, int32_t fadeMs, int32_t fadeMode) override;
  void close(ZvTarget stream, int32_t fadeMs, int32_t fadeMode) override;
  void seek(ZvTarget stream, int32_t positionMs) override;
  void stopPlugin(ZvTarget stream) override;
  bool canCrossfade(const std::string& fileName) override;
  void releaseContext(ZvOpenContext* context) override;

 private:
  ZvTarget owner_;
};

}  // namespace zv
