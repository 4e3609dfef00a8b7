// TAutoplayWnd: the question a disc that should be opened asks ("Autoplay",
// centred on the screen, modal over its owner): open it into a new playlist,
// in place of the current one, or added to it (and then, when ticked, start
// playing the first of its items).
#pragma once
#include <optional>
#include <string>

#include "frame_window.h"
#include "menus/open_mode.h"
#include "own_controls.h"

namespace zv {

class TAutoplayWnd : public ui::TFrameWnd {
 public:
  TAutoplayWnd();

  // Creates the window, hidden, with its frame from `root`'s skins.
  bool create(const std::string& root, HWND owner);
  // Shows it centred and runs until it is answered; the owner takes no input
  // meanwhile. The open mode for "Yes"; nullopt for "No", Escape or close.
  std::optional<OpenMode> runModal();
  // The answer as the controls stand now (what "Yes" gives).
  OpenMode chosenMode() const;
  bool answered() const { return answered_; }

  // The controls, for tests that drive the window.
  ui::TZCheck& choice(AutoplayChoice c) { return *choices_[static_cast<int>(c)]; }
  ui::TZCheck& startPlaying() { return *start_; }
  ui::TZButton& yes() { return *yes_; }
  ui::TZButton& no() { return *no_; }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void select(AutoplayChoice c);
  void answer(bool yes);

  ui::TZCheck* choices_[3] = {};
  ui::TZCheck* start_ = nullptr;
  ui::TZButton *yes_ = nullptr, *no_ = nullptr;
  AutoplayChoice chosen_ = AutoplayChoice::newPlaylist;
  bool answered_ = false, selecting_ = false;
  std::optional<OpenMode> result_;
};

// A disc arrived that asks to be opened: asks how, and returns the open mode
// chosen (nullopt: not to open it).
std::optional<OpenMode> askAutoplay(const std::string& root, HWND owner);

}  // namespace zv
