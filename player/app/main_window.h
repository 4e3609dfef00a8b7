// TMainWnd: the player's main window (class "ZVWindow"). A skinned window
// that shows the main skin (full state, or mini after "rollup") and only
// translates what arrives into calls on the decision units: the engine's
// notifications go to the Sequencer, skin buttons and hand-over commands to
// runCommand, hand-over items to the open operation. The start and shutdown
// steps live in main_lifecycle.cpp, the window commands in main_commands.cpp.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "foundation/language_state.h"
#include "main_commands.h"
#include "own_controls.h"
#include "sequencing/sequencer.h"
#include "skin_loader.h"
#include "skinned_window.h"
#include "startup/cmd_switches.h"
#include "startup/hand_over.h"
#include "startup/program_dirs.h"
#include "startup/stored_playlists.h"
#include "vis_panel.h"
#include "xlabel.h"
#include "zv_desc.h"

namespace zvplayer {
class TVideoWnd;
}

namespace zv {

class TMainWnd : public ui::TSkinnedWnd, public SequencerView {
 public:
  TMainWnd(CmdSwitches switches, ProgramDirs dirs);
  ~TMainWnd() override;

  // Creates the window and runs the start steps; false when a step ended the
  // program (exitCode() tells with what).
  bool start();
  int exitCode() const { return exitCode_; }

  // ---- For the window commands ----
  Sequencer& sequencer() { return *seq_; }
  Playlist currentPlaylist() const { return current_; }
  Playlist favorites() const { return favorites_; }
  Playlist recent() const { return recent_; }
  const ProgramDirs& dirs() const { return dirs_; }
  const std::string& skinName() const { return skins_.name; }
  bool mini() const { return mini_; }
  // The main tray icon (identifier 100, callback message 1025).
  void showTrayIcon(bool on);
  // Full <-> mini ("winstate" 0 <-> 1).
  void switchState();
  // Loads another skin; a failure leaves the current one.
  bool changeSkin(const std::string& name);
  // Shows a built menu at the cursor and runs what was chosen.
  void showMenu(const std::string& name);
  // A text of the language file ("key###default").
  std::string text(const char* localised) override;
  std::string language() const { return lang_.language(); }

  // ---- SequencerView ----
  void postSkip(bool backwards) override;
  void currentLineChanged(int32_t fileN, int32_t groupN) override;
  void positionReset() override;
  void hideVideo() override;
  void streamOpened(ZvTarget stream, const ZvOpenedPrm& report) override;
  void openFailed() override;
  void streamFinished() override;
  void nothingPlayable() override;
  void noPlayableFiles() override;
  void requestInfo(Playlist pl) override;
  void saveCurrentPlaylist(Playlist pl) override;
  void reindexed() override;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void runAction(ui::TSkinCtl& ctl, int selector) override;
  void layout() override;

 private:
  friend class MainLifecycle;
  void onEngineMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onCopyData(LPARAM lParam);
  void actOnHandOver(const HandOver& h);
  void onTimer();
  void onClose();
  void createChildren();
  void applySkinToChildren();
  void clearControlStates();
  void updateLines();
  void updatePosition();
  void updatePlayButton();
  void applyInfo(const ZvQueryResult& result);
  std::string lineCaption(int32_t index) const;

  CmdSwitches switches_;
  ProgramDirs dirs_;
  LanguageState lang_;  // the program's own texts ("messages.dat")
  int exitCode_ = 0;
  bool mini_ = false;
  bool closing_ = false;
  bool started_ = false;
  bool trayIcon_ = false;
  std::vector<HandOver> pendingHandOvers_;

  ui::MainSkins skins_;
  // Skins replaced while running stay until the window is gone: the toolkit
  // keeps no copy of a skin it was given.
  std::vector<ui::MainSkins> oldSkins_;
  std::vector<std::unique_ptr<ui::TXLabel>> labels_;  // l1, l2, pos, total, pltotal
  ui::TZSlider* positionBar_ = nullptr;
  int positionRange_ = -1;
  TVisPanel visPanel_;
  VisData visData_{};
  std::map<const ui::TSkin*, POINT> activePictures_;  // skins whose play picture is moved

  Playlist current_ = nullptr, favorites_ = nullptr, recent_ = nullptr;
  StoredLoadResult playlistLoad_, recentLoad_;
  std::unique_ptr<StreamPort> port_;
  std::unique_ptr<Sequencer> seq_;
  std::unique_ptr<MainCommands> commands_;
  ZvTarget visInstance_ = 0, samplerInstance_ = 0;
  bool pluginsStarted_ = false;
  std::unique_ptr<zvplayer::TVideoWnd> video_;  // made for the first stream with pictures
};

}  // namespace zv
