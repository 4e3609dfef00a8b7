// TXLabel: the one-line text control (group and file lines of the main
// window). It draws through an off-screen bitmap, colours runs of its text
// by the markup characters 1 (Color1) and 2 (Color2), can outline the text,
// shortens it with "..." and moves it (bouncing or running through) by the
// steps its owner gives, lets the user drag moving text, and shows the whole
// text as a tooltip when it is shortened.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "skin_font.h"
#include "win32/owners.h"
#include "win32/window_base.h"
#include "xlabel_motion.h"

namespace zv::ui {

class TSkinCtl;

class TXLabel : public WindowBase {
 public:
  TXLabel() = default;
  ~TXLabel() override;

  // A child of `parent`, 100 x 20 pixels until laid out.
  bool createLabel(HWND parent, const std::string& name, int x = 0, int y = 0, int width = 100, int height = 20);
  const std::string& name() const { return name_; }
  // The label object of a window, or null when the window is not a label.
  static TXLabel* fromWindow(HWND window);

  void setText(const std::string& text);
  const std::string& text() const { return text_; }
  void setMode(int mode);
  int mode() const { return motion_.mode; }
  void setAlignment(int alignment);
  void setShadow(bool on);
  void setColors(COLORREF font, COLORREF color1, COLORREF color2, COLORREF shadow);
  void setBrushColor(COLORREF color);  // the background when nothing else paints it
  void setFont(const SkinFontDesc& desc);
  void setShowHint(bool on);
  // A tooltip of the owner's (shown with the hints on, in place of the
  // shortened text); empty gives the label's own.
  void setHint(const std::string& hint);

  // Paints the background of the label's rectangle (in the label's own
  // coordinates); the main window draws its skin picture there.
  std::function<void(HDC, const RECT&)> OnPaintBkgnd;
  // A press on the label (right: the right button), for the owner's commands.
  std::function<void(bool right)> OnClick;

  // Moves the text by `steps` (the owner's timer drives it).
  void step(int steps);
  const XLabelMotion& motion() const { return motion_; }
  int ellipsisWidth() const { return ellipsisWidth_; }
  // The tooltip text: the whole text when shortened (xlShort), else empty.
  std::string tooltipText() const;
  // The label's tooltip window (made when first needed), or null.
  HWND tooltipWindow() const { return tooltip_.get(); }

  // Takes the text attributes of a skin control: "justify", "text",
  // "color", "shadow", "shcolor", "color1", "color2", "font".
  void applySkin(const TSkinCtl& ctl);

  // Draws now into the off-screen bitmap (and the screen).
  void redraw();
  // A pixel of the off-screen bitmap as last drawn.
  COLORREF pixel(int x, int y) const;
  int redraws() const { return redraws_; }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void measure();
  void draw(HDC target);
  void drawText(HDC dc, int x, int y, bool outlinePass);
  void updateTooltip();
  SIZE size() const;

  std::string name_;
  std::string text_;
  XLabelMotion motion_;
  bool shadow_ = false, showHint_ = true;
  std::string hint_;
  COLORREF fontColor_ = RGB(255, 255, 255), color1_ = RGB(255, 255, 0), color2_ = RGB(160, 160, 160),
           shColor_ = RGB(0, 0, 0), brushColor_ = kNoColor;
  UniqueFont font_;
  int ellipsisWidth_ = 0;
  UniqueMemoryDc bufferDc_;
  UniqueBitmap buffer_;
  uint32_t* bufferBits_ = nullptr;
  SIZE bufferSize_{0, 0};
  UniqueWindow tooltip_;
  std::string tooltipShown_;
  int redraws_ = 0;
};

}  // namespace zv::ui
