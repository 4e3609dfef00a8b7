// The program's own controls as window-less elements of a real skinned
// window: mouse and keys through messages, Tab order across elements and an
// EDIT child, pictures from "controls\*.bmp" made by the test, and the plain
// pictures when the art is missing.
#include <gtest/gtest.h>

#include "frame_window.h"
#include "own_controls.h"
#include "skinned_window.h"
#include "testkit.h"
#include "ui_fixture.h"

using namespace zv::ui;
using uitest::at;
using uitest::rgbOf;

namespace {

class ControlsWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    UI_NEED_DISPLAY();
    controlArt().load(zvtest::freshDir("no_art"));  // no pictures: the plain ones
    ASSERT_TRUE(window.createSkinned("controls", nullptr));
    SetWindowPos(window.hwnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    SetForegroundWindow(window.hwnd());
    SetFocus(window.hwnd());
  }
  void press(int x, int y) { SendMessageA(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(x, y)); }
  void drag(int x, int y) { SendMessageA(window.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(x, y)); }
  void release(int x, int y) { SendMessageA(window.hwnd(), WM_LBUTTONUP, 0, at(x, y)); }
  void key(UINT vk) { SendMessageA(window.hwnd(), WM_KEYDOWN, vk, 0); }
  TSkinnedWnd window;
};

}  // namespace

TEST_F(ControlsWindow, aButtonClicksOnlyWhenReleasedOverIt) {
  int clicks = 0;
  auto& button = window.addElement<TZButton>("OK");
  button.setRect({10, 10, 90, 34});
  button.onClick = [&] { ++clicks; };
  press(20, 20);
  EXPECT_TRUE(button.pressed());
  drag(200, 150);
  EXPECT_FALSE(button.pressed());
  release(200, 150);
  EXPECT_EQ(clicks, 0);
  uitest::click(window.hwnd(), 20, 20);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(button.focused());
  key(VK_SPACE);
  key(VK_RETURN);
  EXPECT_EQ(clicks, 3);
  button.setEnabled(false);
  uitest::click(window.hwnd(), 20, 20);
  EXPECT_EQ(clicks, 3);
}

TEST_F(ControlsWindow, aCheckBoxTogglesByMouseAndSpace) {
  std::vector<bool> changes;
  auto& check = window.addElement<TZCheck>("Start playing", true);
  check.setRect({10, 40, 200, 60});
  check.onChange = [&](bool on) { changes.push_back(on); };
  uitest::click(window.hwnd(), 15, 50);
  EXPECT_FALSE(check.checked());
  key(VK_SPACE);
  EXPECT_TRUE(check.checked());
  EXPECT_EQ(changes, (std::vector<bool>{false, true}));
}

TEST_F(ControlsWindow, aSliderFollowsTheMouseAndKeysWithinItsRange) {
  std::vector<int> values;
  auto& slider = window.addElement<TZSlider>(0, 100, 50);
  slider.setRect({10, 70, 210, 90});
  slider.onChange = [&](int v) { values.push_back(v); };
  press(10, 80);
  EXPECT_EQ(slider.value(), 0);
  drag(5000, 80);
  EXPECT_EQ(slider.value(), 100);
  release(5000, 80);
  key(VK_LEFT);
  EXPECT_EQ(slider.value(), 99);
  key(VK_HOME);
  EXPECT_EQ(slider.value(), 0);
  key(VK_LEFT);  // at the end: no change, no event
  EXPECT_EQ(values, (std::vector<int>{0, 100, 99, 0}));
}

TEST_F(ControlsWindow, aVerticalSliderRisesFromItsBottom) {
  auto& slider = window.addElement<TZSlider>(-12, 12, 0, true);
  slider.setRect({250, 10, 270, 190});
  press(260, 189);
  EXPECT_EQ(slider.value(), -12);
  drag(260, 10);
  EXPECT_EQ(slider.value(), 12);
  drag(260, 100);
  EXPECT_EQ(slider.value(), 0);
  release(260, 100);
  RECT thumb = slider.thumbRect();
  EXPECT_NEAR((thumb.top + thumb.bottom) / 2, 100, 2);
}

