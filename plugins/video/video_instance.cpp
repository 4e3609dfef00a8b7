#include "video_instance.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>

#include "decode_worker.h"
#include "picture_painter.h"
#include "playback/host/message_block.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_playback.h"
#include "zvdsp.h"

namespace zvvideo {
namespace {

// How often the status record's position and video words are renewed.
constexpr DWORD kStatusMs = 100;
// A file that does not open within this time counts as unplayable.
constexpr int kOpenBudgetMs = 8000;

PcmFormat outputFormat() {
  ZvOutParams p{};
  outGetParams(&p);
  PcmFormat f{p.sampleRate, p.bits, p.channels};
  return f.valid() ? f : PcmFormat{};
}

int64_t nowMs() { return static_cast<int64_t>(GetTickCount64()); }

// The thread runs at the decode kind's priority ("decoder_priority").
void applyPriority() { SetThreadPriority(GetCurrentThread(), std::clamp(configInt("decoder_priority", 2), -2, 2)); }

class VideoInstance {
 public:
  ~VideoInstance() { closeStream(); }

  void run() {
    for (;;) {
      HANDLE handles[2];
      DWORD count = 0;
      if (stream_) handles[count++] = stream_->needData;
      if (worker_) handles[count++] = worker_->progress();
      const DWORD woke = MsgWaitForMultipleObjects(count, handles, FALSE, waitMs(), QS_ALLINPUT);
      if (stream_ && woke == WAIT_OBJECT_0) audioRequested_ = true;
      guarded([&] { tick(); });
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT || msg.message == msgPluginQuit) return;
        if (msg.hwnd) {
          DispatchMessageA(&msg);
          continue;
        }
        guarded([&] { handle(msg); });
        if (msg.message >= ZV_BUS_FIRST && msg.message <= ZV_BUS_LAST) finishMsg(&msg);
      }
    }
  }

 private:
  template <class Step>
  void guarded(Step&& step) {
    try {
      step();
    } catch (const std::exception& e) {
      report(typeid(e).name(), e.what());
    } catch (...) {
      report("unknown", "");
    }
  }
  static void report(const char* kind, const char* what) {
    char line[512];
    std::snprintf(line, sizeof(line), "video input: %s [%s]\n", kind, what);
    OutputDebugStringA(line);
  }

  // ---- time -----------------------------------------------------------

  int64_t clockMs() const {
    if (!playing_) return baseMs_;
    if (clockFromSound_ && stream_)
      return baseMs_ + int64_t(stream_->framesPlayed) * 1000 / std::max(1, format_.rate);
    return wallBaseMs_ + (nowMs() - wallStart_);
  }

  void startWallClock(int64_t fromMs) {
    clockFromSound_ = false;
    wallBaseMs_ = fromMs;
    wallStart_ = nowMs();
  }

  DWORD waitMs() {
    if (!open_ && !closeAfterFade_) return INFINITE;
    DWORD wait = kStatusMs;
    if (playing_ && worker_ && worker_->hasVideo()) {
      int64_t next = 0;
      if (worker_->nextPictureMs(next)) wait = DWORD(std::clamp<int64_t>(next - clockMs(), 1, kStatusMs));
    }
    return wait;
  }

  // ---- the state machine ------------------------------------------------

  void setState(int32_t state) {
    state_ = state;
    if (status_) status_->audio.state = state;
    pluginMsg(owner_, msgState, &state, sizeof(state));
  }

  // Tells the owner the file is closed (`code`: msgClosed, or msgOpenFailed).
  // The status record is the owner's, and it may free it as soon as it reads
  // this (a record on the stack of a caller that waited for the close): the
  // record is let go first, so no later message (another close, a play, a
  // seek) writes into memory that is no longer one. A new open brings a new one.
  void announceClosed(UINT code) {
    setState(stClosed);
    status_ = nullptr;
    pluginMsgX(owner_, code);
  }

  void handle(const MSG& msg) {
    switch (msg.message) {
      case msgInOpen: onOpen(msg); break;
      case msgInPlay: onPlay(msg); break;
      case msgInStop: onStop(msg); break;
      case msgInSeek: onSeek(msg); break;
      case msgInClose: onClose(msg); break;
      case msgInSetVideo: onSetVideo(msg); break;
      case msgInSetVideoRect: onSetVideoRect(msg); break;
      case msgInVideoAdjust: onVideoAdjust(msg); break;
      case msgStreamGone: stream_ = nullptr; streamNumber_ = -1; break;
      case msgConfigChanged: applyPriority(); break;
      default: break;
    }
  }

