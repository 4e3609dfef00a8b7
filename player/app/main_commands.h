// The command set's window half: the bodies of the commands that need the
// main window (menus, window state, opening items, skins, documents). The
// sequencing and settings commands come from SequencingCommands. Commands of
// windows that do not exist yet (editors, file information, equalizer, timer,
// settings, CD database, resources usage) keep their empty bodies.
#pragma once
#include "commands/sequencing_commands.h"

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
  void display(C) override;

 private:
  TMainWnd& wnd_;
};

}  // namespace zv
