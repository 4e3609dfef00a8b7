// A question with a one-line answer ("Preset name:"): a dialog frame with the
// prompt, an edit field, "OK" and "Cancel", shown modally over its owner.
// Enter answers, Escape or closing cancels.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "frame_window.h"
#include "win32/owners.h"

namespace zv::ui {

class TPromptWnd final : public TFrameWnd {
 public:
  TPromptWnd() : TFrameWnd("prompt", FrameKind::dialog) {}
  ~TPromptWnd() override;

  // Runs until answered; nullopt when cancelled. `owner` is disabled
  // meanwhile (it may be null).
  std::optional<std::string> ask(const std::string& root, HWND owner, const std::string& title,
                                 const std::string& prompt, const std::string& proposed,
                                 const std::string& okCaption = "OK", const std::string& cancelCaption = "Cancel");
  HWND field() const { return field_.get(); }
  // Called once the dialog shows (tests type their answer here).
  std::function<void(TPromptWnd&)> onShown;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void finish(bool ok);
  UniqueWindow field_;
  bool done_ = false;
  std::optional<std::string> answer_;
};

}  // namespace zv::ui
