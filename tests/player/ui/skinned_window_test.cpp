// The skinned window base through a real window and real mouse messages:
// hit testing, state pictures read back from the window, redraws limited to
// the control that changed, caption drag, run actions, bound children,
// tooltips and the window region.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "skin_loader.h"
#include "skinned_window.h"
#include "testkit.h"
#include "ui_fixture.h"
#include "xlabel.h"

using namespace zv::ui;
using uitest::at;
using uitest::rgbOf;

namespace {

// The picture: window background grey at the top (120 x 60), then the hilite
// (green), down (blue) and hilitedown (yellow) copies of the buttons below.
const uint32_t kBack = 0x202020, kNormal = 0xc00000, kHilite = 0x00c000, kDown = 0x0000c0, kHiliteDown = 0xc0c000;
const uint32_t kOtherNormal = 0x804000;

const char kSkinText[] =
    "name=a\naction=btnA\naction1=btnA1\nshape=10 10 20 20\nhint=Button A\n.\n"
    "name=b\naction=btnB\nshape=25 25 20 20\n.\n"
    "name=grip\nshape=50 0 30 10\n.\n"
    "name=tri\naction=btnTri\nshape=polygon 60 20 80 20 80 40\n.\n"
    "name=roll\naction=rollup\nshape=100 2 10 10\n.\n"
    "name=max\naction=maximize\nshape=100 14 10 10\n.\n"
    "name=bye\naction=close\nshape=100 26 10 10\n.\n"
    "name=cap\naction=caption\nshape=100 40 10 10\n.\n"
    "name=lbl\ntype=control\nshape=!50 44 40 12\ncolor=#FFFFFF\n.\n"
    "name=poly\ntype=control\nshape=polygon 0 40 20 40 10 59\n.\n"
    "name=flat\nfill=color\nshape=50 12 6 6\nnormal=#3366CC\n.\n"
    "name=fade\nfill=gradient\nshape=50 20 8 8\nnormal=FF0000 FF0000 0000FF 0000FF\n"
    "..\ndefsize=120 60\nhilite=0 60\ndown=0 120\nhilitedown=0 180\nrollup=20\n";

PixelImage testPicture() {
  PixelImage img = uitest::solidImage(120, 240, kBack);
  const uint32_t copies[4] = {kNormal, kHilite, kDown, kHiliteDown};
  for (int s = 0; s < 4; ++s) {
    uitest::paintRect(img, 10, 10 + 60 * s, 20, 20, copies[s]);
    uitest::paintRect(img, 25, 25 + 60 * s, 20, 20, s == 0 ? kOtherNormal : copies[s]);
    uitest::paintRect(img, 60, 20 + 60 * s, 20, 20, copies[s]);
  }
  // The background of the normal copy shows b's picture, not a's, where they overlap.
  return img;
}

std::unique_ptr<TSkin> makeTestSkin() {
  std::string dir = zvtest::freshDir("window_skin");
  uitest::writeText(dir + "\\main.skn", kSkinText);
  uitest::writeBmp(dir + "\\main.bmp", testPicture());
  SkinLoadResult r = loadSkin(dir + "\\main.skn", dir + "\\main.bmp");
  return std::move(r.skin);
}

class RecordingWnd : public TSkinnedWnd {
 public:
  using TSkinnedWnd::TSkinnedWnd;
  std::vector<std::pair<std::string, int>> actions;

 protected:
  void runAction(TSkinCtl& ctl, int selector) override {
    actions.emplace_back(ctl.action, selector);
    TSkinnedWnd::runAction(ctl, selector);
  }
};

class SkinnedWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    UI_NEED_DISPLAY();
    skin = makeTestSkin();
    ASSERT_NE(skin, nullptr);
    ASSERT_TRUE(window.createSkinned("test", skin.get()));
    UpdateWindow(window.hwnd());
  }
  COLORREF shown(int x, int y) {
    UpdateWindow(window.hwnd());
    return window.bufferPixel(x, y);
  }
  void move(int x, int y) { SendMessageA(window.hwnd(), WM_MOUSEMOVE, 0, at(x, y)); }
  RECT windowRect() {
    RECT r;
    GetWindowRect(window.hwnd(), &r);
    return r;
  }
  std::unique_ptr<TSkin> skin;
  RecordingWnd window;
};

}  // namespace

