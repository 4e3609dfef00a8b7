#include "picture_surface.h"

#include "win32/owners.h"

namespace zvplayer {

bool PictureSurface::create(HWND parent) {
  static const zv::WindowClassInfo cls{"ZvVideoPicture", CS_HREDRAW | CS_VREDRAW};
  return zv::WindowBase::create(cls, 0, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent);
}

void PictureSurface::setPictureRect(const RECT& r) {
  if (EqualRect(&r, &picture_)) return;
  picture_ = r;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT PictureSurface::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      zv::PaintDc paint(hwnd());
      RECT client{};
      GetClientRect(hwnd(), &client);
      // The instance draws the picture itself (and again when its rectangle
      // is sent); only the bars around it are ours.
      if (!IsRectEmpty(&picture_)) ExcludeClipRect(paint.get(), picture_.left, picture_.top, picture_.right, picture_.bottom);
      FillRect(paint.get(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      return 0;
    }
    case WM_RBUTTONUP: {
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(hwnd(), &p);
      SendMessageA(GetParent(hwnd()), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd()), MAKELPARAM(p.x, p.y));
      return 0;
    }
    case WM_LBUTTONDOWN:
      SetFocus(GetParent(hwnd()));
      return 0;
    default:
      return passOn(message, wParam, lParam);
  }
}

}  // namespace zvplayer