  template <class T>
  static T block(const MSG& msg) {
    T value{};
    zv::readMessageBlock(msg, value);
    return value;
  }

  void onOpen(const MSG& msg) {
    ZvInOpenPrm prm = block<ZvInOpenPrm>(msg);
    prm.fileName[sizeof(prm.fileName) - 1] = '\0';
    owner_ = static_cast<ZvTarget>(msg.wParam);
    status_ = reinterpret_cast<ZvVideoStatusRec*>(prm.status);
    setState(stOpening);
    worker_.reset();
    open_ = false;
    std::unique_ptr<MediaDemuxer> demuxer = MediaDemuxer::open(prm.fileName, kOpenBudgetMs);
    std::unique_ptr<AudioDecoder> audio;
    std::unique_ptr<VideoDecoder> video;
    if (demuxer) {
      info_ = demuxer->info();
      format_ = outputFormat();
      if (info_.audioStream >= 0) audio = AudioDecoder::open(demuxer->stream(info_.audioStream), info_.startMs, format_);
      if (info_.videoStream >= 0)
        video = VideoDecoder::open(demuxer->stream(info_.videoStream), info_.startMs, info_.frameRate);
    }
    if (!audio && !video) {
      announceClosed(msgOpenFailed);
      return;
    }
    if (video) painter_.emplace(info_.width, info_.height);
    worker_ = std::make_unique<DecodeWorker>(std::move(demuxer), std::move(audio), std::move(video), 0);
    open_ = true;
    baseMs_ = 0;
    stillWanted_ = true;  // the first picture shows before playing starts
    if (status_) {
      status_->audio.lengthMs = int32_t(std::min<int64_t>(info_.lengthMs, INT32_MAX));
      status_->audio.positionMs = 0;
      status_->audio.sampleRate = info_.sampleRate;
      status_->audio.bits = info_.audioStream >= 0 ? format_.bits : 0;
      status_->audio.channels = info_.channels;
      status_->audio.bitrate = int32_t(std::min<int64_t>(info_.bitRate, INT32_MAX));
      status_->frameRate = int32_t(std::lround(info_.frameRate * 100));
      status_->videoKbps = int32_t(info_.videoBitRate / 1000);
      status_->frameRate2 = 0;
      status_->droppedPercent = 0;
      status_->syncOffsetMs = 0;
    }
    setState(stStopped);
    ZvOpenedPrm opened{};
    opened.caps = (worker_->hasVideo() ? capVideo : 0) | (worker_->hasAudio() ? capStream : 0) |
                  (info_.seekable ? 0 : capNoSeek);
    opened.width = worker_->hasVideo() ? info_.width : 0;
    opened.height = worker_->hasVideo() ? info_.height : 0;
    pluginMsg(owner_, msgOpened, &opened, sizeof(opened));
  }

  void onPlay(const MSG& msg) {
    if (!open_ || playing_) return;
    ZvFadePrm fade = block<ZvFadePrm>(msg);
    if (worker_->hasAudio() && !stream_) {
      streamNumber_ = outNewStream(&stream_);
      if (streamNumber_ < 0 || !stream_) {
        stream_ = nullptr;
        streamNumber_ = -1;
        open_ = false;
        announceClosed(msgClosed);
        return;
      }
    }
    setState(stSeeking);
    if (consumed_) worker_->seek(baseMs_);  // what was taken beyond the stop point is gone
    consumed_ = false;
    soundEnded_ = !worker_->hasAudio();
    picturesEnded_ = !worker_->hasVideo();
    closeAfterFade_ = false;
    resetStatistics();
    playing_ = true;
    if (stream_) {
      outClear(streamNumber_);
      stream_->framesPlayed = 0;
      outFadeIn(streamNumber_, fade.fadeMs, fade.fadeMode);
      clockFromSound_ = true;
    } else {
      startWallClock(baseMs_);
    }
    setState(stPlaying);
  }

  void stopNow() {
    baseMs_ = clockMs();
    playing_ = false;
    // The picture of the stop position, when the one on screen is not it.
    stillWanted_ = !(shownMs_ <= baseMs_ && baseMs_ < lastPictureEndMs_);
    if (status_) status_->audio.positionMs = int32_t(baseMs_);
    if (stream_) outClear(streamNumber_);
  }

