// The column header of the playlist editor, drawn by the window itself in
// the skin's colours (the system's header cannot take them): one window-less
// element above the list that follows its horizontal scrolling and resizes
// columns by dragging their right edges.
#pragma once
#include <functional>
#include <string>

#include "editor_palette.h"
#include "ui_element.h"

namespace zv::editor {

class EditorHeader final : public ui::UiElement {
 public:
  struct Columns {
    std::function<int()> count;
    std::function<int(int)> width;
    std::function<void(int, int)> setWidth;
    std::function<std::string(int)> title;
    std::function<bool(int)> rightAligned;
    std::function<int()> scroll;  // pixels the list is scrolled to the right
  };
  EditorHeader(Columns columns, const EditorPalette& palette) : columns_(std::move(columns)), palette_(palette) {}

  // The column whose right edge lies at x (window coordinates), or -1.
  int edgeAt(LONG x) const;
  void paint(HDC dc) override;
  void mouseDown(POINT p, bool right) override;
  void mouseDrag(POINT p, bool over) override;
  void mouseUp(POINT, bool, bool) override { resizing_ = -1; }

 private:
  Columns columns_;
  const EditorPalette& palette_;
  int resizing_ = -1, startX_ = 0, startWidth_ = 0;
};

}  // namespace zv::editor
