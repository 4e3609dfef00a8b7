#include "prompt_window.h"

#include "field_colors.h"
#include "own_controls.h"

namespace zv::ui {

TPromptWnd::~TPromptWnd() { destroy(); }

std::optional<std::string> TPromptWnd::ask(const std::string& root, HWND owner, const std::string& title,
                                           const std::string& prompt, const std::string& proposed,
                                           const std::string& okCaption, const std::string& cancelCaption) {
  if (!createFrame(root, title.c_str(), {340, 112}, owner, false)) return std::nullopt;
  const RECT c = clientRect();
  addElement<TZText>(prompt, DT_LEFT | DT_SINGLELINE | DT_VCENTER)
      .setRect({c.left + 14, c.top + 10, c.right - 14, c.top + 30});
  field_.reset(CreateWindowExA(0, "EDIT", proposed.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                               c.left + 14, c.top + 34, c.right - c.left - 28, 22, hwnd(), nullptr, thisModule(),
                               nullptr));
  SendMessageA(field_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(controlFont()), TRUE);
  SendMessageA(field_.get(), EM_SETSEL, 0, -1);
  addTabStop(field_.get());
  auto& ok = addElement<TZButton>(okCaption);
  ok.setName("ok");
  ok.setRect({c.right - 184, c.bottom - 34, c.right - 104, c.bottom - 10});
  ok.onClick = [this] { finish(true); };
  auto& cancel = addElement<TZButton>(cancelCaption);
  cancel.setName("cancel");
  cancel.setRect({c.right - 94, c.bottom - 34, c.right - 14, c.bottom - 10});
  cancel.onClick = [this] { finish(false); };
  ShowWindow(hwnd(), SW_SHOW);
  SetFocus(field_.get());
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  if (onShown) onShown(*this);
  MSG msg{};
  BOOL got = 1;
  while (!done_ && hwnd() && (got = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
    // Enter and Escape in the field answer for the dialog.
    if (msg.message == WM_KEYDOWN && msg.hwnd == field_.get() && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
      finish(msg.wParam == VK_RETURN);
      continue;
    }
    if (TSkinnedWnd::translateUiMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // The program's own loop still has to see a WM_QUIT taken here.
  if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  destroy();
  return answer_;
}

void TPromptWnd::finish(bool ok) {
  if (done_) return;
  done_ = true;
  if (ok) {
    char text[1024] = {};
    GetWindowTextA(field_.get(), text, sizeof(text));
    answer_ = std::string(text);
  }
}

LRESULT TPromptWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        finish(wParam == VK_RETURN);
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(fieldColors(reinterpret_cast<HDC>(wParam), message == WM_CTLCOLOREDIT));
    case WM_CLOSE:
      finish(false);
      return 0;
    default:
      break;
  }
  return TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zv::ui