  void onStop(const MSG& msg) {
    if (!open_ || !playing_) return;
    ZvFadePrm fade = block<ZvFadePrm>(msg);
    if (fade.fadeMs != 0 && stream_) {
      setState(stFading);
      closeAfterFade_ = false;
      fadingToStop_ = true;
      outFadeOut(streamNumber_, fade.fadeMs, fade.fadeMode);
      return;
    }
    stopNow();
    setState(stStopped);
  }

  void onSeek(const MSG& msg) {
    if (!open_ || !info_.seekable) return;
    ZvSeekPrm seek = block<ZvSeekPrm>(msg);
    const int32_t remembered = state_;
    int64_t target = std::clamp<int64_t>(seek.positionMs, 0, std::max<int64_t>(info_.lengthMs, 0));
    setState(stSeeking);
    baseMs_ = target;
    if (status_) status_->audio.positionMs = int32_t(target);
    worker_->seek(target);
    consumed_ = false;
    soundEnded_ = !worker_->hasAudio();
    picturesEnded_ = !worker_->hasVideo();
    resetStatistics();
    if (playing_) {
      if (stream_) {
        outClear(streamNumber_);
        stream_->framesPlayed = 0;
        clockFromSound_ = true;
      } else {
        startWallClock(target);
      }
    } else {
      stillWanted_ = true;
    }
    setState(remembered);
  }

  void onClose(const MSG& msg) {
    ZvFadePrm fade = block<ZvFadePrm>(msg);
    if (fade.fadeMs > 0 && playing_ && stream_) {
      open_ = false;
      closeAfterFade_ = true;
      setState(stFading);
      outFadeOut(streamNumber_, fade.fadeMs, fade.fadeMode);
      return;
    }
    finish(false);
  }

  // Ends the file: the stream falls silent and the owner learns it is closed.
  void finish(bool endReached) {
    playing_ = false;
    open_ = false;
    if (endReached) pluginMsgX(owner_, msgEndReached);
    announceClosed(msgClosed);
    worker_.reset();
    if (stream_) outClear(streamNumber_);
  }

  void onSetVideo(const MSG& msg) {
    ZvWindowPrm prm = block<ZvWindowPrm>(msg);
    if (painter_) painter_->setWindow(static_cast<HWND>(prm.window));
  }

  void onSetVideoRect(const MSG& msg) {
    ZvVideoRectPrm prm{};
    if (painter_ && zv::readMessageBlock(msg, prm)) painter_->setRects(prm);
  }

  void onVideoAdjust(const MSG& msg) {
    ZvVideoAdjustPrm prm{};
    if (painter_ && zv::readMessageBlock(msg, prm))
      painter_->setAdjust(PictureAdjust{prm.brightness, prm.contrast, prm.color});
  }

  // ---- what happens between messages ------------------------------------

  void tick() {
    feedSound();
    if (stream_ && stream_->playedOut && (playing_ || closeAfterFade_)) soundPlayedOut();
    // One reading of the clock for the picture and the position: the sound
    // clock moves on between two readings, and a position published ahead
    // of the picture on screen would not be the one showing.
    const int64_t now = clockMs();
    showPictures(now);
    if (playing_ && soundEnded_ && picturesEnded_ && (!stream_ || stream_->playedOut) && now >= lastPictureEndMs_) {
      finish(true);
      return;
    }
    updateStatus(now);
  }

  void feedSound() {
    if (!stream_ || !audioRequested_) return;
    if (!playing_ || !worker_ || soundEnded_) {
      answerSound(0);
      return;
    }
    bool ended = false;
    const size_t n = worker_->takeAudio(static_cast<uint8_t*>(stream_->buffer),
                                        size_t(std::max(0, stream_->byteCount)), ended);
    if (n) {
      consumed_ = true;
      answerSound(int32_t(n));
    } else if (ended) {
      soundEnded_ = true;
      answerSound(0);
    }
    // else: nothing decoded yet; the worker's progress event brings us back.
  }

  void answerSound(int32_t bytes) {
    stream_->byteCount = bytes;
    stream_->rate = format_.rate;
    stream_->bits = format_.bits;
    stream_->channels = format_.channels;
    audioRequested_ = false;
    SetEvent(static_cast<HANDLE>(stream_->dataReady));
  }

