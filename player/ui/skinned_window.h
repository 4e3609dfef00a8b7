// TSkinnedWnd: the skinned window base every window of the player stands on.
// It draws its skin (background, then each control's state picture) through
// an off-screen buffer, hit-tests the skin's controls from the last to the
// first, keeps the hot and pressed control (redrawing only a control whose
// state changed), moves the window from its caption, sizes it by its border
// when sizeable, runs the base actions ("close", "minimize", "rollup",
// "maximize"), binds child windows to controls of type control, gives
// controls with a "hint" a tooltip, hosts the program's own window-less
// controls with focus and Tab order, and keeps its position in the registry.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin_model.h"
#include "ui_element.h"
#include "win32/owners.h"
#include "win32/window_base.h"

namespace zv::ui {

class TSkinnedWnd : public WindowBase, public ElementHost {
 public:
  // `posName` names the window's stored position (empty: not stored).
  explicit TSkinnedWnd(std::string posName = {}, bool sizeable = false);
  ~TSkinnedWnd() override;

  // Creates the window at its stored (or centred) position with the skin's
  // default size. `owner` may be null. The skin may be null (set later).
  bool createSkinned(const char* title, const TSkin* skin, HWND owner = nullptr, bool visible = true);
  // Before createSkinned: a window class of its own (a name other programs
  // look for, such as the player's main window). The text must live as long
  // as the program.
  void useWindowClass(const char* className) { className_ = className; }

  // Takes a new skin (not owned: it must outlive its use here): resizes the
  // window to the default size, sets the region, lays out bound children and
  // tooltips and repaints.
  void setSkin(const TSkin* skin, bool resize = true);
  const TSkin* skin() const { return skin_; }

  // Binds a child window to the skin's control of the same name (of type
  // control); it is moved to the control's rectangle at every layout.
  void bindComponent(const std::string& name, HWND child);

  // Own controls, on top of the skin's controls, in Tab order of adding.
  template <class T, class... Args>
  T& addElement(Args&&... args) {
    auto element = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *element;
    adoptElement(std::move(element));
    return ref;
  }
  UiElement* findElement(const std::string& name) const;
  // Puts an element at the rectangle of the skin control of that name
  // (false when the skin has no such control).
  bool placeFromSkin(UiElement& element, const std::string& controlName);
  // A real child window (an EDIT) that takes part in the Tab order.
  void addTabStop(HWND child);
  // Moves the keyboard focus on (or back) through elements and tab stops.
  void focusNext(bool backwards);
  UiElement* focusedElement() const;
  void setFocusElement(UiElement* element);

  // Control state changes through the state rules; redraws the control
  // only when its state changed.
  void setControlHilite(int index, bool on);
  void setControlDown(int index, bool on);
  int hotControl() const { return hot_; }
  int pressedControl() const { return pressed_; }

  // Base actions.
  bool rolledUp() const { return rolledUp_; }
  void toggleRollup();
  void maximizeToWorkArea();

  // Client size (the whole window: skinned windows have no frame of the system).
  SIZE clientSize() const;

  // The off-screen buffer as last painted (tests and the screenshot tool read
  // it back); 0 outside it.
  COLORREF bufferPixel(int x, int y) const;
  // Renders the whole window into the buffer now (no screen involved).
  void renderAll();

  // Counters for tests and benchmarks: controls redrawn by state changes and
  // paints done.
  int controlRedraws() const { return controlRedraws_; }
  int paints() const { return paints_; }
  const RECT& lastInvalidated() const { return lastInvalidated_; }

  void storePosition();
  // The tooltip window of the controls' hints (null when none has a hint).
  HWND tooltipWindow() const { return tooltip_.get(); }

  // Draws the skin under `area` (window coordinates) into `dc` at (0, 0):
  // the background of a child label that shows through.
  void paintBackgroundPart(HDC dc, const RECT& area);

