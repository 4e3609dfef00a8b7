#include "progress_wnd.h"

#include <algorithm>

#include "control_art.h"

namespace zv::info {

namespace {

struct ProgressHome {
  HWND owner = nullptr;
  std::string rootDir;
  std::unique_ptr<TProgressWnd> window;
  HCURSOR previousCursor = nullptr;
  int opened = 0;
};

ProgressHome& home() {
  static ProgressHome h;
  return h;
}

const int kWidth = 300, kHeight = 64;

}  // namespace

TProgressWnd::TProgressWnd() : TFrameWnd("", ui::FrameKind::dialog) {}

bool TProgressWnd::open(const std::string& rootDir, const std::string& caption, const std::string& text, HWND owner) {
  if (!createFrame(rootDir, caption.c_str(), {kWidth, kHeight}, owner, false)) return false;
  const RECT c = clientRect();
  text_ = &addElement<ui::TZText>(text);
  text_->setRect({c.left + 10, c.top + 8, c.right - 10, c.top + 26});
  // Over the owner's middle, or the screen's.
  RECT o{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner && IsWindowVisible(owner)) GetWindowRect(owner, &o);
  RECT w;
  GetWindowRect(hwnd(), &w);
  SetWindowPos(hwnd(), HWND_TOP, (o.left + o.right - (w.right - w.left)) / 2, (o.top + o.bottom - (w.bottom - w.top)) / 2,
               0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(hwnd());
  return true;
}

void TProgressWnd::setValue(int percent) {
  value_ = std::clamp(percent, 0, 100);
  const RECT c = clientRect();
  invalidateRect({c.left, c.top + 30, c.right, c.bottom});
  UpdateWindow(hwnd());
}

void TProgressWnd::paintOver(HDC dc, int, int) {
  const RECT c = clientRect();
  const ui::ControlArt& art = ui::controlArt();
  RECT bar{c.left + 10, c.top + 34, c.right - 10, c.top + 50};
  UniqueBrush back(CreateSolidBrush(art.face)), fill(CreateSolidBrush(art.accent));
  FillRect(dc, &bar, back.get());
  RECT done = bar;
  done.right = bar.left + (bar.right - bar.left) * value_ / 100;
  FillRect(dc, &done, fill.get());
}

void setProgressHome(HWND owner, const std::string& rootDir) {
  home().owner = owner;
  home().rootDir = rootDir;
}

void forgetProgressOwner(HWND owner) {
  if (home().owner == owner) home().owner = nullptr;
}

void ZVAPI tagProgress(int32_t stage, const char* text, int32_t value) {
  ProgressHome& h = home();
  switch (stage) {
    case 0:
      h.window = std::make_unique<TProgressWnd>();
      if (!h.window->open(h.rootDir, "Zorvak", text ? text : "", h.owner)) h.window.reset();
      else ++h.opened;
      h.previousCursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
      break;
    case 1:
      if (h.window) h.window->setValue(value);
      break;
    default:
      h.window.reset();
      SetCursor(h.previousCursor ? h.previousCursor : LoadCursor(nullptr, IDC_ARROW));
      h.previousCursor = nullptr;
      break;
  }
}

TProgressWnd* openProgressWindow() { return home().window.get(); }
int progressWindowsOpened() { return home().opened; }

}  // namespace zv::info
