#include "name_prompt_wnd.h"

#include "own_controls.h"

namespace zv::info {

bool TNamePromptWnd::open(const std::string& rootDir, const std::string& caption, const std::string& prompt,
                          const std::string& text, HWND owner) {
  if (!createFrame(rootDir, caption.c_str(), {320, 100}, owner, false)) return false;
  const RECT c = clientRect();
  auto& label = addElement<ui::TZText>(prompt);
  label.setRect({c.left + 8, c.top + 8, c.right - 8, c.top + 24});
  edit_ = makeChild(hwnd(), "EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, {c.left + 8, c.top + 28, c.right - 8, c.top + 50},
                    100, text.c_str());
  SendMessageA(edit_, EM_LIMITTEXT, 79, 0);
  addTabStop(edit_);
  auto& ok = addElement<ui::TZButton>("OK");
  ok.setRect({c.right - 168, c.bottom - 32, c.right - 88, c.bottom - 8});
  ok.onClick = [this] { finish(true); };
  auto& cancel = addElement<ui::TZButton>("Cancel");
  cancel.setRect({c.right - 80, c.bottom - 32, c.right - 8, c.bottom - 8});
  cancel.onClick = [this] { finish(false); };
  ShowWindow(hwnd(), SW_SHOW);
  SetFocus(edit_);
  SendMessageA(edit_, EM_SETSEL, 0, -1);
  return true;
}

void TNamePromptWnd::finish(bool ok) {
  if (done_) return;
  text_ = windowText(edit_);
  accepted_ = ok;
  done_ = true;
  ShowWindow(hwnd(), SW_HIDE);
}

LRESULT TNamePromptWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLOREDIT: return colors_.answer(reinterpret_cast<HDC>(wParam), false);
    case WM_CLOSE: finish(false); return 0;
    default: break;
  }
  return TFrameWnd::handle(message, wParam, lParam);
}

bool askName(const std::string& rootDir, const std::string& caption, const std::string& prompt, std::string& text,
             HWND owner) {
  TNamePromptWnd prompt_;
  if (!prompt_.open(rootDir, caption, prompt, text, owner)) return false;
  if (owner) EnableWindow(owner, FALSE);
  MSG msg;
  while (!prompt_.done()) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(int(msg.wParam));
      prompt_.finish(false);
      break;
    }
    if (msg.message == WM_KEYDOWN && msg.hwnd == prompt_.edit()) {
      if (msg.wParam == VK_RETURN) { prompt_.finish(true); continue; }
      if (msg.wParam == VK_ESCAPE) { prompt_.finish(false); continue; }
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (owner) EnableWindow(owner, TRUE);
  if (!prompt_.accepted()) return false;
  text = prompt_.text();
  return true;
}

}  // namespace zv::info