  // The skinned window object of a window, or null when the window is not
  // one (its class is checked before its extra bytes are trusted).
  static TSkinnedWnd* fromWindow(HWND window);

  // Sends Tab and Shift+Tab to the skinned window that owns the focused
  // child; call from the message loop before TranslateMessage. True when
  // the message was used.
  static bool translateUiMessage(MSG& msg);

  // ElementHost
  void invalidateRect(const RECT& r) override;
  HWND hostWindow() const override { return hwnd(); }
  bool hasFocus(const UiElement* element) const override;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Runs a control's action; selector 1 for the right button or Shift, else
  // 0. The base knows "close", "minimize", "rollup" and "maximize".
  virtual void runAction(TSkinCtl& ctl, int selector);
  // Drawing: the skin (background and controls), then the elements. Derived
  // windows (frames) replace paintSkin and may draw more in paintOver.
  // `area`: the part being drawn (window coordinates); what lies outside
  // it may be skipped.
  virtual void paintSkin(HDC dc, int width, int height, const RECT& area);
  virtual void paintOver(HDC, int, int) {}
  // Called after the window got a new size or skin.
  virtual void layout();
  // The height of the rolled-up window: the skin value "rollup".
  virtual int rollupHeight() const;
  // The rectangle at which a control of the skin lies (far edges resolved
  // against the window).
  RECT controlRect(const TSkinCtl& ctl) const;
  TSkin* mutableSkin() const { return const_cast<TSkin*>(skin_); }
  // The tooltip of a skin control (empty: none): by default its "hint".
  virtual std::string controlTooltip(const TSkinCtl& ctl) const { return ctl.attr("hint"); }
  // Builds the tooltips again, after the texts they come from changed.
  void refreshTooltips() { rebuildTooltips(); }
  int borderWidth() const { return sizeable_ ? 5 : 0; }
  bool sizeable() const { return sizeable_; }

 private:
  void adoptElement(std::unique_ptr<UiElement> element);
  void onPaint();
  void onSize();
  void onMouseDown(POINT p, bool right);
  void onMouseMove(POINT p, WPARAM keys);
  void onMouseUp(POINT p, bool right, WPARAM keys);
  void onMouseLeave();
  LRESULT onHitTest(LPARAM lParam);
  bool onKey(UINT vk);
  void applyRegion();
  void layoutChildren();
  void rebuildTooltips();
  UiElement* elementAt(POINT p) const;
  void setHot(int index);
  void setHotElement(UiElement* element);
  void invalidateControl(int index);
  void ensureBuffer(int width, int height);

  std::string posName_;
  const char* className_ = nullptr;  // null: the toolkit's own class
  bool sizeable_;
  const TSkin* skin_ = nullptr;
  std::vector<std::pair<std::string, HWND>> bound_;
  std::vector<std::unique_ptr<UiElement>> elements_;
  std::vector<HWND> tabStops_;
  int focus_ = -1;  // index into the focus chain (elements, then tab stops)
  int hot_ = -1, pressed_ = -1;
  UiElement* hotElement_ = nullptr;
  UiElement* mouseElement_ = nullptr;  // the element holding the mouse
  bool dragging_ = false;
  POINT dragStart_{}, windowStart_{};
  bool tracking_ = false;
  bool rolledUp_ = false;
  int unrolledHeight_ = 0;
  UniqueWindow tooltip_;
  UniqueMemoryDc bufferDc_;
  UniqueBitmap buffer_;
  uint32_t* bufferBits_ = nullptr;
  SIZE bufferSize_{0, 0};
  int controlRedraws_ = 0, paints_ = 0;
  RECT lastInvalidated_{};
};

bool isOurWindowClass(HWND window, const char* className);

// The memory held by the off-screen buffers of every skinned window.
int64_t graphicsBufferBytes();

// The program's root folder: the folder of the program file in lower case
// with a final "\bin" cut off (no final "\").
std::string uiRootDir();

}  // namespace zv::ui
