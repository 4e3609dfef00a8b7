// Vertical page tabs of the program's own controls: one button picture per
// tab, the chosen one drawn pressed; a click or Up/Down chooses.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui_element.h"

namespace zv::info {

class TVerticalTabs : public ui::UiElement {
 public:
  explicit TVerticalTabs(std::vector<std::string> captions) : captions_(std::move(captions)) {}
  int selected() const { return selected_; }
  void select(int index);
  size_t count() const { return captions_.size(); }
  void setCaption(size_t index, std::string caption);
  // The tab's rectangle (window coordinates).
  RECT tabRect(int index) const;
  std::function<void(int)> onSelect;

  bool focusable() const override { return true; }
  void paint(HDC dc) override;
  void mouseDown(POINT p, bool right) override;
  bool key(UINT vk) override;

 private:
  std::vector<std::string> captions_;
  int selected_ = 0;
};

}  // namespace zv::info
