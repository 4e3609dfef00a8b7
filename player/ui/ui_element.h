// Window-less elements: the program's own controls live inside a skinned
// window as objects that the window hit-tests, paints and feeds with mouse
// and key events. One window procedure serves all of them.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace zv::ui {

class ElementHost {
 public:
  virtual ~ElementHost() = default;
  // Redraws that part of the host window (through its off-screen buffer).
  virtual void invalidateRect(const RECT& r) = 0;
  virtual HWND hostWindow() const = 0;
  virtual bool hasFocus(const class UiElement* element) const = 0;
};

class UiElement {
 public:
  virtual ~UiElement() = default;

  const RECT& rect() const { return rect_; }
  void setRect(const RECT& r) {
    invalidate();
    rect_ = r;
    invalidate();
  }
  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  const std::string& hint() const { return hint_; }
  void setHint(std::string hint) { hint_ = std::move(hint); }
  bool enabled() const { return enabled_; }
  void setEnabled(bool on) {
    if (enabled_ != on) enabled_ = on, invalidate();
  }
  bool visible() const { return visible_; }
  void setVisible(bool on) {
    if (visible_ != on) invalidateAlways(), visible_ = on;
  }
  bool hot() const { return hot_; }
  bool focused() const { return host_ && host_->hasFocus(this); }
  void attach(ElementHost* host) { host_ = host; }

  // Takes part in the Tab order and receives keys when focused.
  virtual bool focusable() const { return false; }
  virtual void paint(HDC dc) = 0;
  virtual void mouseDown(POINT, bool /*right*/) {}
  // While the element holds the mouse (after mouseDown): `over` tells
  // whether the point is inside it.
  virtual void mouseDrag(POINT, bool /*over*/) {}
  virtual void mouseUp(POINT, bool /*over*/, bool /*right*/) {}
  virtual void mouseWheel(int /*delta*/) {}
  // True when the key was used.
  virtual bool key(UINT /*vk*/) { return false; }
  virtual void setHot(bool on) {
    if (hot_ != on) hot_ = on, invalidate();
  }
  virtual void focusChanged() { invalidate(); }

  void invalidate() {
    if (host_ && visible_) host_->invalidateRect(rect_);
  }

 protected:
  ElementHost* host() const { return host_; }
  void invalidateAlways() {
    if (host_) host_->invalidateRect(rect_);
  }

 private:
  ElementHost* host_ = nullptr;
  RECT rect_{0, 0, 0, 0};
  std::string name_, hint_;
  bool enabled_ = true, visible_ = true, hot_ = false;
};

}  // namespace zv::ui
