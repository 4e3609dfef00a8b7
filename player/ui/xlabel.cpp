#include "xlabel.h"

#include <commctrl.h>

#include <algorithm>

#include "gdi_text.h"
#include "skin_model.h"
#include "skin_paint.h"
#include "skinned_window.h"

namespace zv::ui {

namespace {

const WindowClassInfo kLabelClass{"ZvXLabel", CS_DBLCLKS};

// The text without its markup characters (bytes below 32).
std::string plainText(const std::string& text) {
  std::string out;
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 32) out += c;
  return out;
}

int textWidth(HDC dc, const char* text, int length) {
  SIZE s{0, 0};
  if (length > 0) textExtentActive(dc, text, length, &s);
  return s.cx;
}

}  // namespace

TXLabel* TXLabel::fromWindow(HWND window) {
  return isOurWindowClass(window, kLabelClass.name) ? dynamic_cast<TXLabel*>(WindowBase::from(window)) : nullptr;
}

TXLabel::~TXLabel() {
  tooltip_.reset();
  destroy();
}

bool TXLabel::createLabel(HWND parent, const std::string& name, int x, int y, int width, int height) {
  name_ = name;
  motion_.width = width;
  if (!create(kLabelClass, 0, name.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height, parent))
    return false;
  setFont(SkinFontDesc{});
  return true;
}

SIZE TXLabel::size() const {
  RECT r{};
  if (hwnd()) GetClientRect(hwnd(), &r);
  return {r.right, r.bottom};
}

void TXLabel::measure() {
  WindowDc screen(nullptr);
  UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
  SelectedObject font(dc.get(), font_.get());
  std::string plain = plainText(text_);
  ellipsisWidth_ = textWidth(dc.get(), "...", 3);
  motion_.textChanged(textWidth(dc.get(), plain.c_str(), static_cast<int>(plain.size())));
}

void TXLabel::setText(const std::string& text) {
  text_ = text;
  // The plain text as the window's own, for screen readers and tests.
  if (hwnd()) SetWindowTextA(hwnd(), plainText(text).c_str());
  measure();
  updateTooltip();
  redraw();
}

void TXLabel::setMode(int mode) {
  motion_.mode = std::clamp(mode, static_cast<int>(xlNormal), static_cast<int>(xlMarquee));
  motion_.textChanged(motion_.textWidth);
  updateTooltip();
  redraw();
}

void TXLabel::setAlignment(int alignment) {
  motion_.alignment = alignment;
  redraw();
}

void TXLabel::setShadow(bool on) {
  shadow_ = on;
  redraw();
}

void TXLabel::setColors(COLORREF font, COLORREF color1, COLORREF color2, COLORREF shadow) {
  fontColor_ = font;
  color1_ = color1;
  color2_ = color2;
  shColor_ = shadow;
  redraw();
}

void TXLabel::setBrushColor(COLORREF color) {
  brushColor_ = color;
  redraw();
}

void TXLabel::setFont(const SkinFontDesc& desc) {
  font_ = createSkinFont(desc);
  measure();
  updateTooltip();
  redraw();
}

void TXLabel::setShowHint(bool on) {
  showHint_ = on;
  updateTooltip();
}

void TXLabel::step(int steps) {
  if (motion_.step(steps)) redraw();
}

void TXLabel::setHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  updateTooltip();
}

std::string TXLabel::tooltipText() const {
  if (showHint_ && !hint_.empty()) return hint_;
  if (motion_.mode == xlShort && showHint_ && motion_.textWidth > motion_.width) return plainText(text_);
  return {};
}

void TXLabel::updateTooltip() {
  if (!hwnd()) return;
  std::string tip = tooltipText();
  if (tip == tooltipShown_) return;
  tooltipShown_ = tip;
  if (!tooltip_) {
    if (tip.empty()) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    tooltip_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0,
                                   0, 0, 0, hwnd(), nullptr, thisModule(), nullptr));
    if (!tooltip_) return;
    SendMessageA(tooltip_.get(), TTM_SETDELAYTIME, TTDT_INITIAL, 100);
    SendMessageA(tooltip_.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP, 5000);
    SendMessageA(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, 480);  // line breaks in an owner's hint
    TOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd());
    ti.lpszText = const_cast<char*>("");
    SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;
  ti.uFlags = TTF_IDISHWND;
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd());
  ti.lpszText = tooltipShown_.data();
  SendMessageA(tooltip_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageA(tooltip_.get(), TTM_ACTIVATE, tip.empty() ? FALSE : TRUE, 0);
}

void TXLabel::applySkin(const TSkinCtl& ctl) {
  const SkinAttributes& a = ctl.attributes;
  std::string justify = toLowerAscii(a.value("justify"));
  motion_.alignment = justify.starts_with("c") ? taCenter : justify.starts_with("r") ? taRightJustify : taLeftJustify;
  if (a.has("color")) fontColor_ = parseSkinColor(a.value("color"));
  if (a.has("shadow")) {
    std::string v = toLowerAscii(a.value("shadow"));
    shadow_ = !(v.empty() || v == "0" || v == "false" || v == "no" || v == "off");
  }
  if (a.has("shcolor")) shColor_ = parseSkinColor(a.value("shcolor"));
  if (a.has("color1")) color1_ = parseSkinColor(a.value("color1"));
  if (a.has("color2")) color2_ = parseSkinColor(a.value("color2"));
  if (a.has("font")) font_ = createSkinFont(parseSkinFont(a.value("font")));
  if (a.has("text"))
    setText(a.value("text"));
  else
    setText(text_);  // measures again in the new font
}

