// The frame of the program's other windows: a skin from "<root>\skins\"
// ("window.skn" for fixed-size windows, "sizewin.skn" for sizeable ones,
// "dialog.skn" for dialogs, all with the pictures of "window.bmp"). The
// frame draws its picture ("frame": its rectangle in the bitmap, by default
// the bitmap from its corner at the default size), its caption (the
// rectangle of the "caption" key, or of the control named "caption", in the
// skin's "font" and "color"), its buttons (controls whose action is "close",
// "minimize", "rollup" or "maximize"), fills "client" with "clientcolor"
// when given and places the window's own content there. A frame of another
// size than the picture keeps all of the picture but its middle column and
// row at their size (at least the "upper", "lower" and "sides" parts) and
// stretches only that middle.
#pragma once
#include <memory>
#include <string>

#include "skin_font.h"
#include "skin_loader.h"
#include "skinned_window.h"

namespace zv::ui {

enum class FrameKind { fixed, sizeable, dialog };

const char* frameSkinFile(FrameKind kind);

// Loads the frame skin of that kind from "<root>\skins\"; when the files are
// missing or unreadable, a plain frame built in (drawn by code) stands in.
std::unique_ptr<TSkin> loadFrameSkin(const std::string& root, FrameKind kind);
// The plain frame, also used by tests.
std::unique_ptr<TSkin> builtinFrameSkin(FrameKind kind);

class TFrameWnd : public TSkinnedWnd {
 public:
  TFrameWnd(std::string posName, FrameKind kind);

  // Creates the window with its frame loaded from `root` and a client area
  // of `clientSize` (0 x 0: the skin's default size).
  bool createFrame(const std::string& root, const char* title, SIZE clientSize = {0, 0}, HWND owner = nullptr,
                   bool visible = true);
  FrameKind kind() const { return kind_; }
  // The client rectangle in window coordinates.
  RECT clientRect() const;

 protected:
  void paintSkin(HDC dc, int width, int height, const RECT& area) override;
  void layout() override;
  int rollupHeight() const override;

 private:
  RECT captionRect(int width, int height) const;
  FrameKind kind_;
  std::unique_ptr<TSkin> frame_;
  SIZE pictureSize_{0, 0};  // the frame picture's size: the skin's own default size
  UniqueFont captionFont_;
};

}  // namespace zv::ui
