// The command set's window half: the bodies of the commands that need the
// main window (menus, window state, opening items, skins, documents). The
// sequencing and settings commands come from SequencingCommands. The window
// commands ("eq", "info", "about", ...) open what registered itself for them
// (startup/tool_windows.h); one that no window registered does nothing.
#pragma once
#include <memory>

#include "commands/sequencing_commands.h"
#include "editor_set.h"
#include "main_editor_host.h"

namespace zv {

class TMainWnd;

class MainCommands final : public SequencingCommands {
 public:
  MainCommands(TMainWnd& window, Sequencer& sequencer, int32_t volumeControl)
      : SequencingCommands(sequencer, volumeControl), wnd_(window) {}

  void show(C) override;
  void hideAll(C) override;
  void rollUp(C) override;
  void minimize(C) override;
  void close(C) override;
  void onTop(C) override;
  void listMenu(C) override;
  void popupMenu(C) override;
  void openItem(C) override;
  void skin(C) override;
  void help(C) override;
  void document(C) override;
  void notAvailable(C) override;
  void toolWindow(C) override;
  void openFile(C c) override { toolWindow(c); }  // the "Open file" dialog registers as a window
  void newPlaylistEditor(C) override;
  void editPlaylist(C) override;
  void editCurrentPlaylist(C) override;
  void editDirectory(C) override;
  void editItem(C) override;

  // The open playlist editors (made on first use).
  editor::EditorSet& editors();
  bool hasEditors() const { return editors_ != nullptr; }
  void display(C) override;
  void vis(C) override;

 private:
  TMainWnd& wnd_;
  std::unique_ptr<MainEditorHost> editorHost_;
  std::unique_ptr<editor::EditorSet> editors_;
};

}  // namespace zv
