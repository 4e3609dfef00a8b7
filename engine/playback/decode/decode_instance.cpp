// One `decode` instance: its state machine, driven by the owner's messages
// and by the output stream's need-data event.
#include "playback/decode/decode_instance.h"

#include <windows.h>

#include <cmath>
#include <cstring>
#include <vector>
#include <algorithm>

#include "foundation/diagnostics.h"
#include "playback/host/builtin_kinds.h"
#include "playback/host/message_block.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_memory.h"
#include "zv_playback.h"
#include "zvdsp.h"

namespace zv {
namespace {

// A decoder that keeps answering "nothing yet" is asked this many times in
// a row; then the thread looks at its messages and comes back 1 ms later, so
// a stuck library can never keep the instance from closing.
constexpr int kEmptyReadsPerTurn = 64;

// Runs until WM_QUIT, msgPluginQuit or msgStreamGone.
class DecodeInstance : public KindInstance {
 public:
  ~DecodeInstance() override { shutDown(); }

  // Until the first play there is no stream and only messages wake the
  // thread; then the stream's need-data event does too, and a decoder that
  // had nothing yet is asked again after 1 ms.
  HANDLE wakeHandle() override {
    return streamCreated_ && stream_ ? static_cast<HANDLE>(stream_->needData) : nullptr;
  }
  DWORD wakeTimeoutMs() override { return streamCreated_ && feedPending_ ? 1 : INFINITE; }
  void onWake() override { feed(); }

  void onMessage(const MSG& msg) override {
    if (msg.message == msgStreamGone) endLoop();
    handle(msg);
  }

 private:

  void setState(int32_t state) {
    state_ = state;
    if (status_) status_->state = state;
    pluginMsg(owner_, msgState, &state, sizeof(state));
  }

  // Tells the owner the file is closed (`code`: msgClosed, or msgOpenFailed).
  // The status record is the owner's, and it may free it as soon as it reads
  // this: the record is let go first, so no later message (another close, a
  // stop) writes into memory that is no longer one. A new open brings a new one.
  void announceClosed(UINT code) {
    setState(stClosed);
    status_ = nullptr;
    pluginMsgX(owner_, code);
  }

  int32_t outputRate() const {
    ZvOutParams p = {};
    outGetParams(&p);
    return p.sampleRate > 0 ? p.sampleRate : 44100;
  }

  int32_t position() const {
    if (!stream_) return basePositionMs_;
    double ms = double(stream_->framesPlayed) * 1000.0 / double(outputRate());
    return basePositionMs_ + static_cast<int32_t>(std::lround(ms));
  }

  void closeDecoder() {
    if (handle_ && decClose_) {
      ZvDecCloseRec rec = {handle_};
      decClose_(&rec);
    }
    handle_ = 0;
    open_ = false;
  }

  void handle(const MSG& msg) {
    switch (msg.message) {
      case msgInOpen: onOpen(msg); break;
      case msgInPlay: onPlay(msg); break;
      case msgInStop: onStop(msg); break;
      case msgInSeek: onSeek(msg); break;
      case msgInClose: onClose(msg); break;
      case WM_TIMER: onTimer(); break;
      case msgConfigChanged: applyKindPriority("decode"); break;
      case msgStreamGone: stream_ = nullptr; streamNumber_ = -1; break;
      default: break;
    }
  }

  template <class T>
  T block(const MSG& msg) {
    T value = {};
    readMessageBlock(msg, value);  // a longer block is cut, never copied past `value`
    return value;
  }

  const ZvDecoderRec* firstAcceptingDecoder(const char* fileName) {
    std::vector<char> space(sizeof(ZvFileCheckRec));
    auto* check = reinterpret_cast<ZvFileCheckRec*>(space.data());
    for (int32_t i = 0, n = decoderCount(); i < n; ++i) {
      const ZvDecoderRec* d = decoderInfoByNum(i);
      if (!d->inCheckFile) continue;
      std::memset(check, 0, sizeof(*check));
      check->fileName = fileName;
      check->request = ZV_CHECK_PLAYABLE;
      if (d->inCheckFile(check) == ZV_PLUGIN_DONE) return d;
    }
    return nullptr;
  }

