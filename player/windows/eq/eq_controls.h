// Small additions to the own controls that the equalizer window needs: a
// slider that tells when it is let go (the gain is applied only then), and
// a text that can be clicked (a dB label resets its slider).
#pragma once
#include <functional>

#include "own_controls.h"

namespace zv::eq {

class ReleaseSlider : public ui::TZSlider {
 public:
  using ui::TZSlider::TZSlider;
  // After a drag ends, and after each wheel or key step.
  std::function<void()> onRelease;

  void mouseUp(POINT p, bool over, bool right) override {
    ui::TZSlider::mouseUp(p, over, right);
    if (onRelease) onRelease();
  }
  void mouseWheel(int delta) override {
    ui::TZSlider::mouseWheel(delta);
    if (onRelease) onRelease();
  }
  bool key(UINT vk) override {
    const bool used = ui::TZSlider::key(vk);
    if (used && onRelease) onRelease();
    return used;
  }
};

class ClickText : public ui::TZText {
 public:
  using ui::TZText::TZText;
  std::function<void()> onClick;
  void mouseUp(POINT, bool over, bool right) override {
    if (over && !right && onClick) onClick();
  }
};

}  // namespace zv::eq