TEST_F(ControlsWindow, aKnobShowsTheCellOfItsPositionFromTheKnobPicture) {
  // Three positions of 10 x 10 cells, four rows (normal, hilite, down,
  // hilitedown); each position its own colour in the normal row.
  std::string root = zvtest::freshDir("knob_art");
  CreateDirectoryA((root + "\\skins").c_str(), nullptr);
  CreateDirectoryA((root + "\\skins\\controls").c_str(), nullptr);
  PixelImage art = uitest::solidImage(30, 40, 0x202020);
  uitest::paintRect(art, 0, 0, 10, 10, 0xff0000);
  uitest::paintRect(art, 10, 0, 10, 10, 0x00ff00);
  uitest::paintRect(art, 20, 0, 10, 10, 0x0000ff);
  ASSERT_TRUE(uitest::writeBmp(root + "\\skins\\controls\\knob.bmp", art));
  controlArt().load(root);
  auto& knob = window.addElement<TZKnob>(0, 100, 0);
  knob.setRect({100, 100, 120, 120});
  const std::pair<int, uint32_t> expected[] = {{0, 0xff0000}, {40, 0x00ff00}, {60, 0x00ff00}, {100, 0x0000ff}};
  for (const auto& [value, colour] : expected) {
    knob.setValue(value);
    window.renderAll();
    EXPECT_EQ(window.bufferPixel(110, 110), rgbOf(colour)) << value;
  }
  controlArt().load(zvtest::freshDir("no_art"));
}

TEST_F(ControlsWindow, aKnobTurnsByDraggingUpAndDown) {
  auto& knob = window.addElement<TZKnob>(0, 150, 75);
  knob.setRect({220, 20, 260, 60});
  press(240, 40);
  drag(240, 20);  // 20 pixels up of 150 for the whole range
  EXPECT_EQ(knob.value(), 95);
  drag(240, 1000);
  EXPECT_EQ(knob.value(), 0);
  release(240, 1000);
  key(VK_END);
  EXPECT_EQ(knob.value(), 150);
}

TEST_F(ControlsWindow, tabMovesTheFocusThroughElementsAndAnEditChildInOrder) {
  auto& first = window.addElement<TZButton>("first");
  first.setRect({10, 10, 60, 30});
  window.addElement<TZText>("not focusable").setRect({10, 35, 60, 45});
  auto& second = window.addElement<TZCheck>("second");
  second.setRect({10, 50, 100, 70});
  zv::UniqueWindow edit(CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 80, 100, 20,
                                        window.hwnd(), nullptr, nullptr, nullptr));
  window.addTabStop(edit.get());
  key(VK_TAB);
  EXPECT_TRUE(first.focused());
  key(VK_TAB);
  EXPECT_TRUE(second.focused());
  key(VK_TAB);
  EXPECT_EQ(GetFocus(), edit.get());
  EXPECT_FALSE(second.focused());
  // A Tab typed into the EDIT goes through the message loop's translation.
  MSG msg{edit.get(), WM_KEYDOWN, VK_TAB, 0};
  EXPECT_TRUE(TSkinnedWnd::translateUiMessage(msg));
  EXPECT_TRUE(first.focused());
}

TEST_F(ControlsWindow, elementsTakeTheirPlaceFromTheSkinByName) {
  std::string dir = zvtest::freshDir("controls_skin");
  uitest::writeText(dir + "\\c.skn", "name=volume\ntype=control\nshape=!110 10 100 16\nhint=Volume\n..\ndefsize=300 200");
  auto skin = loadSkin(dir + "\\c.skn", dir + "\\none.bmp").skin;
  window.setSkin(skin.get());
  auto& slider = window.addElement<TZSlider>();
  ASSERT_TRUE(window.placeFromSkin(slider, "volume"));
  EXPECT_EQ(slider.rect().left, 190);
  EXPECT_EQ(slider.rect().right, 290);
  EXPECT_EQ(slider.hint(), "Volume");
  EXPECT_FALSE(window.placeFromSkin(slider, "nothing"));
  ASSERT_NE(window.tooltipWindow(), nullptr);
}