  template <class Fn>
  static Fn entry(const ZvDecoderRec* d, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(d->module), name)));
  }

  void onOpen(const MSG& msg) {
    ZvInOpenPrm prm = block<ZvInOpenPrm>(msg);
    prm.fileName[sizeof(prm.fileName) - 1] = '\0';
    owner_ = static_cast<ZvTarget>(msg.wParam);
    status_ = prm.status;
    setState(stOpening);
    if (open_) closeDecoder();
    const ZvDecoderRec* d = prm.decoder ? prm.decoder : firstAcceptingDecoder(prm.fileName);
    bool ok = false;
    if (d) {
      decOpen_ = entry<ZvDecOpenFn>(d, "decOpen");
      decRead_ = entry<ZvDecReadFn>(d, "decRead");
      decSeek_ = entry<ZvDecSeekFn>(d, "decSeek");
      decClose_ = entry<ZvDecCloseFn>(d, "decClose");
      if (decOpen_ && decRead_ && decSeek_ && decClose_) {
        ZvDecOpenRec rec = {};
        rec.fileName = prm.fileName;
        rec.flags = configBool("PreferFP", ZV_TRUE) ? ZV_DEC_PREFER_FLOAT : 0;
        rec.sampleRate = outputRate();
        if (decOpen_(&rec) == 0) {
          ok = true;
          handle_ = rec.handle;
          if (status_) {
            status_->lengthMs = rec.lengthMs;
            status_->positionMs = 0;
          }
          seekable_ = !(rec.flags & ZV_DEC_CANNOT_SEEK);
          basePositionMs_ = 0;
          open_ = true;
          endOfFile_ = false;
        }
      }
    }
    if (!ok) {
      announceClosed(msgOpenFailed);
      return;
    }
    setState(stStopped);
    ZvOpenedPrm opened = {};
    opened.caps = capStream | (seekable_ ? 0 : capNoSeek);
    pluginMsg(owner_, msgOpened, &opened, sizeof(opened));
  }

  void onPlay(const MSG& msg) {
    if (!open_ || playing_) return;
    ZvFadePrm fade = block<ZvFadePrm>(msg);
    playing_ = true;
    if (!streamCreated_) {
      streamNumber_ = outNewStream(&stream_);
      if (streamNumber_ < 0 || !stream_) {
        // No stream to be had: the file cannot be heard; end it cleanly.
        stream_ = nullptr;
        playing_ = false;
        open_ = false;
        announceClosed(msgClosed);
        closeDecoder();
        return;
      }
      timer_.reset(SetTimer(nullptr, 0, 100, nullptr));
      streamCreated_ = true;
    }
    setState(stSeeking);
    seekDecoder(basePositionMs_);
    outClear(streamNumber_);
    endOfFile_ = false;
    feedPending_ = false;
    outFadeIn(streamNumber_, fade.fadeMs, fade.fadeMode);
    stream_->framesPlayed = 0;
    setState(stPlaying);
  }

  void onStop(const MSG& msg) {
    if (!open_ || !playing_) return;
    ZvFadePrm fade = block<ZvFadePrm>(msg);
    if (fade.fadeMs != 0) {
      setState(stFading);
      closeAfterFade_ = false;
      outFadeOut(streamNumber_, fade.fadeMs, fade.fadeMode);
      return;
    }
    // The position first: whoever sees the state "stopped" in the status
    // record must see the position it stopped at.
    basePositionMs_ = position();
    playing_ = false;
    if (status_) status_->positionMs = basePositionMs_;
    setState(stStopped);
    outClear(streamNumber_);
  }

  void onSeek(const MSG& msg) {
    if (!open_ || !seekable_) return;
    ZvSeekPrm seek = block<ZvSeekPrm>(msg);
    int32_t remembered = state_;
    basePositionMs_ = seek.positionMs;
    if (status_) status_->positionMs = seek.positionMs;
    setState(stSeeking);
    seekDecoder(seek.positionMs);
    if (streamCreated_ && stream_) {
      outClear(streamNumber_);
      endOfFile_ = false;
      feedPending_ = false;
      stream_->framesPlayed = 0;
    }
    setState(remembered);
  }

  void onClose(const MSG& msg) {
    ZvFadePrm fade = block<ZvFadePrm>(msg);
    open_ = false;
    if (!streamCreated_) {
      status_ = nullptr;  // the owner's from here on (see announceClosed)
      pluginMsgX(owner_, msgClosed);  // the decoder is closed when the thread ends
      return;
    }
    if (fade.fadeMs > 0 && playing_) {
      closeAfterFade_ = true;
      setState(stFading);
      outFadeOut(streamNumber_, fade.fadeMs, fade.fadeMode);
      return;
    }
    playing_ = false;
    announceClosed(msgClosed);
    closeDecoder();
  }

  void onTimer() {
    if (!streamCreated_ || !stream_) return;
    // The output library announces a stream that has played out only by its
    // record; look here too so the end is never missed.
    if (playing_ && stream_->playedOut) {
      playedOut();
      return;
    }
    if (status_ && open_ && playing_) status_->positionMs = position();
  }

  void seekDecoder(int32_t ms) {
    if (!handle_ || !decSeek_) return;
    ZvDecSeekRec rec = {handle_, ms};
    decSeek_(&rec);
  }

  // The stream has sounded everything it was given, or its fade-out.
  void playedOut() {
    playing_ = false;
    if (endOfFile_) pluginMsgX(owner_, msgEndReached);
    if (endOfFile_ || closeAfterFade_) {
      announceClosed(msgClosed);
      closeDecoder();
      return;
    }
    basePositionMs_ = position();
    if (status_) status_->positionMs = basePositionMs_;
    setState(stStopped);
  }

  void feed() {
    if (!stream_) return;
    if (playing_ && stream_->playedOut) playedOut();
    if (!playing_ || endOfFile_ || !handle_) {
      stream_->byteCount = 0;
      feedPending_ = false;
      SetEvent(static_cast<HANDLE>(stream_->dataReady));
      return;
    }
    ZvOutParams p = {};
    outGetParams(&p);
    const int32_t bytesPerFrame = p.bits / 8 * p.channels;
    ZvDecReadRec rec = {};
    for (int tries = 0; tries < kEmptyReadsPerTurn; ++tries) {
      rec.handle = handle_;
      rec.buffer = stream_->buffer;
      rec.fixed1024 = ZV_DEC_READ_CONSTANT;
      rec.frames = bytesPerFrame > 0 ? stream_->byteCount / bytesPerFrame : 0;
      rec.sampleRate = p.sampleRate;
      rec.bits = p.bits;
      rec.channels = p.channels;
      const int32_t capacity = rec.frames;
      if (decRead_(&rec) != 0) {
        stream_->byteCount = 0;
        endOfFile_ = true;
      } else if (rec.frames > 0) {
        stream_->byteCount = std::min(rec.frames, capacity) * bytesPerFrame;
        stream_->rate = p.sampleRate;
        stream_->bits = p.bits;
        stream_->channels = p.channels;
      } else {
        continue;
      }
      feedPending_ = false;
      SetEvent(static_cast<HANDLE>(stream_->dataReady));
      return;
    }
    feedPending_ = true;  // nothing yet: come back after a look at the messages
  }

  void shutDown() {
    if (streamCreated_) {
      timer_.reset();
      if (streamNumber_ != -1) outCloseStream(streamNumber_);
      streamCreated_ = false;
    }
    if (handle_) closeDecoder();
  }

  ZvTarget owner_ = 0;
  ZvStatusRec* status_ = nullptr;
  ZvDecOpenFn decOpen_ = nullptr;
  ZvDecReadFn decRead_ = nullptr;
  ZvDecSeekFn decSeek_ = nullptr;
  ZvDecCloseFn decClose_ = nullptr;
  ZvDecHandle handle_ = 0;
  bool open_ = false, seekable_ = false, streamCreated_ = false, playing_ = false;
  bool endOfFile_ = false, closeAfterFade_ = false, feedPending_ = false;
  int32_t streamNumber_ = -1;
  ZvStreamRec* stream_ = nullptr;
  UniqueThreadTimer timer_;
  int32_t basePositionMs_ = 0;
  int32_t state_ = stStopped;
};

}  // namespace

DWORD WINAPI decodeInstanceThread(void* startArgument) {
  return runKindInstance<DecodeInstance>(startArgument, "decode");
}

}  // namespace zv