  void soundPlayedOut() {
    if (closeAfterFade_) {
      closeAfterFade_ = false;
      finish(false);
      return;
    }
    if (fadingToStop_) {
      fadingToStop_ = false;
      stopNow();
      setState(stStopped);
      return;
    }
    if (soundEnded_ && clockFromSound_) {
      // The pictures may go on after the sound: the wall clock takes over.
      startWallClock(clockMs());
    }
  }

  void showPictures(int64_t now) {
    if (!worker_ || !worker_->hasVideo() || !painter_) return;
    DecodedPicture picture;
    if (!playing_) {
      if (stillWanted_ && worker_->takeStillPicture(baseMs_, picture)) {
        stillWanted_ = false;
        consumed_ = true;
        painter_->show(picture.frame.get());
        shownMs_ = picture.ms;
        lastPictureEndMs_ = picture.ms + picture.durationMs;
      }
      return;
    }
    int dropped = 0;
    bool ended = false;
    if (worker_->takeDuePicture(now, picture, dropped, ended)) {
      consumed_ = true;
      painter_->show(picture.frame.get());
      shownMs_ = picture.ms;
      lastPictureEndMs_ = picture.ms + picture.durationMs;
      syncOffsetMs_ = int32_t(std::clamp<int64_t>(now - picture.ms, -100000, 100000));
      ++shown_;
      ++shownInWindow_;
    }
    dropped_ += dropped;
    if (ended) picturesEnded_ = true;
  }

  void resetStatistics() {
    shown_ = dropped_ = shownInWindow_ = 0;
    windowStart_ = nowMs();
    syncOffsetMs_ = 0;
    lastPictureEndMs_ = 0;
  }

  void updateStatus(int64_t clock) {
    if (!status_ || !open_) return;
    if (playing_) status_->audio.positionMs = int32_t(std::clamp<int64_t>(clock, 0, INT32_MAX));
    if (!worker_ || !worker_->hasVideo()) return;
    const int64_t now = nowMs();
    if (now - windowStart_ >= 1000) {
      measuredRate_ = int32_t(shownInWindow_ * 100000 / (now - windowStart_));
      shownInWindow_ = 0;
      windowStart_ = now;
    }
    status_->frameRate2 = playing_ ? measuredRate_ : 0;
    status_->droppedPercent = shown_ + dropped_ > 0 ? int32_t(int64_t(dropped_) * 100 / (shown_ + dropped_)) : 0;
    status_->syncOffsetMs = syncOffsetMs_;
    if (info_.videoBitRate <= 0 && baseMs_ + 1 > 0) {
      const int64_t position = std::max<int64_t>(clock, 1);
      status_->videoKbps = int32_t(std::min<int64_t>(worker_->videoBytesRead() * 8 / position, INT32_MAX));
    }
  }

  void closeStream() {
    worker_.reset();
    if (stream_ && streamNumber_ >= 0) outCloseStream(streamNumber_);
    stream_ = nullptr;
  }

  ZvTarget owner_ = 0;
  ZvVideoStatusRec* status_ = nullptr;
  MediaInfo info_;
  PcmFormat format_;
  std::unique_ptr<DecodeWorker> worker_;
  std::optional<PicturePainter> painter_;
  ZvStreamRec* stream_ = nullptr;
  int32_t streamNumber_ = -1;
  int32_t state_ = stClosed;
  bool open_ = false, playing_ = false, audioRequested_ = false;
  bool consumed_ = false, stillWanted_ = false;
  bool soundEnded_ = false, picturesEnded_ = false;
  bool closeAfterFade_ = false, fadingToStop_ = false;
  bool clockFromSound_ = false;
  int64_t baseMs_ = 0, wallBaseMs_ = 0, wallStart_ = 0;
  int64_t shownMs_ = 0, lastPictureEndMs_ = 0;
  int shown_ = 0, dropped_ = 0, shownInWindow_ = 0;
  int64_t windowStart_ = 0;
  int32_t measuredRate_ = 0, syncOffsetMs_ = 0;
};

}  // namespace

DWORD WINAPI videoInstanceThread(void* start) {
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue exists before the creator goes on
  applyPriority();
  std::unique_ptr<VideoInstance> instance;
  try {
    instance = std::make_unique<VideoInstance>();
  } catch (...) {
  }
  SetEvent(static_cast<VideoInstanceStart*>(start)->ready);
  if (instance) instance->run();
  return 0;
}

}  // namespace zvvideo
