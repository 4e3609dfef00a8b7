// The frequency-response window ("fr", the equalizer's "Advanced..."): the
// curve the output library applies (outGetFilter, preamp included) from
// 20 Hz to 20 kHz on a dB scale, and the band width that word 26 of the
// block carries (0: from the band spacing; n: every band with Q n/100).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "eq_controls.h"
#include "eq_model.h"
#include "frame_window.h"

namespace zv::eq {

class TFrWnd final : public ui::TFrameWnd {
 public:
  using Translate = EqModel::Translate;
  TFrWnd(EqModel& model, Translate translate);
  ~TFrWnd() override;

  bool open(const std::string& root, HWND owner);
  // Reads the curve again (after every change of the block).
  void refresh();
  // The plot's rectangle and the colour of the curve (tests read pixels).
  RECT plotRect() const { return plot_; }
  static COLORREF curveColor();
  // The plot column of a frequency.
  int columnOf(double hz) const;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintOver(HDC dc, int width, int height) override;

 private:
  std::string text(const char* localised) const;
  std::string widthText(int width) const;
  int yOf(double db) const;

  EqModel& model_;
  Translate translate_;
  RECT plot_{};
  std::vector<float> curve_;
  ReleaseSlider* width_ = nullptr;
  ui::TZText* widthLabel_ = nullptr;
};

}  // namespace zv::eq