TEST_F(SkinnedWindow, drawsTheBackgroundAndEachControlsNormalPicture) {
  EXPECT_EQ(shown(2, 2), rgbOf(kBack));
  EXPECT_EQ(shown(15, 15), rgbOf(kNormal));
  EXPECT_EQ(shown(40, 40), rgbOf(kOtherNormal));
  // The same pixels reach the window itself.
  zv::WindowDc dc(window.hwnd());
  EXPECT_EQ(GetPixel(dc.get(), 15, 15), rgbOf(kNormal));
}

TEST_F(SkinnedWindow, colourAndGradientFillsAreDrawn) {
  EXPECT_EQ(shown(52, 14), rgbOf(0x3366cc));
  EXPECT_EQ(shown(50, 20), rgbOf(0xff0000));  // top left: the first colour
  EXPECT_EQ(shown(57, 27), rgbOf(0x0000ff));  // bottom right: the third
}

TEST_F(SkinnedWindow, aBoundLabelTakesTheControlsTextAttributes) {
  // "lbl": white text; a second skin says red, right-justified.
  std::string dir = zvtest::freshDir("window_label_attrs");
  uitest::writeText(dir + "\\l.skn",
                    "name=lbl\ntype=control\nshape=10 10 100 20\njustify=r\ncolor=FF0000\ntext=MMM\n"
                    "font=Tahoma 10 b\n..\ndefsize=120 60\n");
  uitest::writeBmp(dir + "\\l.bmp", uitest::solidImage(120, 60, 0x000000));
  auto other = loadSkin(dir + "\\l.skn", dir + "\\l.bmp").skin;
  TXLabel label;
  ASSERT_TRUE(label.createLabel(window.hwnd(), "lbl"));
  window.setSkin(other.get());
  window.bindComponent("lbl", label.hwnd());
  EXPECT_EQ(label.text(), "MMM");
  int first = -1, last = -1;
  for (int x = 0; x < 100; ++x)
    for (int y = 0; y < 20; ++y)
      if (GetRValue(label.pixel(x, y)) > 200 && GetGValue(label.pixel(x, y)) < 60) {
        if (first < 0) first = x;
        last = x;
      }
  ASSERT_GE(first, 0);  // drawn in the skin's colour
  EXPECT_GT(first, 50);  // at the right end
  EXPECT_GE(last, 90);
}

TEST_F(SkinnedWindow, hoveringLightsTheControlAndRedrawsOnlyItsRectangle) {
  const int before = window.controlRedraws();
  move(15, 15);
  EXPECT_EQ(window.hotControl(), 0);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(window.hwnd(), &update, FALSE));
  EXPECT_EQ(update.left, 10);
  EXPECT_EQ(update.top, 10);
  EXPECT_EQ(update.right, 30);
  EXPECT_EQ(update.bottom, 30);
  EXPECT_EQ(shown(15, 15), rgbOf(kHilite));
  EXPECT_EQ(window.controlRedraws(), before + 1);
  move(16, 16);  // still the same control: nothing redrawn
  EXPECT_FALSE(GetUpdateRect(window.hwnd(), &update, FALSE));
  EXPECT_EQ(window.controlRedraws(), before + 1);
  move(50, 35);  // off every control
  EXPECT_EQ(window.hotControl(), -1);
  EXPECT_EQ(shown(15, 15), rgbOf(kNormal));
}

TEST_F(SkinnedWindow, theLaterControlWinsWhereTwoOverlap) {
  move(27, 27);
  EXPECT_EQ(window.hotControl(), 1);
  EXPECT_EQ(shown(27, 27), rgbOf(kHilite));
  EXPECT_EQ(shown(12, 12), rgbOf(kNormal));
}

TEST_F(SkinnedWindow, aPolygonControlIsHitOnlyInsideItsOutline) {
  move(78, 22);  // inside the triangle
  EXPECT_EQ(window.hotControl(), 3);
  EXPECT_EQ(shown(78, 22), rgbOf(kHilite));
  move(62, 38);  // inside its bounding box, outside the triangle
  EXPECT_EQ(window.hotControl(), -1);
}

