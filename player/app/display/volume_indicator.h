// The on-screen volume indicator (window class "ZV_VolumeIndicator"): a
// small bar near the bottom of the screen that shows the master volume and
// mute for a moment after they change by key, hot key or the mixer. Its
// window text is what it shows ("Volume 52%", "Muted").
#pragma once
#include <string>

#include "win32/owners.h"
#include "win32/window_base.h"

namespace zv {

// The text of a volume (0..65535) and mute state.
std::string volumeText(int volume, bool muted);

class VolumeIndicator : public WindowBase {
 public:
  static constexpr UINT kShownMs = 1500;
  // Shows (or refreshes) the indicator; it hides itself after kShownMs.
  void show(int volume, bool muted);

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void paint(HDC dc);
  int volume_ = 0;
  bool muted_ = false;
  UniqueFont font_;
};

}  // namespace zv
