// The progress window of long tag writes: shown at stage 0 of a tag
// library's progress report with its text and the busy cursor, moved on at
// stage 1 (percent), closed at stage 2.
#pragma once
#include <memory>
#include <string>

#include "frame_window.h"
#include "own_controls.h"
#include "zvid3.h"

namespace zv::info {

class TProgressWnd : public ui::TFrameWnd {
 public:
  TProgressWnd();
  bool open(const std::string& rootDir, const std::string& caption, const std::string& text, HWND owner);
  void setValue(int percent);
  int value() const { return value_; }

 protected:
  void paintOver(HDC dc, int width, int height) override;

 private:
  ui::TZText* text_ = nullptr;
  int value_ = 0;
};

// The progress callback for id3v2Save and id3v2DoBatch. The window belongs
// to the thread that calls; `owner` and `rootDir` set where it appears and
// which frame it wears.
void setProgressHome(HWND owner, const std::string& rootDir);
// A window going away stops being the progress window's owner.
void forgetProgressOwner(HWND owner);
void ZVAPI tagProgress(int32_t stage, const char* text, int32_t value);
// The open progress window, or null (tests look at it).
TProgressWnd* openProgressWindow();
// How many progress windows were opened so far (tests).
int progressWindowsOpened();

}  // namespace zv::info
