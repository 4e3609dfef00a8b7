#include "windows_fixture.h"

#include <mutex>

#include "zv_config.h"
#include "zv_plugins.h"

namespace wtest {

void ensureEngine() {
  static std::once_flag once;
  std::call_once(once, [] {
    setConfigMode("zvtest_player_windows", 0);
    initPlugins();
  });
}

double moment(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  return zv::timer::momentOf(t);
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void press(HWND window, POINT p) {
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
}

void release(HWND window, POINT p) {
  SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

void click(HWND window, POINT p) {
  press(window, p);
  release(window, p);
}

POINT centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace wtest
