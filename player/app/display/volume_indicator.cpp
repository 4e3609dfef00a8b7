#include "display/volume_indicator.h"

#include <algorithm>

#include "gdi_text.h"

namespace zv {
namespace {

const WindowClassInfo kIndicatorClass{"ZV_VolumeIndicator", 0};
constexpr UINT_PTR kHideTimer = 1;
constexpr int kWidth = 220, kHeight = 44;
// The default skin's colours: dark face, teal bar.
constexpr COLORREF kFace = RGB(0x2A, 0x2E, 0x37), kEdge = RGB(0x46, 0x4C, 0x58), kText = RGB(0xF2, 0xF4, 0xF7),
                   kBar = RGB(0x2E, 0xC4, 0xB6), kGroove = RGB(0x1B, 0x1E, 0x24);

}  // namespace

std::string volumeText(int volume, bool muted) {
  if (muted) return "Muted";
  const int percent = (std::clamp(volume, 0, 65535) * 100 + 32767) / 65535;
  return "Volume " + std::to_string(percent) + "%";
}

void VolumeIndicator::show(int volume, bool muted) {
  volume_ = std::clamp(volume, 0, 65535);
  muted_ = muted;
  if (!hwnd()) {
    RECT work{0, 0, 800, 600};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int x = (work.left + work.right - kWidth) / 2, y = work.bottom - kHeight - 48;
    if (!create(kIndicatorClass, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, "", WS_POPUP, x, y, kWidth,
                kHeight))
      return;
    font_.reset(CreateFontA(-13, 0, 0, 0, FW_SEMIBOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "Tahoma"));
  }
  SetWindowTextA(hwnd(), volumeText(volume_, muted_).c_str());
  InvalidateRect(hwnd(), nullptr, FALSE);
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  SetTimer(hwnd(), kHideTimer, kShownMs, nullptr);
}

void VolumeIndicator::paint(HDC dc) {
  RECT r{0, 0, kWidth, kHeight};
  UniqueBrush face(CreateSolidBrush(kFace)), edge(CreateSolidBrush(kEdge)), bar(CreateSolidBrush(muted_ ? kEdge : kBar)),
      groove(CreateSolidBrush(kGroove));
  FillRect(dc, &r, face.get());
  FrameRect(dc, &r, edge.get());
  RECT text{12, 4, kWidth - 12, 24};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kText);
  SelectedObject keep(dc, font_.get());
  const std::string shown = volumeText(volume_, muted_);
  ui::drawActiveText(dc, shown.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  RECT track{12, 28, kWidth - 12, 34};
  FillRect(dc, &track, groove.get());
  RECT filled = track;
  filled.right = track.left + (track.right - track.left) * volume_ / 65535;
  FillRect(dc, &filled, bar.get());
}

LRESULT VolumeIndicator::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintDc dc(hwnd());
      paint(dc.get());
      return 0;
    }
    case WM_TIMER:
      if (wParam == kHideTimer) {
        KillTimer(hwnd(), kHideTimer);
        ShowWindow(hwnd(), SW_HIDE);
      }
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcA(hwnd(), message, wParam, lParam);
  }
}

}  // namespace zv
