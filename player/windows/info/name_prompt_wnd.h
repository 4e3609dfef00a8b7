// A small dialog that asks for a name ("Rename CD"): a prompt, one line of
// text prefilled, OK and Cancel.
#pragma once
#include <string>

#include "child_controls.h"
#include "frame_window.h"

namespace zv::info {

class TNamePromptWnd : public ui::TFrameWnd {
 public:
  TNamePromptWnd() : TFrameWnd("", ui::FrameKind::dialog) {}
  bool open(const std::string& rootDir, const std::string& caption, const std::string& prompt,
            const std::string& text, HWND owner);
  HWND edit() const { return edit_; }
  void finish(bool ok);
  bool done() const { return done_; }
  bool accepted() const { return accepted_; }
  const std::string& text() const { return text_; }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND edit_ = nullptr;
  ChildColors colors_;
  std::string text_;
  bool done_ = false, accepted_ = false;
};

// Asks modally; true with `text` changed on OK.
bool askName(const std::string& rootDir, const std::string& caption, const std::string& prompt, std::string& text,
             HWND owner);

}  // namespace zv::info