TEST_F(SkinnedWindow, pressingShowsDownExactlyWhileTheMouseIsOverTheControl) {
  move(15, 15);
  SendMessageA(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(15, 15));
  EXPECT_EQ(window.pressedControl(), 0);
  EXPECT_EQ(shown(15, 15), rgbOf(kHiliteDown));
  move(70, 50);  // away while pressed: the down part goes, the hot part stays
  EXPECT_EQ(shown(15, 15), rgbOf(kHilite));
  move(15, 15);
  EXPECT_EQ(shown(15, 15), rgbOf(kHiliteDown));
  move(70, 50);
  SendMessageA(window.hwnd(), WM_LBUTTONUP, 0, at(70, 50));
  EXPECT_TRUE(window.actions.empty());  // released away: nothing runs
  EXPECT_EQ(window.pressedControl(), -1);
  EXPECT_EQ(shown(15, 15), rgbOf(kNormal));
}

TEST_F(SkinnedWindow, releasingOverTheControlRunsItsActionWithTheSelector) {
  uitest::click(window.hwnd(), 15, 15);
  SendMessageA(window.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, at(15, 15));
  SendMessageA(window.hwnd(), WM_RBUTTONUP, 0, at(15, 15));
  uitest::click(window.hwnd(), 15, 15, MK_SHIFT);
  ASSERT_EQ(window.actions.size(), 3u);
  EXPECT_EQ(window.actions[0], std::make_pair(std::string("btnA"), 0));
  EXPECT_EQ(window.actions[1], std::make_pair(std::string("btnA"), 1));
  EXPECT_EQ(window.actions[2], std::make_pair(std::string("btnA"), 1));
  EXPECT_EQ(shown(15, 15), rgbOf(kHilite));  // still under the mouse
}

TEST_F(SkinnedWindow, aPressOnNoControlOrASimpleOrCaptionControlMovesTheWindow) {
  const int presses[][2] = {{5, 5}, {60, 5}, {105, 45}};
  for (const auto& p : presses) {
    RECT before = windowRect();
    SendMessageA(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(p[0], p[1]));
    EXPECT_EQ(window.pressedControl(), -1);
    move(p[0] + 15, p[1] + 7);
    RECT after = windowRect();
    EXPECT_EQ(after.left, before.left + 15);
    EXPECT_EQ(after.top, before.top + 7);
    move(p[0], p[1]);  // the cursor has moved with the window: it stays
    EXPECT_EQ(windowRect().left, after.left);
    SendMessageA(window.hwnd(), WM_LBUTTONUP, 0, at(p[0], p[1]));
  }
  EXPECT_TRUE(window.actions.empty());
}

TEST_F(SkinnedWindow, rollupKeepsTheHeightAndRestoresIt) {
  uitest::click(window.hwnd(), 105, 5);
  EXPECT_TRUE(window.rolledUp());
  EXPECT_EQ(windowRect().bottom - windowRect().top, 20);
  uitest::click(window.hwnd(), 105, 5);
  EXPECT_FALSE(window.rolledUp());
  EXPECT_EQ(windowRect().bottom - windowRect().top, 60);
}

TEST_F(SkinnedWindow, maximizeStretchesDownToTheWorkArea) {
  RECT before = windowRect();
  uitest::click(window.hwnd(), 105, 17);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT after = windowRect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, work.bottom);
}

TEST_F(SkinnedWindow, closeClosesTheWindow) {
  uitest::click(window.hwnd(), 105, 29);
  EXPECT_TRUE(zvtest::waitFor([&] {
    uitest::pump();
    return window.hwnd() == nullptr;
  }, 5000));
}

TEST_F(SkinnedWindow, boundChildrenMoveToTheirControlAndTakeItsShape) {
  TXLabel label;
  ASSERT_TRUE(label.createLabel(window.hwnd(), "lbl"));
  window.bindComponent("lbl", label.hwnd());
  RECT r;
  GetWindowRect(label.hwnd(), &r);
  MapWindowPoints(nullptr, window.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 70);  // 50 from the right edge of 120
  EXPECT_EQ(r.top, 44);
  EXPECT_EQ(r.right - r.left, 40);
  EXPECT_EQ(r.bottom - r.top, 12);

  TXLabel polyChild;
  ASSERT_TRUE(polyChild.createLabel(window.hwnd(), "poly"));
  window.bindComponent("poly", polyChild.hwnd());
  zv::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(polyChild.hwnd(), region.get()), ERROR);
  EXPECT_TRUE(PtInRegion(region.get(), 10, 2));
  EXPECT_FALSE(PtInRegion(region.get(), 1, 17));
}

