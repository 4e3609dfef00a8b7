// The paged forms of the settings windows: a row of page buttons over the
// client area, each page a set of the program's own controls and of system
// child controls (combo boxes, edits, lists, the extension tree, for which
// the toolkit has no element), shown one page at a time. Child controls
// write with the own controls' font and take part in the Tab order.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "own_controls.h"
#include "skinned_window.h"
#include "win32/owners.h"

namespace zv::setupui {

// The bar under the page button of the page shown.
class TPageMarker : public ui::UiElement {
 public:
  void paint(HDC dc) override;
};

// Shows `pages` page buttons with a marker under the current one.
class PageRow {
 public:
  void add(ui::TZButton& button) { buttons_.push_back(&button); }
  void setMarker(TPageMarker& marker) { marker_ = &marker; }
  void select(int page);

 private:
  std::vector<ui::TZButton*> buttons_;
  TPageMarker* marker_ = nullptr;
};

class FormPages {
 public:
  explicit FormPages(ui::TSkinnedWnd& window) : window_(window) {}

  // Everything added while `page` is current belongs to it (-1: to all).
  void setBuildPage(int page) { buildPage_ = page; }
  template <class T, class... Args>
  T& element(RECT r, Args&&... args) {
    T& e = window_.addElement<T>(std::forward<Args>(args)...);
    e.setRect(r);
    elements_.push_back({buildPage_, &e});
    return e;
  }
  // A system child control; owned here.
  HWND child(const char* className, const char* text, DWORD style, RECT r, int id = 0);
  // A combo box (drop-down list, or editable with `editable`) with entries.
  HWND combo(RECT r, const std::vector<std::string>& entries, bool editable = false, int id = 0);

  void show(int page);
  int page() const { return page_; }
  // The window is going: its children went with it, so their handles are
  // let go without destroying anything again.
  void windowDestroyed();

 private:
  struct Element {
    int page;
    ui::UiElement* element;
  };
  struct Child {
    int page;
    UniqueWindow window;
  };
  ui::TSkinnedWnd& window_;
  int buildPage_ = -1, page_ = 0;
  std::vector<Element> elements_;
  std::vector<Child> children_;
};

std::string windowText(HWND window);
int comboSelection(HWND combo);
void selectComboEntry(HWND combo, int entry);
// An editable combo's text, or an entry chosen from its list.
std::string comboText(HWND combo);

}  // namespace zv::setupui
