#include "setup/text_prompt.h"

#include "frame_window.h"
#include "own_controls.h"
#include "win32/window_base.h"

namespace zv::setupui {

namespace {

class TTextPromptWnd : public ui::TFrameWnd {
 public:
  static constexpr UINT kConfirm = WM_APP + 1;
  TTextPromptWnd() : TFrameWnd("TextPromptWnd", ui::FrameKind::dialog) {}

  bool open(HWND owner, const std::string& root, const std::string& title, const std::string& prompt) {
    if (!createFrame(root, title.c_str(), {340, 112}, owner)) return false;
    RECT c = clientRect();
    addElement<ui::TZText>(prompt).setRect({c.left + 12, c.top + 10, c.right - 12, c.top + 40});
    edit_.reset(CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                c.left + 12, c.top + 44, c.right - c.left - 24, 22, hwnd(), nullptr, thisModule(),
                                nullptr));
    SendMessageA(edit_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(ui::controlFont()), FALSE);
    addTabStop(edit_.get());
    auto& ok = addElement<ui::TZButton>("OK");
    ok.setRect({c.right - 188, c.bottom - 32, c.right - 104, c.bottom - 8});
    ok.onClick = [this] { finish(true); };
    auto& cancel = addElement<ui::TZButton>("Cancel");
    cancel.setRect({c.right - 96, c.bottom - 32, c.right - 12, c.bottom - 8});
    cancel.onClick = [this] { finish(false); };
    SetFocus(edit_.get());
    return true;
  }
  bool done() const { return done_; }
  const std::optional<std::string>& answer() const { return answer_; }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CLOSE || message == kConfirm) {
      finish(message == kConfirm);
      return 0;
    }
    if (message == WM_NCDESTROY) static_cast<void>(edit_.release());  // gone with its parent
    return TFrameWnd::handle(message, wParam, lParam);
  }

 private:
  void finish(bool ok) {
    if (ok) {
      char text[512] = {};
      GetWindowTextA(edit_.get(), text, sizeof(text));
      answer_ = std::string(text);
    }
    done_ = true;
  }
  UniqueWindow edit_;
  bool done_ = false;
  std::optional<std::string> answer_;
};

}  // namespace

std::optional<std::string> askText(HWND owner, const std::string& root, const std::string& title,
                                   const std::string& prompt) {
  TTextPromptWnd prompt_;
  if (!prompt_.open(owner, root, title, prompt)) return std::nullopt;
  if (owner) EnableWindow(owner, FALSE);
  MSG msg;
  while (!prompt_.done()) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // the program's loop ends too
      break;
    }
    // Enter answers, Escape cancels, from the edit as from the window.
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
        (msg.hwnd == prompt_.hwnd() || GetParent(msg.hwnd) == prompt_.hwnd())) {
      SendMessageA(prompt_.hwnd(), msg.wParam == VK_RETURN ? TTextPromptWnd::kConfirm : WM_CLOSE, 0, 0);
      continue;
    }
    if (ui::TSkinnedWnd::translateUiMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  return prompt_.answer();
}

}  // namespace zv::setupui
