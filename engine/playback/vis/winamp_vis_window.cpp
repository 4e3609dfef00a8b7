#include "playback/vis/winamp_vis_window.h"

#include <cstring>

namespace zv {
namespace {

constexpr char kClassName[] = "Winamp 1.x";

// The version a library finds when it asks (lParam 0).
constexpr LRESULT kHostVersion = 8272;

}  // namespace

bool WinampVisWindow::create(const RECT& rect) {
  destroy();
  info_.title[sizeof(info_.title) - 1] = '\0';
  if (!WindowBase::create({kClassName}, WS_EX_TOOLWINDOW, info_.title, WS_POPUP, rect.left, rect.top,
                          rect.right - rect.left, rect.bottom - rect.top))
    return false;
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  return true;
}

void WinampVisWindow::setSongInfo(const ZvVisSongInfo& info) {
  info_ = info;
  info_.fileName[sizeof(info_.fileName) - 1] = '\0';
  info_.title[sizeof(info_.title) - 1] = '\0';
  if (hwnd()) SetWindowTextA(hwnd(), info_.title);
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

LRESULT WinampVisWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) return answer(wParam, lParam);
  return passOn(message, wParam, lParam);
}

}  // namespace zv
