#include "playback/vis/winamp_vis_window.h"

#include <cstring>

#include "foundation/engine_module.h"

namespace zv {
namespace {

constexpr char kClassName[] = "Winamp 1.x";

// The version a library finds when it asks (lParam 0).
constexpr LRESULT kHostVersion = 8272;

bool registerClassOnce() {
  WNDCLASSA wc = {};
  if (GetClassInfoA(engineModule(), kClassName, &wc)) return true;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = engineModule();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  // The real procedure is set per window once its object is bound.
  return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

bool WinampVisWindow::create(const RECT& rect) {
  destroy();
  if (!registerClassOnce()) return false;
  info_.title[sizeof(info_.title) - 1] = '\0';
  window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, info_.title, WS_POPUP, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, engineModule(), nullptr);
  if (!window_) return false;
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WinampVisWindow::windowProc));
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  return true;
}

void WinampVisWindow::destroy() {
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
}

void WinampVisWindow::setSongInfo(const ZvVisSongInfo& info) {
  info_ = info;
  info_.fileName[sizeof(info_.fileName) - 1] = '\0';
  info_.title[sizeof(info_.title) - 1] = '\0';
  if (window_) SetWindowTextA(window_, info_.title);
}

LRESULT WinampVisWindow::answer(WPARAM wParam, LPARAM lParam) {
  switch (lParam) {
    case 0: return kHostVersion;
    case 104: return info_.playing;
    case 105: return wParam == 0 ? info_.positionMs : wParam == 1 ? info_.lengthMs / 1000 : 0;
    case 124: return 1;
    case 126: return wParam == 0 ? info_.sampleRate : wParam == 1 ? info_.bitrate : wParam == 2 ? info_.channels : 0;
    case 201: return reinterpret_cast<LRESULT>(emptyText_);
    case 211:
      std::memcpy(fileNameCopy_, info_.fileName, sizeof(fileNameCopy_));
      return reinterpret_cast<LRESULT>(fileNameCopy_);
    case 212:
      std::memcpy(titleCopy_, info_.title, sizeof(titleCopy_));
      return reinterpret_cast<LRESULT>(titleCopy_);
    default: return 0;
  }
}

LRESULT CALLBACK WinampVisWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<WinampVisWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_USER && self) return self->answer(wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace zv
