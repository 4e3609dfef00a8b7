#include "autoplay/autoplay_window.h"

namespace zv {
namespace {

constexpr SIZE kClientSize{380, 200};
const char* const kChoiceCaptions[] = {"Put to new playlist", "Replace current playlist", "Add to current playlist"};

}  // namespace

// Not stored: the window always comes up centred on the screen.
TAutoplayWnd::TAutoplayWnd() : ui::TFrameWnd(std::string(), ui::FrameKind::dialog) {}

bool TAutoplayWnd::create(const std::string& root, HWND owner) {
  if (!createFrame(root, "Autoplay", kClientSize, owner, false)) return false;
  const RECT c = clientRect();
  const int x = c.left + 14, y = c.top + 12, textX = x + 52;
  addElement<ui::TZPicture>(&ui::controlArt().confirm).setRect({x, y, x + 40, y + 40});
  addElement<ui::TZText>("You have inserted a multimedia CD. Do you want to open it?", DT_LEFT | DT_WORDBREAK)
      .setRect({textX, y, c.right - 14, y + 34});
  // Three exclusive choices: ticking one clears the others; one stays ticked.
  for (int i = 0; i < 3; ++i) {
    auto& check = addElement<ui::TZCheck>(kChoiceCaptions[i], i == 0);
    check.setRect({textX, y + 42 + i * 22, c.right - 14, y + 62 + i * 22});
    check.onChange = [this, i](bool on) {
      if (!selecting_) select(on ? static_cast<AutoplayChoice>(i) : chosen_);
    };
    choices_[i] = &check;
  }
  start_ = &addElement<ui::TZCheck>("Start playing", true);
  start_->setRect({textX + 20, y + 108, c.right - 14, y + 128});
  yes_ = &addElement<ui::TZButton>("Yes");
  yes_->setRect({c.right - 184, c.bottom - 34, c.right - 104, c.bottom - 10});
  yes_->onClick = [this] { answer(true); };
  no_ = &addElement<ui::TZButton>("No");
  no_->setRect({c.right - 94, c.bottom - 34, c.right - 14, c.bottom - 10});
  no_->onClick = [this] { answer(false); };
  select(AutoplayChoice::newPlaylist);
  setFocusElement(yes_);
  return true;
}

void TAutoplayWnd::select(AutoplayChoice c) {
  chosen_ = c;
  selecting_ = true;
  for (int i = 0; i < 3; ++i) choices_[i]->setChecked(i == static_cast<int>(c));
  selecting_ = false;
  // "Start playing" counts only when the disc is added.
  start_->setEnabled(c == AutoplayChoice::add);
}

OpenMode TAutoplayWnd::chosenMode() const { return openModeForAutoplay(chosen_, start_->checked()); }

void TAutoplayWnd::answer(bool yes) {
  if (answered_) return;
  answered_ = true;
  if (yes) result_ = chosenMode();
  if (HWND owner = GetWindow(hwnd(), GW_OWNER)) EnableWindow(owner, TRUE);
  ShowWindow(hwnd(), SW_HIDE);
}

LRESULT TAutoplayWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    answer(false);
    return 0;
  }
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    answer(false);
    return 0;
  }
  // Enter on anything but a button is "Yes".
  if (message == WM_KEYDOWN && wParam == VK_RETURN && focusedElement() != no_) {
    answer(true);
    return 0;
  }
  return ui::TFrameWnd::handle(message, wParam, lParam);
}

std::optional<OpenMode> TAutoplayWnd::runModal() {
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  RECT r;
  GetWindowRect(hwnd(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd(), HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(hwnd());
  if (owner) EnableWindow(owner, FALSE);
  MSG msg;
  while (!answered_) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the quit goes on to the main loop.
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      answer(false);
      break;
    }
    if (ui::TSkinnedWnd::translateUiMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
  }
  return result_;
}

std::optional<OpenMode> askAutoplay(const std::string& root, HWND owner) {
  TAutoplayWnd window;
  if (!window.create(root, owner)) return std::nullopt;
  return window.runModal();
}

}  // namespace zv
