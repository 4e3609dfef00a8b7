// The arithmetic of the marquee label, apart from its window: where the
// text starts, when the ellipses show, how it moves by steps and how far a
// drag may take it.
#pragma once

namespace zv::ui {

enum TXLabelMode { xlNormal = 0, xlShort = 1, xlScroll = 2, xlMarquee = 3 };
enum TXLabelAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// Steps a marquee text waits after each change before it moves.
inline constexpr int kMarqueePause = 40;

struct XLabelMotion {
  int mode = xlNormal;
  int alignment = taLeftJustify;
  int width = 100;      // the label's width
  int textWidth = 0;    // the text's width in the label's font
  int offset = 0;       // x of the text's start (scroll and marquee)
  int direction = -1;   // +1 or -1
  int pause = 0;        // steps still to wait
  bool dragging = false;
  int dragX = 0, dragOffset = 0;

  bool moving() const { return mode == xlScroll || mode == xlMarquee; }
  // After the text (or its width) changed.
  void textChanged(int newTextWidth);
  // Moves by `steps`; true when the offset changed (the label redraws).
  bool step(int steps);
  // Where the text starts in the label.
  int startX() const;
  void beginDrag(int x);
  // True when the offset changed.
  bool dragTo(int x);
  void endDrag() { dragging = false; }
  // The offsets a drag keeps to: [low, high].
  int dragLow() const;
  int dragHigh() const;
};

// Which ellipses a drawing shows and the visible span of the text that is
// left between them.
struct XLabelEllipsis {
  bool left = false, right = false;
  int visibleLeft = 0, visibleRight = 0;
};
XLabelEllipsis xlabelEllipsis(int mode, int startX, int textWidth, int width, int ellipsisWidth);

}  // namespace zv::ui