TEST_F(ControlsWindow, aButtonDrawsItsStatesFromTheButtonPicture) {
  // Five rows of 8 pixels: normal red, hilite green, down blue, hilitedown
  // yellow, disabled grey.
  std::string root = zvtest::freshDir("controls_art");
  CreateDirectoryA((root + "\\skins").c_str(), nullptr);
  CreateDirectoryA((root + "\\skins\\controls").c_str(), nullptr);
  PixelImage art = uitest::solidImage(8, 40, 0xff0000);
  uitest::paintRect(art, 0, 8, 8, 8, 0x00ff00);
  uitest::paintRect(art, 0, 16, 8, 8, 0x0000ff);
  uitest::paintRect(art, 0, 24, 8, 8, 0xffff00);
  uitest::paintRect(art, 0, 32, 8, 8, 0x808080);
  ASSERT_TRUE(uitest::writeBmp(root + "\\skins\\controls\\button.bmp", art));
  controlArt().load(root);
  auto& button = window.addElement<TZButton>("");
  button.setRect({20, 20, 80, 44});
  auto shown = [&] {
    window.renderAll();
    return window.bufferPixel(30, 25);
  };
  EXPECT_EQ(shown(), rgbOf(0xff0000));
  SendMessageA(window.hwnd(), WM_MOUSEMOVE, 0, at(30, 30));
  EXPECT_EQ(shown(), rgbOf(0x00ff00));
  press(30, 30);
  EXPECT_EQ(shown(), rgbOf(0xffff00));  // pressed under the mouse: hilitedown
  drag(200, 150);
  SendMessageA(window.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(30, 30));
  EXPECT_EQ(shown(), rgbOf(0xffff00));
  release(30, 30);
  button.setEnabled(false);
  EXPECT_EQ(shown(), rgbOf(0x808080));
  controlArt().load(zvtest::freshDir("no_art"));
}

TEST_F(ControlsWindow, withoutArtEveryControlStillDrawsSomething) {
  window.addElement<TZButton>("OK").setRect({10, 10, 60, 30});
  window.addElement<TZCheck>("c", true).setRect({10, 40, 60, 60});
  window.addElement<TZSlider>(0, 10, 5).setRect({10, 70, 110, 90});
  window.addElement<TZKnob>(0, 10, 5).setRect({120, 10, 160, 50});
  window.addElement<TZPicture>(&controlArt().confirm).setRect({170, 10, 210, 50});
  window.renderAll();
  const COLORREF background = window.bufferPixel(295, 195);
  const int probes[][2] = {{35, 12}, {17, 50}, {60, 80}, {140, 30}, {190, 30}};
  for (const auto& p : probes) EXPECT_NE(window.bufferPixel(p[0], p[1]), background) << p[0] << "," << p[1];
}

TEST(FrameWindow, thePlainFrameWorksWithoutArtAndStretchesToItsClient) {
  UI_NEED_DISPLAY();
  TFrameWnd frame("", FrameKind::sizeable);
  ASSERT_TRUE(frame.createFrame(zvtest::freshDir("frame_none"), "Playlist", {400, 300}));
  RECT client = frame.clientRect();
  EXPECT_EQ(client.right - client.left, 400);
  EXPECT_EQ(client.bottom - client.top, 300);
  frame.renderAll();
  SIZE s = frame.clientSize();
  // The close button sits at the top right corner however wide the frame is.
  const TSkinCtl* close = frame.skin()->findControl("close");
  ASSERT_NE(close, nullptr);
  RECT r = close->bounds(s.cx, s.cy);
  EXPECT_EQ(r.right, s.cx - 6);
  // Sizeable: the border sizes the window, the inside does not.
  RECT w;
  GetWindowRect(frame.hwnd(), &w);
  EXPECT_EQ(SendMessageA(frame.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(w.left + 1, w.top + 1)), HTTOPLEFT);
  EXPECT_EQ(SendMessageA(frame.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(w.right - 2, w.top + 100)), HTRIGHT);
  EXPECT_EQ(SendMessageA(frame.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(w.left + 100, w.top + 100)), HTCLIENT);
}

TEST(FrameWindow, aFrameSkinFromFilesIsUsedAndItsButtonsRunTheBaseActions) {
  UI_NEED_DISPLAY();
  std::string root = zvtest::freshDir("frame_files");
  CreateDirectoryA((root + "\\skins").c_str(), nullptr);
  uitest::writeText(root + "\\skins\\window.skn",
                    "name=rollup\naction=rollup\nshape=!20 2 16 16\n..\ndefsize=100 60\nclient=4 20 !4 !4\n"
                    "caption=4 2 !24 16\nrollup=20\n");
  PixelImage picture = uitest::solidImage(100, 60, 0x3366cc);
  ASSERT_TRUE(uitest::writeBmp(root + "\\skins\\window.bmp", picture));
  TFrameWnd frame("", FrameKind::fixed);
  ASSERT_TRUE(frame.createFrame(root, "Info"));
  frame.renderAll();
  EXPECT_EQ(frame.bufferPixel(50, 10), rgbOf(0x3366cc));
  RECT client = frame.clientRect();
  EXPECT_EQ(client.left, 4);
  EXPECT_EQ(client.top, 20);
  uitest::click(frame.hwnd(), 90, 8);
  EXPECT_TRUE(frame.rolledUp());
  RECT r;
  GetWindowRect(frame.hwnd(), &r);
  EXPECT_EQ(r.bottom - r.top, 20);
}
