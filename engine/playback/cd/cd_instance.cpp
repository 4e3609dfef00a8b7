// One `cdaudio` instance: plays a track of the disc in a drive through the
// drive itself (the sound never passes the output library), and follows the
// drive's position on a 100 ms timer.
#include <windows.h>

#include <cctype>

#include "foundation/diagnostics.h"
#include "discs/cd_drives.h"
#include "discs/mci_cd.h"
#include "playback/cd/cd_kind.h"
#include "playback/host/builtin_kinds.h"
#include "playback/host/message_block.h"
#include "win32/owners.h"
#include "win32/window_base.h"
#include "zv_cdaudio.h"
#include "zv_memory.h"
#include "zv_playback.h"
#include "zv_plugins.h"

namespace zv {
namespace {

constexpr char kControlClass[] = "CDControlWnd";
// The end is announced this close to the track's end: drives stop a little
// short of the requested end and report the last track a frame short.
constexpr int32_t kEndSlackMs = 15;

// The window that MCI play commands name for their notifications; what
// arrives there goes to the default procedure.
class CdControlWindow : public WindowBase {
 public:
  bool create() { return WindowBase::create({kControlClass}, WS_EX_TOOLWINDOW, "", WS_POPUP, -100, -100, 0, 0); }
};

class CdInstance : public KindInstance {
 public:
  CdInstance() { window_.create(); }
  ~CdInstance() override { closeDevice(); }

  // Messages only: the drive's position is followed on a thread timer.
  void onMessage(const MSG& msg) override {
    switch (msg.message) {
      case msgInOpen: onOpen(msg); break;
      case msgInClose: onClose(); break;
      case msgInPlay: if (cd_.isOpen()) onPlay(); break;
      case msgInStop: if (cd_.isOpen()) onStop(); break;
      case msgInSeek: if (cd_.isOpen()) onSeek(block<ZvSeekPrm>(msg).positionMs); break;
      case WM_TIMER: if (cd_.isOpen() && state_ == stPlaying) onTimer(); break;
      default: break;
    }
  }

 private:

  template <class T>
  T block(const MSG& msg) {
    T value = {};
    readMessageBlock(msg, value);  // a longer block is cut, never copied past `value`
    return value;
  }

  void setState(int32_t state) {
    state_ = state;
    if (status_) status_->state = state;
    if (owner_) pluginMsg(owner_, msgState, &state, sizeof(state));  // owner 0 would be a broadcast
  }

  void onOpen(const MSG& msg) {
    ZvInOpenPrm prm = block<ZvInOpenPrm>(msg);
    prm.fileName[sizeof(prm.fileName) - 1] = 0;
    owner_ = static_cast<ZvTarget>(msg.wParam);
    status_ = prm.status;
    setState(stOpening);
    closeDevice();
    if (!openTrack(prm.fileName)) {
      closeDevice();
      setState(stClosed);
      status_ = nullptr;
      pluginMsgX(owner_, msgOpenFailed);
      return;
    }
    setState(stStopped);
    if (status_) {
      status_->lengthMs = int32_t(trackEnd_ - trackStart_);
      status_->positionMs = 0;
      status_->sampleRate = 44100;
      status_->bits = 16;
      status_->channels = 2;
      status_->bitrate = 1411200;
    }
    ZvOpenedPrm opened = {};
    opened.caps = capAnalog;
    pluginMsg(owner_, msgOpened, &opened, sizeof(opened));
  }

  bool openTrack(const char* path) {
    uint32_t kind = 0, discId = 0;
    char letter = 0;
    int32_t track = -1;
    if (!decodeCDA(path, &kind, &letter, &discId, &track) || kind != cdaDriveTrack || track < 0) return false;
    if (!cd_.open(letter, "mycd1")) return false;
    drive_ = char(std::toupper(static_cast<unsigned char>(letter)));
    setCdDriveUser(drive_, GetCurrentThreadId());
    timer_.reset(SetTimer(nullptr, 0, 100, nullptr));
    DWORD start = 0, length = 0;
    if (!cd_.setTimeFormat(MCI_FORMAT_MILLISECONDS) || !cd_.status(MCI_STATUS_POSITION, start, DWORD(track + 1)) ||
        !cd_.status(MCI_STATUS_LENGTH, length, DWORD(track + 1)))
      return false;
    trackStart_ = start;
    trackEnd_ = start + length;
    current_ = start;
    mustStart_ = true;
    return true;
  }

  void onPlay() {
    DWORD mode = 0;
    if (!cd_.mode(mode)) return;  // the drive did not answer: try again at the next request
    if (mustStart_ || mode != MCI_MODE_PLAY) {
      if (!cd_.play(current_, trackEnd_, window_.hwnd())) return;
      mustStart_ = false;
    }
    setState(stPlaying);
  }

  void onStop() {
    cd_.pause();
    DWORD position = 0;
    if (cd_.status(MCI_STATUS_POSITION, position)) current_ = position;
    setState(stStopped);
    if (status_) status_->positionMs = int32_t(current_ - trackStart_);
  }

  void onSeek(int32_t ms) {
    const int32_t remembered = state_;
    const int32_t length = int32_t(trackEnd_ - trackStart_);
    ms = ms < 0 ? 0 : ms > length ? length : ms;
    setState(stSeeking);
    if (status_) status_->positionMs = ms;
    current_ = trackStart_ + DWORD(ms);
    if (remembered == stPlaying) cd_.play(current_, trackEnd_, window_.hwnd());
    else mustStart_ = true;  // the next play starts here whatever the drive thinks
    setState(remembered);
  }

  // The player waits for msgClosed before it removes the instance, so it
  // comes even when nothing was open. It comes last: the owner that takes it
  // already reads "closed" in its status record (and may free the record).
  void onClose() {
    closeDevice();
    setState(stClosed);
    status_ = nullptr;
    if (owner_) pluginMsgX(owner_, msgClosed);
  }

  void onTimer() {
    DWORD mode = 0, position = 0;
    if (!cd_.mode(mode) || !cd_.status(MCI_STATUS_POSITION, position)) return;
    if (mode == MCI_MODE_PLAY && status_) status_->positionMs = int32_t(position - trackStart_);
    // The position decides, not the mode: some drives report "stopped"
    // while seeking or paused, and not every drive announces the end.
    if (int64_t(position) < int64_t(trackEnd_) - kEndSlackMs) return;
    if (status_) status_->positionMs = int32_t(trackEnd_ - trackStart_);
    setState(stStopped);
    current_ = trackEnd_;
    pluginMsgX(owner_, msgEndReached);
  }

  void closeDevice() {
    if (!cd_.isOpen()) return;
    cd_.pause();
    DWORD position = 0;
    if (cd_.status(MCI_STATUS_POSITION, position)) current_ = position;
    timer_.reset();
    cd_.close();
    setCdDriveUser(drive_, 0);
    drive_ = 0;
  }

  CdControlWindow window_;
  MciCd cd_;
  ZvTarget owner_ = 0;
  ZvStatusRec* status_ = nullptr;
  char drive_ = 0;
  DWORD trackStart_ = 0, trackEnd_ = 0, current_ = 0;
  bool mustStart_ = false;
  int32_t state_ = stClosed;
  UniqueThreadTimer timer_;
};

}  // namespace

DWORD WINAPI cdaudioThread(void* startArgument) {
  return runKindInstance<CdInstance>(startArgument, "cdaudio");
}

}  // namespace zv
