// TAdvSetupWnd, the advanced settings: the thread priorities of the built-in
// plug-in kinds, "noSampler", "PreferFP", and the output library's wave-out
// priority and visualisation sampling interval ("outParams" words 8 and 6).
// "OK" applies them (settings/setup_keys.h) and closes.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "frame_window.h"
#include "settings/setup_keys.h"
#include "setup/form_pages.h"
#include "setup/window_texts.h"

namespace zv {

class TAdvSetupWnd : public ui::TFrameWnd {
 public:
  TAdvSetupWnd(std::string root, std::string langDir, std::string language);

  bool open(HWND owner);
  void confirm();
  // For tests: the combo box of a key ("decoder_priority", ...,
  // "waveOutPriority", "visFrames") and the check boxes.
  HWND combo(const std::string& key) const;
  ui::TZCheck* check(const std::string& key) const;
  bool closed() const { return closed_; }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string root_, langDir_, language_;
  std::unique_ptr<setupui::WindowTexts> texts_;
  setupui::FormPages pages_;
  std::map<std::string, HWND> combos_;
  std::map<std::string, ui::TZCheck*> checks_;
  bool closed_ = false;
};

}  // namespace zv
