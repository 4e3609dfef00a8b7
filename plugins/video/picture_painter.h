// Draws pictures into the window the video window gives, through GDI
// (StretchDIBits works everywhere, Wine included): swscale converts the
// shown part of the picture straight to the target size in 32-bit colour,
// with the brightness, contrast and colour adjustments applied, and the
// result goes to the window's DC 1:1. The last picture is kept, so a new
// rectangle or adjustment is seen at once even while nothing plays.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "av_owners.h"
#include "picture_adjust.h"
#include "zv_plugins.h"

namespace zvvideo {

class PicturePainter {
 public:
  // The picture size the stream reported; source rectangles are in it.
  explicit PicturePainter(int pictureWidth, int pictureHeight);

  void setWindow(HWND window);
  void setRects(const ZvVideoRectPrm& rects);
  void setAdjust(const PictureAdjust& adjust);

  // Shows `frame` (a reference is kept).
  void show(const AVFrame* frame);
  // Draws the kept picture again.
  void redraw();

  HWND window() const { return window_; }
  int picturesDrawn() const { return drawn_; }

 private:
  bool convert(const AVFrame* frame, int width, int height);
  RECT targetRect() const;

  int pictureWidth_, pictureHeight_;
  HWND window_ = nullptr;
  bool haveRects_ = false;
  ZvVideoRectPrm rects_{};
  PictureAdjust adjust_;
  FramePtr current_;
  SwsContext* sws_ = nullptr;  // sws_getCachedContext's; freed by swsOwner_
  SwsPtr swsOwner_;
  std::vector<uint8_t> pixels_;
  int drawn_ = 0;
  RECT lastDrawn_{};  // where the last picture went; the window repaints it when the target moves
};

}  // namespace zvvideo
