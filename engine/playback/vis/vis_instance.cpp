// One `vis` instance: its settings, its skin and its clock. Drawing touches
// the player's window only through GetDC and one BitBlt per frame.
#include "playback/vis/vis_instance.h"

#include <windows.h>

#include <string>

#include "foundation/text_util.h"
#include "playback/host/builtin_kinds.h"
#include "playback/vis/mm_timer.h"
#include "playback/vis/offscreen_bitmap.h"
#include "playback/vis/vis_buffer.h"
#include "playback/vis/vis_frame.h"
#include "win32/owners.h"
#include "zv_plugins.h"
#include "zv_vis.h"

namespace zv {
namespace {

constexpr UINT kFrameMs = 33;

ZvVisSettings defaultSettings() {
  ZvVisSettings s = {};
  s.mode = ZV_VIS_SPECTRUM;
  const uint32_t gradient[3] = {0x008000, 0x00FFFF, 0x0000FF};
  for (int i = 0; i < 3; ++i) s.gradient1[i] = s.gradient2[i] = gradient[i];
  s.color = 0xFFFFFF;
  s.trailDecay = 16;
  s.barFall = 24;
  s.peak = 5;
  return s;
}

class VisInstance : public KindInstance {
 public:
  VisInstance() : tick_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

  HANDLE wakeHandle() override { return tick_.get(); }
  void onWake() override { onTick(); }

  void onMessage(const MSG& msg) override {
    switch (msg.message) {
      case msgVisWindow: onWindow(msg); break;
      case msgVisSettings: onSettings(msg); break;
      case msgConfigChanged: applyKindPriority("vis"); break;
      default: break;
    }
  }

 private:
  void onWindow(const MSG& msg) {
    ZvWindowPrm prm = {};
    if (!readMessageBlock(msg, prm)) return;
    window_ = static_cast<HWND>(prm.window);
    if (!window_) {
      timer_.stop();
      return;
    }
    RECT client = {};
    GetClientRect(window_, &client);
    width_ = client.right - client.left;
    height_ = client.bottom - client.top;
    loadSkin();
    if (!timer_.running()) timer_.start(tick_.get(), kFrameMs);
  }

  void onSettings(const MSG& msg) {
    ZvVisSettings next = {};
    if (!readMessageBlock(msg, next)) return;
    next.skinDir[sizeof(next.skinDir) - 1] = '\0';
    const bool sameSkin = next.style == settings_.style && sameTextIgnoringCase(next.skinDir, settings_.skinDir);
    settings_ = next;
    if (sameSkin)
      frame_.retune(settings_);
    else
      loadSkin();
  }

  // Any missing or unfit image leaves the instance drawing nothing until the
  // next window or settings message.
  void loadSkin() {
    frame_.clear();
    output_.reset();
    const std::string dir = settings_.skinDir;
    if (dir.empty() || width_ <= 0 || height_ <= 0) return;
    VisSkin skin;
    if (settings_.style == ZV_VIS_STYLE_BARS) {
      skin.mask = loadBitmapFile(dir + "\\mask.bmp");
      if (skin.mask.empty()) return;
      skin.active = loadBitmapFile(dir + "\\active.bmp");
      if (skin.active.empty()) return;
    }
    skin.inactive = loadBitmapFile(dir + "\\inactive.bmp");
    if (skin.inactive.empty()) return;
    if (frame_.setup(width_, height_, settings_, std::move(skin)) && !output_.create(width_, height_)) frame_.clear();
  }

  bool windowShowing() const {
    if (!IsWindow(window_) || !IsWindowVisible(window_) || IsIconic(window_)) return false;
    HWND parent = GetParent(window_);
    if (parent && (!IsWindowVisible(parent) || IsIconic(parent))) return false;
    HWND root = GetAncestor(window_, GA_ROOT);
    return !(root && IsIconic(root));
  }

  void onTick() {
    if (!window_ || !frame_.ready()) return;
    ++ticks_;
    if (settings_.halfRate && (ticks_ & 1)) return;
    if (!windowShowing()) return;
    try {
      frame_.draw(*getVisData(), visFrameCount(), output_.pixels());
      output_.copyTo(window_);
    } catch (...) {
      // A frame that fails is simply not shown; the next tick tries again.
    }
  }

  UniqueKernelHandle tick_;
  PeriodicEventTimer timer_;
  HWND window_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  ZvVisSettings settings_ = defaultSettings();
  VisFrame frame_;
  OffscreenBitmap output_;
  uint32_t ticks_ = 0;
};

}  // namespace

DWORD WINAPI visInstanceThread(void* startArgument) {
  return runKindInstance<VisInstance>(startArgument, "vis");
}

}  // namespace zv
