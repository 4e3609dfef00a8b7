// TAboutWnd: the About window (command "about"): the program's icon, name and
// version, and the outside libraries this build ships, each with its version,
// licence and the files that hold it. A dialog frame that remembers its place;
// Escape, Enter or "OK" closes it.
#pragma once
#include <string>

#include "frame_window.h"
#include "own_controls.h"

namespace zv {

class TAboutWnd : public ui::TFrameWnd {
 public:
  TAboutWnd();
  // Creates and shows the window with its frame from `root`'s skins.
  bool create(const std::string& root, HWND owner);
  // Shows it again and brings it to the front.
  void bringToFront();
  bool shown() const { return hwnd() && IsWindowVisible(hwnd()); }
  ui::TZButton& ok() { return *ok_; }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ui::TZButton* ok_ = nullptr;
};

// The lines of the library list, as the window shows them.
std::string aboutLibraryLine(size_t index);

}  // namespace zv
