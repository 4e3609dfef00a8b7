#include "xlabel_motion.h"

#include <algorithm>

namespace zv::ui {

void XLabelMotion::textChanged(int newTextWidth) {
  textWidth = newTextWidth;
  if (mode == xlScroll || mode == xlMarquee) {
    offset = 0;
    direction = -1;
  }
  if (mode == xlMarquee) pause = kMarqueePause;
}

int XLabelMotion::startX() const {
  if (moving()) return offset;
  switch (alignment) {
    case taRightJustify: return width - textWidth - 2;
    case taCenter: return (width - textWidth) / 2;
    default: return 0;
  }
}

bool XLabelMotion::step(int steps) {
  if (dragging || !moving() || steps <= 0) return false;
  if (pause > 0) {
    pause = std::max(0, pause - steps);
    return false;
  }
  const int before = offset;
  if (mode == xlScroll) {
    // A text that fits has nowhere to go: it stays where it is.
    if (textWidth <= width) return false;
    offset += direction * steps;
    if (offset <= width - textWidth) {
      offset = width - textWidth;
      direction = 1;
    } else if (offset >= 0) {
      offset = 0;
      direction = -1;
    }
  } else {
    offset -= steps;  // a marquee always runs from right to left
    if (offset <= -textWidth) offset = width;
  }
  return offset != before;
}

int XLabelMotion::dragLow() const { return mode == xlScroll ? std::min(0, width - textWidth) : -textWidth; }
int XLabelMotion::dragHigh() const { return mode == xlScroll ? 0 : width; }

void XLabelMotion::beginDrag(int x) {
  if (!moving()) return;
  dragging = true;
  dragX = x;
  dragOffset = offset;
}

bool XLabelMotion::dragTo(int x) {
  if (!dragging) return false;
  int next = std::clamp(dragOffset + (x - dragX), dragLow(), dragHigh());
  if (next == offset) return false;
  offset = next;
  return true;
}

XLabelEllipsis xlabelEllipsis(int mode, int startX, int textWidth, int width, int ellipsisWidth) {
  XLabelEllipsis e;
  e.visibleLeft = 0;
  e.visibleRight = width;
  if (mode == xlNormal) return e;
  if (startX < 0) {
    e.left = true;
    e.visibleLeft += ellipsisWidth + 2;
  }
  if (startX + textWidth > width) {
    e.right = true;
    e.visibleRight -= ellipsisWidth + 2;
  }
  return e;
}

}  // namespace zv::ui
