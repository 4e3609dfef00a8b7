// One open of a file, from inOpen until the engine reports the stream closed:
// the status record the instance writes (its address is handed to the engine,
// so it must not move and must outlive the instance) and the open context.
// Each open has its own, so two streams that overlap in a cross-fade never
// write into one record, and no context is left behind after a good open.
#pragma once
#include "sequencing/stream_port.h"

namespace zv {

class OpenedStream {
 public:
  explicit OpenedStream(StreamPort& port) : port_(port) {}
  ~OpenedStream() { releaseContext(); }
  OpenedStream(const OpenedStream&) = delete;
  OpenedStream& operator=(const OpenedStream&) = delete;

  // 48 bytes: room for the video words of instances that show pictures.
  ZvVideoStatusRec status{};
  // The engine's variable for inOpen / inOpenNext; null once released.
  ZvOpenContext* context = nullptr;
  // A close has been asked for; the stream only waits for its end report.
  bool closing = false;

  ZvStatusRec* audioStatus() { return &status.audio; }
  void releaseContext() {
    port_.releaseContext(context);
    context = nullptr;
  }

 private:
  StreamPort& port_;
};

static_assert(sizeof(ZvVideoStatusRec) == 48, "the status record an open hands to the engine");

}  // namespace zv
