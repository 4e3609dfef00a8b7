// TCountdownWnd: the 15-second warning before a power action. A pop-up
// window centred on the screen and always on top, with the warning, a
// progress bar from 0 to 15 and "Cancel". At 15 it closes and carries the
// action word out through the power port; "Cancel" closes it and nothing
// happens (playback stays stopped).
#pragma once
#include <functional>
#include <string>

#include "frame_window.h"
#include "power_port.h"

namespace zv::timer {

class TCountdownWnd final : public ui::TFrameWnd {
 public:
  static constexpr int kSteps = 15;
  // `tickMs`: the step of the count (1000; tests count faster).
  TCountdownWnd(PowerPort& power, std::string warning, std::string word, std::string cancelCaption,
                UINT tickMs = 1000);
  ~TCountdownWnd() override;

  bool open(const std::string& root, const char* caption);
  int progress() const { return progress_; }
  // One step of the count; at 15 the window closes and acts.
  void step();
  void cancel();
  bool acted() const { return acted_; }

  std::function<void()> onDestroyed;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintOver(HDC dc, int width, int height) override;

 private:
  PowerPort& power_;
  std::string warning_, word_, cancelCaption_;
  UINT tickMs_;
  int progress_ = 0;
  bool done_ = false, acted_ = false;
  RECT bar_{};
};

}  // namespace zv::timer