TEST_F(SkinnedWindow, anyChildWindowCanBeBoundNotOnlyOurOwn) {
  // An EDIT keeps data of its own where our windows keep their object: it
  // must be moved without being taken for a label.
  zv::UniqueWindow edit(CreateWindowExA(0, "EDIT", "x", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, window.hwnd(), nullptr,
                                        nullptr, nullptr));
  SetWindowLongPtrA(edit.get(), 0, 0x1234);
  window.bindComponent("lbl", edit.get());
  RECT r;
  GetWindowRect(edit.get(), &r);
  EXPECT_EQ(r.right - r.left, 40);
  EXPECT_EQ(TXLabel::fromWindow(edit.get()), nullptr);
  EXPECT_EQ(TSkinnedWnd::fromWindow(edit.get()), nullptr);
  EXPECT_EQ(TSkinnedWnd::fromWindow(window.hwnd()), &window);
}

TEST_F(SkinnedWindow, controlsWithAHintGetATooltip) {
  ASSERT_NE(window.tooltipWindow(), nullptr);
  EXPECT_EQ(SendMessageA(window.tooltipWindow(), TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST(SkinnedWindowRegion, theSkinsRegionBecomesTheWindowsOutline) {
  UI_NEED_DISPLAY();
  std::string dir = zvtest::freshDir("window_region");
  uitest::writeText(dir + "\\r.skn", "..\ndefsize=100 50\nregion=0 0 100 0 0 50\n");
  uitest::writeBmp(dir + "\\r.bmp", uitest::solidImage(100, 50, 0x336699));
  auto skin = loadSkin(dir + "\\r.skn", dir + "\\r.bmp").skin;
  TSkinnedWnd window;
  ASSERT_TRUE(window.createSkinned("region", skin.get()));
  zv::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(window.hwnd(), region.get()), ERROR);
  EXPECT_TRUE(PtInRegion(region.get(), 10, 10));
  EXPECT_FALSE(PtInRegion(region.get(), 90, 40));
}

TEST(SkinnedWindowHostile, aSkinWithoutBitmapAndWithWildValuesDrawsAndHitTests) {
  UI_NEED_DISPLAY();
  std::string dir = zvtest::freshDir("window_hostile");
  uitest::writeText(dir + "\\h.skn",
                    "name=a\naction=a\nshape=polygon 1 2 3\nnormal=-500 -500 99999 99999\n.\n"
                    "name=b\naction=b\nshape=0 0 99999 99999\nnormal=99999 99999\n.\n"
                    "name=g\nfill=gradient\nshape=0 0 10 10\n..\ndefsize=80 40\nregion=0 0 5\nhilite=99999 -99999\n");
  auto skin = loadSkin(dir + "\\h.skn", dir + "\\none.bmp").skin;
  ASSERT_NE(skin, nullptr);
  TSkinnedWnd window;
  ASSERT_TRUE(window.createSkinned("hostile", skin.get()));
  UpdateWindow(window.hwnd());
  SendMessageA(window.hwnd(), WM_MOUSEMOVE, 0, at(20, 20));
  EXPECT_EQ(window.hotControl(), 1);
  uitest::click(window.hwnd(), 20, 20);
  UpdateWindow(window.hwnd());
  EXPECT_GT(window.paints(), 0);
}

TEST(SkinnedWindowOwnClass, aWindowOfItsOwnClassIsFoundByThatNameAndStillASkinnedWindow) {
  UI_NEED_DISPLAY();
  std::string dir = zvtest::freshDir("window_own_class");
  uitest::writeText(dir + "\\c.skn", "name=lbl\ntype=control\nshape=0 0 50 20\n..\ndefsize=80 40\n");
  uitest::writeBmp(dir + "\\c.bmp", uitest::solidImage(80, 40, 0x224466));
  auto skin = loadSkin(dir + "\\c.skn", dir + "\\c.bmp").skin;
  TSkinnedWnd window;
  window.useWindowClass("ZvTestOwnSkinnedClass");
  ASSERT_TRUE(window.createSkinned("own class", skin.get()));
  EXPECT_EQ(FindWindowA("ZvTestOwnSkinnedClass", nullptr), window.hwnd());
  EXPECT_EQ(TSkinnedWnd::fromWindow(window.hwnd()), &window);
  // A label on it paints the skin under itself, as on any skinned window.
  TXLabel label;
  ASSERT_TRUE(label.createLabel(window.hwnd(), "lbl"));
  window.bindComponent("lbl", label.hwnd());
  label.redraw();
  EXPECT_EQ(label.pixel(45, 18), uitest::rgbOf(0x224466));
}
