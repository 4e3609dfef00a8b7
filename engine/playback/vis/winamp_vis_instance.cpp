// One `winampvis` instance. The library's windows live on this thread, so
// the loop dispatches window messages as well as taking the bus's.
#include "playback/vis/winamp_vis_instance.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/diagnostics.h"
#include "foundation/text_util.h"
#include "playback/host/builtin_kinds.h"
#include "playback/vis/mm_timer.h"
#include "playback/vis/vis_buffer.h"
#include "playback/vis/winamp_vis_library.h"
#include "playback/vis/winamp_vis_window.h"
#include "win32/owners.h"
#include "zv_plugins.h"
#include "zv_vis.h"

namespace zv {
namespace {

constexpr UINT kDefaultDelayMs = 25;

// Byte i of 576 taken from a plane of n valid entries: the first 576 when
// there are that many, else spread over the plane.
template <class T>
void samplePlane(const T* plane, int32_t n, bool takeFirst, uint8_t* out) {
  for (int32_t i = 0; i < ZV_WINAMP_VIS_SAMPLES; ++i) {
    int32_t at = 0;
    if (takeFirst && n >= ZV_WINAMP_VIS_SAMPLES)
      at = i;
    else if (n > 0)
      at = (n - 1) * i / (ZV_WINAMP_VIS_SAMPLES - 1);
    out[i] = static_cast<uint8_t>(plane[at]);
  }
}

class WinampVisInstance : public KindInstance {
 public:
  WinampVisInstance() : tick_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
  ~WinampVisInstance() override { unload(true); }

  HANDLE wakeHandle() override { return tick_.get(); }
  void onWake() override { onTick(); }

  // This kind's message failures have a heading of their own.
  void onMessage(const MSG& msg) override { guardedVoid("WinampVis.ProcessMsg", [&] { handle(msg); }); }

  // WM_QUIT closes the visualisation for the owner; msgPluginQuit just ends.
  void onQuit(UINT message) override {
    if (message != WM_QUIT) return;
    unload(true);
    if (owner_) pluginMsgX(owner_, msgVisClosed);
  }

 private:
  void handle(const MSG& msg) {
    switch (msg.message) {
      case msgVisWindow: {
        ZvWindowPrm prm = {};
        owner_ = static_cast<ZvTarget>(msg.wParam);
        if (readMessageBlock(msg, prm)) playerWindow_ = static_cast<HWND>(prm.window);
        break;
      }
      case msgVisSettings: onOpen(msg); break;
      case msgVisSongInfo: {
        ZvVisSongInfo info = {};
        if (readMessageBlock(msg, info)) host_.setSongInfo(info);
        break;
      }
      case ZV_WINAMPVIS_FOLLOW: followWindow(reinterpret_cast<HWND>(msg.wParam)); break;
      case msgConfigChanged: applyKindPriority("winampvis"); break;
      default: break;
    }
  }

  void followWindow(HWND target) {
    RECT r = {};
    if (host_.hwnd() && target && GetWindowRect(target, &r))
      MoveWindow(host_.hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  }

  void onOpen(const MSG& msg) {
    ZvWinampVisOpen open = {};
    if (!readMessageBlock(msg, open)) return;
    open.libraryPath[sizeof(open.libraryPath) - 1] = '\0';
    unload(true);
    follow_ = static_cast<HWND>(open.followWindow);
    if (!open.libraryPath[0]) return;
    OutsideFault fault;
    // A library without the entry, or whose header or getter answers nil,
    // is simply not loaded.
    if (!library_.load(open.libraryPath, open.moduleIndex, &fault)) return;
    ZvWinampVisModule* m = library_.module();
    m->hDllInstance = library_.handle();
    m->sRate = 44100;
    m->nCh = 2;
    RECT r = {0, 0, 275, 116};
    if (follow_) GetWindowRect(follow_, &r);
    if (!host_.create(r)) {
      library_.release();
      return;
    }
    m->hwndParent = host_.hwnd();
    int32_t result = 0;
    bool faulted = false;
    if (!library_.init(result, fault, faulted) || result != 0) {
      // A module that is not ready is never rendered nor asked to quit.
      if (faulted) reportFault(fault);
      unload(false);
      if (!faulted && owner_) pluginMsgX(owner_, msgVisClosed);
      return;
    }
    const UINT delay = m->delayMs > 0 ? UINT(m->delayMs) : kDefaultDelayMs;
    timer_.start(tick_.get(), delay);
  }

  // withQuit: the module is in a sound state and may be told to end.
  void unload(bool withQuit) {
    timer_.stop();
    if (library_.loaded() && withQuit) {
      OutsideFault fault;
      bool faulted = false;
      library_.quit(fault, faulted);
      if (faulted)
        writeExceptionDiagnostic("WinampVis.Quit", faultClassName(fault).c_str(), faultMessage(fault).c_str());
    }
    library_.release();
    host_.destroy();
  }

  void reportFault(const OutsideFault& fault) {
    const std::string className = faultClassName(fault);
    const std::string message = faultMessage(fault);
    writeExceptionDiagnostic("WinampVis.Render", className.c_str(), message.c_str());
    if (owner_) pluginMsgX(owner_, msgVisClosed);
    ZvPluginErrorPrm error = {};
    copyBounded(error.caption, sizeof(error.caption), "Winamp visualizer");
    std::snprintf(error.text, sizeof(error.text), "Plug-in caused an exception and will be closed.\n%s: %s",
                  className.c_str(), message.c_str());
    if (follow_) pluginMsg(reinterpret_cast<ZvTarget>(follow_), msgPluginError, &error, sizeof(error));
  }

  void onTick() {
    if (!library_.loaded()) return;
    ZvWinampVisModule* m = library_.module();
    const ZvVisBuffer& vis = *getVisData();
    const int32_t n = visFrameCount();
    m->spectrumNch = 2;
    m->waveformNch = 2;
    samplePlane(vis.scopeLeft, n, true, m->waveformData[0]);
    samplePlane(vis.scopeRight, n, true, m->waveformData[1]);
    samplePlane(vis.spectrumLeft, n, false, m->spectrumData[0]);
    samplePlane(vis.spectrumRight, n, false, m->spectrumData[1]);
    OutsideFault fault;
    bool faulted = false;
    library_.render(fault, faulted);
    if (faulted) {
      unload(false);
      reportFault(fault);
    }
  }

  UniqueKernelHandle tick_;
  PeriodicEventTimer timer_;
  WinampVisLibrary library_;
  WinampVisWindow host_;
  ZvTarget owner_ = 0;
  HWND playerWindow_ = nullptr;  // the player's window given with msgVisWindow
  HWND follow_ = nullptr;  // the window whose place the visualisation takes
};

}  // namespace

DWORD WINAPI winampVisInstanceThread(void* startArgument) {
  return runKindInstance<WinampVisInstance>(startArgument, "winampvis");
}

}  // namespace zv
