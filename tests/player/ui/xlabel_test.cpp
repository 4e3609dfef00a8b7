// The marquee label: its movement and drag arithmetic (table-driven), and a
// real label window read back: markup colours, outline, the ellipsis, drag
// limits through mouse messages and the tooltip when shortened.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "testkit.h"
#include "ui_fixture.h"
#include "xlabel.h"
#include "xlabel_motion.h"

using namespace zv::ui;
using uitest::at;

TEST(XLabelMotion, startXByAlignmentAndMode) {
  struct Case {
    int mode, alignment, width, textWidth, offset, expected;
  } cases[] = {
      {xlNormal, taLeftJustify, 100, 40, 7, 0},
      {xlNormal, taRightJustify, 100, 40, 7, 58},  // width - text width - 2
      {xlNormal, taCenter, 100, 41, 7, 29},        // (100 - 41) div 2
      {xlShort, taRightJustify, 100, 140, 0, -42},
      {xlScroll, taRightJustify, 100, 140, -13, -13},
      {xlMarquee, taCenter, 100, 40, 55, 55},
  };
  for (const auto& c : cases) {
    XLabelMotion m;
    m.mode = c.mode;
    m.alignment = c.alignment;
    m.width = c.width;
    m.textWidth = c.textWidth;
    m.offset = c.offset;
    EXPECT_EQ(m.startX(), c.expected) << c.mode << "/" << c.alignment;
  }
}

TEST(XLabelMotion, aMarqueeWaitsFortyStepsAfterEachChange) {
  XLabelMotion m;
  m.mode = xlMarquee;
  m.width = 100;
  m.textChanged(150);
  for (int i = 0; i < kMarqueePause; ++i) {
    EXPECT_FALSE(m.step(1)) << i;
    EXPECT_EQ(m.offset, 0);
  }
  EXPECT_TRUE(m.step(1));
  EXPECT_EQ(m.offset, -1);
  m.textChanged(150);  // a new text: the pause starts again
  EXPECT_EQ(m.offset, 0);
  EXPECT_EQ(m.pause, kMarqueePause);
}

TEST(XLabelMotion, aMarqueeLeavesOnTheLeftAndEntersAgainFromTheRight) {
  XLabelMotion m;
  m.mode = xlMarquee;
  m.width = 100;
  m.textChanged(30);
  m.pause = 0;
  m.step(29);
  EXPECT_EQ(m.offset, -29);
  m.step(1);
  EXPECT_EQ(m.offset, 100);
  m.step(5);
  EXPECT_EQ(m.offset, 95);
}

TEST(XLabelMotion, aScrollingTextBouncesBetweenItsEnds) {
  XLabelMotion m;
  m.mode = xlScroll;
  m.width = 100;
  m.textChanged(130);  // ends: -30 and 0
  EXPECT_EQ(m.pause, 0);
  EXPECT_EQ(m.direction, -1);
  m.step(25);
  EXPECT_EQ(m.offset, -25);
  m.step(25);
  EXPECT_EQ(m.offset, -30);
  EXPECT_EQ(m.direction, 1);
  m.step(10);
  EXPECT_EQ(m.offset, -20);
  m.step(50);
  EXPECT_EQ(m.offset, 0);
  EXPECT_EQ(m.direction, -1);
  XLabelMotion fits = m;
  fits.textChanged(60);  // narrower than the label: it stays
  EXPECT_FALSE(fits.step(5));
  EXPECT_EQ(fits.offset, 0);
}

TEST(XLabelMotion, nothingMovesWhileDragged) {
  XLabelMotion m;
  m.mode = xlScroll;
  m.width = 100;
  m.textChanged(200);
  m.beginDrag(50);
  EXPECT_FALSE(m.step(10));
  EXPECT_EQ(m.offset, 0);
}

