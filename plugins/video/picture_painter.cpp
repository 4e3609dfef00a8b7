#include "picture_painter.h"

#include <algorithm>

#include "win32/owners.h"

namespace zvvideo {
namespace {

constexpr int kMaxSide = 8192;

}  // namespace

PicturePainter::PicturePainter(int pictureWidth, int pictureHeight)
    : pictureWidth_(std::max(1, pictureWidth)), pictureHeight_(std::max(1, pictureHeight)) {}

void PicturePainter::setWindow(HWND window) {
  window_ = window;
  redraw();
}

void PicturePainter::setRects(const ZvVideoRectPrm& rects) {
  rects_ = rects;
  haveRects_ = true;
  // What the old picture covered belongs to the window again: it repaints it
  // (and, being the video window, may send the rectangle anew).
  const RECT t = targetRect();
  if (window_ && !IsRectEmpty(&lastDrawn_) && !EqualRect(&lastDrawn_, &t)) {
    InvalidateRect(window_, &lastDrawn_, TRUE);
    SetRectEmpty(&lastDrawn_);
  }
  redraw();
}

void PicturePainter::setAdjust(const PictureAdjust& adjust) {
  adjust_ = adjust;
  redraw();
}

RECT PicturePainter::targetRect() const {
  if (haveRects_) return RECT{rects_.target.left, rects_.target.top, rects_.target.right, rects_.target.bottom};
  RECT client{};
  GetClientRect(window_, &client);
  return client;
}

void PicturePainter::show(const AVFrame* frame) {
  FramePtr ref = newFrame();
  if (!ref || av_frame_ref(ref.get(), frame) < 0) return;
  current_ = std::move(ref);
  redraw();
}

bool PicturePainter::convert(const AVFrame* frame, int width, int height) {
  // The source rectangle is in the reported picture's units; the decoded
  // frame may differ (pixel aspect), so it is scaled and clamped to the frame.
  FramePtr part = newFrame();
  if (!part || av_frame_ref(part.get(), frame) < 0) return false;
  if (haveRects_) {
    const ZvRect32& s = rects_.source;
    auto fx = [&](int32_t x) { return int(std::clamp<int64_t>(int64_t(x) * frame->width / pictureWidth_, 0, frame->width)); };
    auto fy = [&](int32_t y) { return int(std::clamp<int64_t>(int64_t(y) * frame->height / pictureHeight_, 0, frame->height)); };
    int l = fx(s.left), t = fy(s.top), r = fx(s.right), b = fy(s.bottom);
    if (r - l >= 2 && b - t >= 2 && (l > 0 || t > 0 || r < frame->width || b < frame->height)) {
      part->crop_left = size_t(l);
      part->crop_top = size_t(t);
      part->crop_right = size_t(frame->width - r);
      part->crop_bottom = size_t(frame->height - b);
      if (av_frame_apply_cropping(part.get(), AV_FRAME_CROP_UNALIGNED) < 0) return false;
    }
  }
  const auto format = static_cast<AVPixelFormat>(part->format);
  sws_ = sws_getCachedContext(swsOwner_.release(), part->width, part->height, format, width, height,
                              AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
  swsOwner_.reset(sws_);
  if (!sws_) return false;
  const int colorspace = part->colorspace == AVCOL_SPC_BT709 || (part->colorspace == AVCOL_SPC_UNSPECIFIED && part->height >= 720)
                             ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
  const int* table = sws_getCoefficients(colorspace);
  const int fullRange = part->color_range == AVCOL_RANGE_JPEG || format == AV_PIX_FMT_YUVJ420P ||
                        format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P;
  const SwsColorParams c = swsColorParams(adjust_);
  sws_setColorspaceDetails(sws_, table, fullRange, sws_getCoefficients(SWS_CS_DEFAULT), 1, c.brightness,
                           c.contrast, c.saturation);
  pixels_.resize(size_t(width) * size_t(height) * 4);
  uint8_t* dst[4] = {pixels_.data(), nullptr, nullptr, nullptr};
  int stride[4] = {width * 4, 0, 0, 0};
  return sws_scale(sws_, part->data, part->linesize, 0, part->height, dst, stride) > 0;
}

void PicturePainter::redraw() {
  if (!current_ || !window_ || !IsWindow(window_)) return;
  const RECT t = targetRect();
  const int width = std::min<int>(t.right - t.left, kMaxSide), height = std::min<int>(t.bottom - t.top, kMaxSide);
  if (width <= 0 || height <= 0) return;
  if (!convert(current_.get(), width, height)) return;
  zv::WindowDc dc(window_);
  if (!dc) return;
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;  // top-down
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc.get(), t.left, t.top, width, height, 0, 0, width, height, pixels_.data(), &bmi,
                DIB_RGB_COLORS, SRCCOPY);
  lastDrawn_ = RECT{t.left, t.top, t.left + width, t.top + height};
  ++drawn_;
}

}  // namespace zvvideo
