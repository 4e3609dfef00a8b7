// The display panel of the main window: a child window bound to the skin's
// "vis" control that the engine's `vis` instance draws into, with the
// "visData" settings completed by the skin (bar style, bar count, colours,
// the folder of its display pictures).
#pragma once
#include <functional>

#include "menus/vis_data.h"
#include "skin_model.h"
#include "win32/window_base.h"

namespace zv {

class TVisPanel : public WindowBase {
 public:
  bool open(HWND parent);
  // Hands the window and the settings for `skin` to the instance.
  void attach(ZvTarget instance, const VisData& settings, const ui::TSkin& skin);
  void detach();
  // A click (and a double click) on the panel, for the owner's menu.
  std::function<void(bool doubleClick)> onClick;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ZvTarget instance_ = 0;
};

// "visData" with the skin's display keys applied.
VisData visDataForSkin(const VisData& settings, const ui::TSkin& skin);

}  // namespace zv
