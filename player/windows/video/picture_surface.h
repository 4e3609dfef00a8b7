// The child window the playing instance draws the pictures into. It paints
// only what lies outside the picture (black), so a repaint never wipes a
// picture the instance drew, and passes right clicks on to the video window.
#pragma once
#include <windows.h>

#include "win32/window_base.h"

namespace zvplayer {

class PictureSurface : public zv::WindowBase {
 public:
  bool create(HWND parent);
  // The rectangle the instance draws into (empty: none).
  void setPictureRect(const RECT& r);
  const RECT& pictureRect() const { return picture_; }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  RECT picture_{0, 0, 0, 0};
};

}  // namespace zvplayer