TEST(XLabelMotion, dragsStopAtTheirEnds) {
  struct Case {
    int mode, from, to, expected;
  } cases[] = {
      {xlScroll, 50, 30, -20},   {xlScroll, 50, -500, -100}, {xlScroll, 50, 500, 0},
      {xlMarquee, 50, -500, -200}, {xlMarquee, 50, 500, 100},  {xlMarquee, 50, 60, 10},
  };
  for (const auto& c : cases) {
    XLabelMotion m;
    m.mode = c.mode;
    m.width = 100;
    m.textChanged(200);
    m.beginDrag(c.from);
    m.dragTo(c.to);
    EXPECT_EQ(m.offset, c.expected) << c.mode << " " << c.to;
  }
  XLabelMotion still;
  still.mode = xlNormal;
  still.beginDrag(10);
  EXPECT_FALSE(still.dragging);  // fixed texts are not dragged
}

TEST(XLabelEllipsis, showsWhereTheTextRunsOut) {
  struct Case {
    int mode, startX, textWidth;
    bool left, right;
    int visibleLeft, visibleRight;
  } cases[] = {
      {xlNormal, -10, 300, false, false, 0, 100},
      {xlShort, 0, 300, false, true, 0, 88},  // "..." of 10 plus 2
      {xlShort, 0, 80, false, false, 0, 100},
      {xlScroll, -50, 300, true, true, 12, 88},
      {xlMarquee, -50, 120, true, false, 12, 100},
  };
  for (const auto& c : cases) {
    XLabelEllipsis e = xlabelEllipsis(c.mode, c.startX, c.textWidth, 100, 10);
    EXPECT_EQ(e.left, c.left);
    EXPECT_EQ(e.right, c.right);
    EXPECT_EQ(e.visibleLeft, c.visibleLeft);
    EXPECT_EQ(e.visibleRight, c.visibleRight);
  }
}

namespace {

const COLORREF kBack = RGB(0, 0, 0), kFont = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0),
               kBlue = RGB(0, 0, 255);

struct Span {
  int first, last;
};

class LabelWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    UI_NEED_DISPLAY();
    parent.reset(CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 300, 40, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(parent);
    ASSERT_TRUE(label.createLabel(parent.get(), "l2", 0, 0, 200, 20));
    label.setBrushColor(kBack);
    label.setColors(kFont, kRed, kGreen, kBlue);
    SkinFontDesc font{"Tahoma", 12, true};
    font.smooth = false;  // exact colours to read back
    label.setFont(font);
  }
  // Colours seen in a column range of the label's picture.
  bool seen(COLORREF color, int x0, int x1) {
    for (int x = x0; x < x1; ++x)
      for (int y = 0; y < 20; ++y)
        if (label.pixel(x, y) == color) return true;
    return false;
  }
  // The columns of the picture where a colour appears: first and last.
  Span span(COLORREF color) {
    int first = -1, last = -1;
    for (int x = 0; x < 200; ++x)
      for (int y = 0; y < 20; ++y)
        if (label.pixel(x, y) == color) {
          if (first < 0) first = x;
          last = x;
        }
    return {first, last};
  }
  zv::UniqueWindow parent;
  TXLabel label;
};

}  // namespace

TEST_F(LabelWindow, markupCharactersColourTheirRuns) {
  label.setText("AAAA\x01" "BBBB\x02" "CCCC");
  auto red = span(kRed), green = span(kGreen), white = span(kFont);
  ASSERT_GE(red.first, 0);
  ASSERT_GE(green.first, 0);
  ASSERT_GE(white.first, 0);
  EXPECT_LT(red.last, green.first);    // A in Color1, then B in Color2,
  EXPECT_LT(green.last, white.first);  // then C in the font colour
  EXPECT_FALSE(seen(kBlue, 0, 200));   // no outline unless asked
}

TEST_F(LabelWindow, theOutlineSurroundsTheTextInItsColour) {
  label.setText("HHHH");
  EXPECT_FALSE(seen(kBlue, 0, 200));
  label.setShadow(true);
  auto blue = span(kBlue), white = span(kFont);
  ASSERT_GE(blue.first, 0);
  EXPECT_LT(blue.first, white.first);  // outline one pixel beyond the text on each side
  EXPECT_GT(blue.last, white.last);
}

