// The playlist editors' view of the main window: its playlist and playback,
// skin, texts and the add menu's locations. Owned by MainCommands together
// with the set of open editors.
#pragma once
#include "editor_host.h"

namespace zv {

class TMainWnd;

class MainEditorHost final : public editor::EditorHost {
 public:
  explicit MainEditorHost(TMainWnd& window) : wnd_(window) {}

  std::string rootDir() override;
  std::string language() override;
  const ui::TSkin* mainSkin() override;
  Playlist mainPlaylist() override;
  int32_t currentLine() override;
  void editMainPlaylist(const std::function<void()>& edit) override;
  void mainLineTextChanged(int32_t line) override;
  void replaceMainPlaylist(Playlist pl) override;
  void playMainLine(int32_t line) override;
  void showFileInfo(const std::string& path) override;
  editor::MenuSources menuSources() override;
  editor::EditorDialogs& dialogs() override { return editor::systemEditorDialogs(); }

 private:
  TMainWnd& wnd_;
};

}  // namespace zv
