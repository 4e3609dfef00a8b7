#include "countdown_window.h"

#include "own_controls.h"
#include "skin_paint.h"

namespace zv::timer {
namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr int kClientWidth = 340, kClientHeight = 112;

}  // namespace

TCountdownWnd::TCountdownWnd(PowerPort& power, std::string warning, std::string word, std::string cancelCaption,
                             UINT tickMs)
    : ui::TFrameWnd("countdown", ui::FrameKind::dialog),
      power_(power),
      warning_(std::move(warning)),
      word_(std::move(word)),
      cancelCaption_(std::move(cancelCaption)),
      tickMs_(tickMs) {}

TCountdownWnd::~TCountdownWnd() { destroy(); }

bool TCountdownWnd::open(const std::string& root, const char* caption) {
  if (!createFrame(root, caption, {kClientWidth, kClientHeight}, nullptr, false)) return false;
  const RECT c = clientRect();
  auto& text = addElement<ui::TZText>(warning_, DT_LEFT | DT_WORDBREAK);
  text.setName("warning");
  text.setRect({c.left + 16, c.top + 12, c.right - 16, c.top + 44});
  bar_ = {c.left + 16, c.top + 48, c.right - 16, c.top + 62};
  auto& cancelButton = addElement<ui::TZButton>(cancelCaption_);
  cancelButton.setName("cancel");
  cancelButton.setRect({(c.left + c.right) / 2 - 45, c.bottom - 38, (c.left + c.right) / 2 + 45, c.bottom - 12});
  cancelButton.onClick = [this] { cancel(); };
  setFocusElement(&cancelButton);
  // Centred on the screen, above every other window.
  RECT w;
  GetWindowRect(hwnd(), &w);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - (w.right - w.left)) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - (w.bottom - w.top)) / 2;
  ShowWindow(hwnd(), SW_SHOW);
  SetWindowPos(hwnd(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE);
  SetTimer(hwnd(), kTickTimer, tickMs_, nullptr);
  return true;
}

void TCountdownWnd::step() {
  if (done_) return;
  ++progress_;
  InvalidateRect(hwnd(), &bar_, FALSE);
  if (progress_ < kSteps) return;
  // The window goes first, then the machine.
  done_ = true;
  KillTimer(hwnd(), kTickTimer);
  destroy();
  acted_ = carryOut(power_, word_);
}

void TCountdownWnd::cancel() {
  if (done_) return;
  done_ = true;
  KillTimer(hwnd(), kTickTimer);
  destroy();
}

void TCountdownWnd::paintOver(HDC dc, int, int) {
  const ui::ControlArt& art = ui::controlArt();
  ui::fillSolid(dc, bar_, RGB(GetRValue(art.face) / 2, GetGValue(art.face) / 2, GetBValue(art.face) / 2));
  RECT done = bar_;
  done.right = bar_.left + (bar_.right - bar_.left) * std::min(progress_, kSteps) / kSteps;
  if (done.right > done.left) ui::fillSolid(dc, done, art.accent);
}

LRESULT TCountdownWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kTickTimer) step();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        cancel();
        return 0;
      }
      break;
    case WM_CLOSE:
      cancel();
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd(), kTickTimer);
      if (onDestroyed) onDestroyed();
      break;
    default:
      break;
  }
  return ui::TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zv::timer
