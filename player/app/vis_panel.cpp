#include "vis_panel.h"

#include <cstring>

#include "skin_text.h"
#include "skinned_window.h"

namespace zv {
namespace {

const WindowClassInfo kVisPanelClass{"ZvVisPanel", CS_DBLCLKS};

// Skin colours are RRGGBB; the display takes 0x00BBGGRR.
bool skinColour(const ui::TSkin& skin, const char* key, uint32_t& out) {
  const std::string v = skin.attr(key);
  if (v.empty()) return false;
  out = static_cast<uint32_t>(ui::parseSkinColor(v));
  return true;
}

}  // namespace

VisData visDataForSkin(const VisData& settings, const ui::TSkin& skin) {
  VisData d = settings;
  const bool bars = ui::toLowerAscii(skin.attr("vistype")) == "bitmap";
  d.style = bars ? ZV_VIS_STYLE_BARS : 0;
  d.barCount = bars ? ui::parseSkinNumber(skin.attr("nbars")).value : 0;
  const char* spectrum[3] = {"visc1", "visc2", "visc3"};
  const char* scope[3] = {"oscc1", "oscc2", "oscc3"};
  for (int i = 0; i < 3; ++i) {
    skinColour(skin, spectrum[i], d.gradient1[i]);
    skinColour(skin, scope[i], d.gradient2[i]);
  }
  skinColour(skin, "visc4", d.color);
  std::string folder = skin.folder;
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  std::memset(d.skinDir, 0, sizeof(d.skinDir));
  std::strncpy(d.skinDir, folder.c_str(), sizeof(d.skinDir) - 1);
  return d;
}

bool TVisPanel::open(HWND parent) {
  return create(kVisPanelClass, 0, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 10, 10, parent);
}

void TVisPanel::attach(ZvTarget instance, const VisData& settings, const ui::TSkin& skin) {
  instance_ = instance;
  if (!instance_ || !hwnd()) return;
  const VisData d = visDataForSkin(settings, skin);
  pluginMsg(instance_, msgVisSettings, &d, sizeof(d));
  ZvWindowPrm prm{hwnd()};
  pluginMsg(instance_, msgVisWindow, &prm, sizeof(prm));
}

void TVisPanel::detach() {
  if (!instance_) return;
  ZvWindowPrm prm{nullptr};
  pluginMsg(instance_, msgVisWindow, &prm, sizeof(prm));
  instance_ = 0;
}

LRESULT TVisPanel::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  // The instance paints the whole panel; the parent's skin shows until it does.
  if (message == WM_ERASEBKGND) return 1;
  if ((message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_LBUTTONDBLCLK) && onClick) {
    onClick(message == WM_LBUTTONDBLCLK);
    return 0;
  }
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    if (ui::TSkinnedWnd* parent = ui::TSkinnedWnd::fromWindow(GetParent(hwnd()))) {
      RECT area;
      GetClientRect(hwnd(), &area);
      MapWindowPoints(hwnd(), parent->hwnd(), reinterpret_cast<POINT*>(&area), 2);
      parent->paintBackgroundPart(dc, area);
    }
    EndPaint(hwnd(), &ps);
    return 0;
  }
  return passOn(message, wParam, lParam);
}

}  // namespace zv
