// The plug-ins page of the settings window: the engine's decoder libraries
// and plug-in kinds in a list (description, what it is, its library), and
// for the one selected its picture (a library's bitmap "PLGICON"), its file
// and extensions, and "Configure..." for a library with settings of its own
// (also a double click or Enter on its line). Nothing here is stored: the
// libraries keep their own settings.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "settings/plugin_list.h"
#include "setup/form_pages.h"
#include "setup/window_texts.h"
#include "win32/owners.h"

namespace zv::setupui {

// A library's own picture, drawn within its rectangle keeping its shape.
class TPluginPicture : public ui::UiElement {
 public:
  // Loads "PLGICON" from the library; none for built-ins or without one.
  void show(HMODULE module);
  bool shown() const { return bitmap_.valid(); }
  void paint(HDC dc) override;

 private:
  UniqueBitmap bitmap_;
};

class PluginsPage {
 public:
  PluginsPage(FormPages& pages, WindowTexts& texts, HWND window) : pages_(pages), texts_(texts), window_(window) {}
  void build(RECT area, std::vector<PluginEntry> entries);

  // The list's notifications; true when taken.
  bool notify(const NMHDR& note);
  HWND list() const { return list_; }
  const std::vector<PluginEntry>& entries() const { return entries_; }
  void select(int index);
  int selected() const;
  // "Configure..." of the selected entry; false when it has no settings.
  bool configure();
  ui::TZButton& configureButton() const { return *configure_; }
  const TPluginPicture& picture() const { return *picture_; }
  std::string details() const;

 private:
  void showSelected();
  std::string groupText(PluginGroup group);

  FormPages& pages_;
  WindowTexts& texts_;
  HWND window_;
  HWND list_ = nullptr;
  std::vector<PluginEntry> entries_;
  TPluginPicture* picture_ = nullptr;
  ui::TZText* title_ = nullptr;
  ui::TZText* details_ = nullptr;
  ui::TZButton* configure_ = nullptr;
};

}  // namespace zv::setupui
