// The main window's icons in the notification area: the main icon 100 with
// its tip and animation frame, the tray buttons 200 to 206 while the window
// is minimized, and the balloon with the stream title. The shell is reached
// through the engine's tray exports; tests put their own calls in.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace zv {

class TrayIcons {
 public:
  struct Api {
    std::function<bool(HWND, UINT id, UINT message, HICON, const std::string& tip)> add;
    std::function<bool(HWND, UINT id, HICON, const std::string& tip)> edit;
    std::function<void(HWND, UINT id)> remove;
    std::function<bool(HWND, UINT id, const std::string& title, const std::string& text)> balloon;
  };
  static Api engineApi();
  // The icons from the program's resources: frames "Z0".."Z4" (the alpha
  // "C" form where there is one) and the buttons' icons.
  static HICON frameIcon(int frame);
  static HICON buttonIcon(UINT id);

  explicit TrayIcons(Api api = engineApi()) : api_(std::move(api)) {}

  void attach(HWND window) { window_ = window; }
  // Adds or removes the main icon.
  void showMain(bool on);
  bool mainShown() const { return main_; }
  // The tip (the window title) and the animation frame of the main icon;
  // the shell is asked only when something changed.
  void setTip(const std::string& title);
  void setFrame(int frame);
  int frame() const { return frame_; }
  // Replaces the buttons by `ids` (added in that order); empty removes them.
  void setButtons(const std::vector<UINT>& ids);
  const std::vector<UINT>& buttons() const { return buttons_; }
  // A balloon on the main icon (shown only while the icon is there).
  bool balloon(const std::string& title, const std::string& text);
  // Removes everything (shutdown).
  void removeAll();

 private:
  Api api_;
  HWND window_ = nullptr;
  bool main_ = false;
  int frame_ = 1;
  std::string tip_ = "Zorvak";
  std::vector<UINT> buttons_;
};

}  // namespace zv