TEST_F(LabelWindow, aShortenedTextEndsInAnEllipsisAtTheRightEdge) {
  label.setMode(xlShort);
  label.setText("W\x02W");  // fits: no ellipsis, green only where the run is
  auto fits = span(kGreen);
  label.setText("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  ASSERT_GT(label.motion().textWidth, 200);
  auto dots = span(kGreen);  // "..." is drawn in Color2
  ASSERT_GE(dots.first, 0);
  EXPECT_GE(dots.first, 200 - label.ellipsisWidth() - 2);
  auto text = span(kFont);
  EXPECT_LT(text.last, 200 - label.ellipsisWidth() - 2);  // the text stops before it
  EXPECT_LT(fits.last, 40);
  EXPECT_EQ(label.tooltipText(), "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
  label.setShowHint(false);
  EXPECT_EQ(label.tooltipText(), "");
}

TEST_F(LabelWindow, theTooltipWindowShowsTheWholeTextAndGoesWithTheLabel) {
  const std::string text(60, 'W');
  label.setMode(xlShort);
  label.setText("\x01" + text);
  HWND tip = label.tooltipWindow();
  ASSERT_NE(tip, nullptr);
  char shown[256] = {};
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;
  ti.hwnd = label.hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(label.hwnd());
  ti.lpszText = shown;
  SendMessageA(tip, TTM_GETTEXTA, sizeof(shown), reinterpret_cast<LPARAM>(&ti));
  EXPECT_EQ(std::string(shown), text);  // without the markup character
  label.destroy();
  EXPECT_FALSE(IsWindow(tip));
}

TEST_F(LabelWindow, theTooltipShowsOnlyAShortenedText) {
  label.setText("short");
  label.setMode(xlShort);
  EXPECT_EQ(label.tooltipText(), "");
  label.setMode(xlScroll);
  label.setText(std::string(80, 'M'));
  EXPECT_EQ(label.tooltipText(), "");  // moving texts are not shortened
}

TEST_F(LabelWindow, draggingAScrollingTextThroughMessagesStopsAtItsEnds) {
  label.setMode(xlScroll);
  label.setText(std::string(60, 'M'));
  const int low = 200 - label.motion().textWidth;
  SendMessageA(label.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(100, 5));
  EXPECT_EQ(GetCapture(), label.hwnd());
  const int before = label.redraws();
  SendMessageA(label.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(70, 5));
  EXPECT_EQ(label.motion().offset, -30);
  EXPECT_EQ(label.redraws(), before + 1);
  SendMessageA(label.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(-30000, 5));
  EXPECT_EQ(label.motion().offset, low);
  SendMessageA(label.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(30000, 5));
  EXPECT_EQ(label.motion().offset, 0);
  const int atEnd = label.redraws();
  SendMessageA(label.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(30001, 5));
  EXPECT_EQ(label.redraws(), atEnd);  // no change, no redraw
  SendMessageA(label.hwnd(), WM_LBUTTONUP, 0, at(0, 5));
  EXPECT_NE(GetCapture(), label.hwnd());
  label.step(5);
  EXPECT_EQ(label.motion().offset, -5);  // moving again once released
}

TEST_F(LabelWindow, aMovingTextShowsEllipsesOnTheSidesItOverflows) {
  label.setMode(xlScroll);
  label.setText(std::string(60, 'M'));
  label.step(40);
  auto dots = span(kGreen);
  ASSERT_GE(dots.first, 0);
  EXPECT_LE(dots.first, 2);                                   // left "..."
  EXPECT_GE(dots.last, 200 - label.ellipsisWidth() - 2);      // right "..."
}

TEST_F(LabelWindow, theTextIsDrawnInTheLabelsWindowToo) {
  label.setText("MMMMMMMM\x01");
  UpdateWindow(label.hwnd());
  auto red = span(kRed);
  ASSERT_GE(red.first, 0);
  zv::WindowDc dc(label.hwnd());
  bool found = false;
  for (int x = red.first; x <= red.last && !found; ++x)
    for (int y = 0; y < 20 && !found; ++y) found = GetPixel(dc.get(), x, y) == kRed;
  EXPECT_TRUE(found);
}
