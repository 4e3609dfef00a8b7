// Shared by the About and auto-play window tests: an owner window and clicks at an element.
#pragma once
#include <windows.h>

#include "testkit.h"
#include <gtest/gtest.h>

#include "win32/window_base.h"

namespace wintest {

// A plain top-level window to own the window under test.
class Owner : public zv::WindowBase {
 public:
  Owner() { create(zv::WindowClassInfo{"ZvTestOwner"}, 0, "Owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100); }
};

inline LPARAM centreOf(const RECT& r) { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// A click handled now.
inline void sendClick(HWND window, const RECT& r) {
  SendMessageA(window, WM_MOUSEMOVE, 0, centreOf(r));
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, centreOf(r));
  SendMessageA(window, WM_LBUTTONUP, 0, centreOf(r));
}

// A click that a message loop run later handles.
inline void postClick(HWND window, const RECT& r) {
  PostMessageA(window, WM_MOUSEMOVE, 0, centreOf(r));
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, centreOf(r));
  PostMessageA(window, WM_LBUTTONUP, 0, centreOf(r));
}

}  // namespace wintest

#ifndef WINDOWS_NEED_DISPLAY
#define WINDOWS_NEED_DISPLAY() \
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display: window tests need Xvfb"
#endif