void TXLabel::redraw() {
  if (!hwnd()) return;
  WindowDc dc(hwnd());
  draw(dc.get());
}

void TXLabel::drawText(HDC dc, int x, int y, bool outlinePass) {
  // Runs end at every byte below 32; the byte chooses the run's colour. The
  // text is stepped by characters, so a multi-byte character is never cut.
  const char* p = text_.c_str();
  const char* runStart = p;
  int cx = x;
  while (true) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 32) {
      int length = static_cast<int>(p - runStart);
      if (length > 0) {
        COLORREF color = outlinePass ? shColor_ : c == 1 ? color1_ : c == 2 ? color2_ : fontColor_;
        SetTextColor(dc, color);
        textOutActive(dc, cx, y, runStart, length);
        cx += textWidth(dc, runStart, length);
      }
      if (c == 0) break;
      ++p;
      runStart = p;
      continue;
    }
    p = CharNextA(p);
  }
}

void TXLabel::draw(HDC target) {
  SIZE s = size();
  if (s.cx <= 0 || s.cy <= 0) return;
  motion_.width = s.cx;
  if (!buffer_ || s.cx > bufferSize_.cx || s.cy > bufferSize_.cy) {
    bufferDc_.reset();
    buffer_ = createDib(std::max<int>(s.cx, bufferSize_.cx), std::max<int>(s.cy, bufferSize_.cy), &bufferBits_);
    if (!buffer_) return;
    bufferSize_ = {std::max<int>(s.cx, bufferSize_.cx), std::max<int>(s.cy, bufferSize_.cy)};
    bufferDc_.reset(CreateCompatibleDC(target));
    SelectObject(bufferDc_.get(), buffer_.get());  // the DC goes before the bitmap
  }
  ++redraws_;
  HDC dc = bufferDc_.get();
  int saved = SaveDC(dc);
  RECT all{0, 0, s.cx, s.cy};
  // 1. Background.
  TSkinnedWnd* parent = TSkinnedWnd::fromWindow(GetParent(hwnd()));
  if (OnPaintBkgnd) {
    OnPaintBkgnd(dc, all);
  } else if (parent) {
    RECT inParent = all;
    MapWindowPoints(hwnd(), parent->hwnd(), reinterpret_cast<POINT*>(&inParent), 2);
    parent->paintBackgroundPart(dc, inParent);
  } else {
    fillSolid(dc, all, brushColor_ == kNoColor ? RGB(0, 0, 0) : brushColor_);
  }
  SelectObject(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  const int outline = shadow_ ? 1 : 0;
  int x = motion_.startX();
  int y = (s.cy - tm.tmHeight) / 2 - outline;
  // 3. Ellipses, and the visible span between them.
  XLabelEllipsis e = xlabelEllipsis(motion_.mode, x, motion_.textWidth, s.cx, ellipsisWidth_);
  auto drawDots = [&](int dx) {
    if (shadow_) {
      SetTextColor(dc, shColor_);
      const POINT around[4] = {{0, 1}, {2, 1}, {1, 0}, {1, 2}};
      for (const POINT& o : around) TextOutA(dc, dx + o.x, y + o.y, "...", 3);
    }
    SetTextColor(dc, color2_);
    TextOutA(dc, dx + outline, y + outline, "...", 3);
  };
  if (e.left) drawDots(0);
  if (e.right) drawDots(s.cx - ellipsisWidth_ - outline * 2);
  IntersectClipRect(dc, e.visibleLeft, 0, e.visibleRight, s.cy);
  // 4 and 5. Text with markup, outlined when asked.
  if (shadow_) {
    const POINT around[4] = {{0, 1}, {2, 1}, {1, 0}, {1, 2}};
    for (const POINT& o : around) drawText(dc, x + o.x, y + o.y, true);
  }
  drawText(dc, x + outline, y + outline, false);
  RestoreDC(dc, saved);
  BitBlt(target, 0, 0, s.cx, s.cy, dc, 0, 0, SRCCOPY);
}

COLORREF TXLabel::pixel(int x, int y) const {
  if (!bufferBits_ || x < 0 || y < 0 || x >= bufferSize_.cx || y >= bufferSize_.cy) return 0;
  GdiFlush();
  uint32_t v = bufferBits_[static_cast<size_t>(y) * bufferSize_.cx + x];
  return RGB((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
}

LRESULT TXLabel::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PaintDc paint(hwnd());
      draw(paint.get());
      return 0;
    }
    case WM_SIZE:
      motion_.width = LOWORD(lParam);
      updateTooltip();
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      int x = static_cast<short>(LOWORD(lParam));
      if (message == WM_LBUTTONDOWN && motion_.moving()) {
        SetCapture(hwnd());
        motion_.beginDrag(x);
      }
      if (OnClick) OnClick(message == WM_RBUTTONDOWN);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (motion_.dragTo(static_cast<short>(LOWORD(lParam)))) redraw();
      return 0;
    case WM_LBUTTONUP:
      if (motion_.dragging) {
        motion_.endDrag();
        ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      motion_.endDrag();
      return 0;
    case WM_DESTROY:
      // A child window owns no popup: the tooltip belongs to the top-level
      // window and would outlive the label.
      tooltip_.reset();
      break;
  }
  return passOn(message, wParam, lParam);
}

}  // namespace zv::ui
