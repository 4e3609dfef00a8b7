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

#include "display/display_clock.h"
#include "display/display_settings.h"
#include "display/volume_indicator.h"
#include "display/title_scroll.h"
#include "foundation/language_state.h"
#include "input/drop_target.h"
#include "input/hot_keys.h"
#include "input/power_events.h"
#include "main_commands.h"
#include "menus/menu_style.h"
#include "own_controls.h"
#include "sequencing/sequencer.h"
#include "skin_loader.h"
#include "skinned_window.h"
#include "startup/cmd_switches.h"
#include "startup/hand_over.h"
#include "startup/program_dirs.h"
#include "startup/stored_playlists.h"
#include "tray/taskbar_buttons.h"
#include "tray/tray_icons.h"
#include "vis_panel.h"
#include "xlabel.h"
#include "zv_desc.h"

namespace zvplayer {
class TVideoWnd;
}

namespace zv {

namespace info {
class TInfoWnd;
}
namespace cddb {
class TCDDBWnd;
}
class EqTimerSide;

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
  // A line of the current playlist has a new description: the group and
  // file labels (and the title) show it when it is one of theirs.
  void lineTextChanged(int32_t line);
  Playlist favorites() const { return favorites_; }
  Playlist recent() const { return recent_; }
  // Puts a location at the top of the recent list and saves "recent.dat"
  // (main_recent.cpp).
  void enterRecent(const std::string& location);
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
  // The file information and CD database windows (main_tool_windows.cpp):
  // created once, shown again; null until first shown. The information
  // window opened for the current file follows it (followCurrent).
  void showInfoWindow(const std::string& path, bool followCurrent = false);
  void showCddbWindow();
  info::TInfoWnd* infoWindow() const { return infoWnd_.get(); }
  cddb::TCDDBWnd* cddbWindow() const { return cddbWnd_.get(); }
  // Saves their pending changes and closes them (at shutdown).
  void closeToolWindows();
  // id3v2DoBatch with the progress window.
  void runDeferredTagWrites();
  // A text of the language file ("key###default").
  std::string text(const char* localised) override;
  std::string language() const { return lang_.language(); }
  EqTimerSide* eqTimer() { return eqTimer_.get(); }

  // ---- Input and display (main_input.cpp, main_display.cpp) ----
  // Hot keys, tray and taskbar by "minMode_", title, menus, language and
  // tooltips from the settings; at start and after the settings window.
  void applySettings();
  // The system's minimize: the other windows are hidden unless
  // `keepOthers`; the tray buttons come; into the tray or the taskbar.
  void minimizeWindow(bool keepOthers);
  // Back from the tray or the taskbar; a window not minimized only brings
  // its last active popup forward.
  void restoreWindow();
  bool minimized() const { return minimized_; }
  const DisplaySettings& displaySettings() const { return display_; }
  // A display menu command ("_spec", "_peaks2", ...): stored and handed to
  // the display.
  void applyDisplayCommand(const std::string& command);
  // The mixer was reopened for another output device: the master volume's
  // and mute's controls of that device (-1 where it has none).
  void mixerReopened(int32_t volumeControl, int32_t muteControl);
  int32_t volumeControlId() const { return volumeControl_; }
  // The display menu's plug-in lists ("_vis", "_cfg"), and starting,
  // stopping and configuring an outside visualisation (main_vis_plugins.cpp).
  std::string visPluginMenu(bool configure) const;
  void startVisPlugin(const std::string& argument);
  void configureVisPlugin(const std::string& argument);

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
  friend class EqTimerSide;
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
  bool onKeyDown(WPARAM vk);
  void onHotKey(int id);
  bool onAppCommand(LPARAM lParam);
  void onTrayIcon(UINT id, UINT mouse);
  bool onSysCommand(WPARAM command);
  void onPowerBroadcast(WPARAM event);
  void onThumbButton(UINT id);
  void applyMinMode();
  void applyTooltips();
  // A skin button's tooltip: its command's hint, with the Shift command's.
  std::string controlTooltip(const ui::TSkinCtl& ctl) const override;
  void storeStatePosition();
  void moveToStatePosition();
  int stateNumber() const { return mini_ ? 1 : 0; }
  void setStreamTitle(const std::string& title);
  void displayTick();
  void updateTimeLabels(const ZvStatusRec* status);
  std::string timeFormat(const char* label) const;
  void onLabelClick(int index, bool right);
  void registerDropTarget();
  // Runs a command of the keyboard, a hot key or the tray; a volume change
  // shows the volume indicator.
  void runInput(const char* command, int32_t source);
  void showVolume();
  // The look of the owner-drawn menus from the settings and the skin.
  MenuLook menuLook() const;
  bool dropListItem(const DragRecord& record, OpenMode mode);
  void editDescription(int index);
  void onDescEditor(UINT notification);
  static constexpr int kDescEditorId = 2000;

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
  ZvTarget winampVisInstance_ = 0;
  bool pluginsStarted_ = false;
  std::unique_ptr<info::TInfoWnd> infoWnd_;
  std::unique_ptr<cddb::TCDDBWnd> cddbWnd_;
  std::unique_ptr<EqTimerSide> eqTimer_;  // the equalizer and the timer (main_eq_timer.h)

  HotKeys hotKeys_;
  TrayIcons tray_;
  TaskbarButtons taskbar_;
  PowerResume power_;
  DisplayClock clock_;
  TrayAnimation trayAnimation_;
  TitleScroll title_;
  DisplaySettings display_;
  bool minimized_ = false;
  std::vector<HWND> hiddenOthers_;  // windows hidden with the main window
  std::string groupText_, fileText_;  // the label texts without l2Group
  UniqueWindow descEditor_;           // the in-place description editor
  int descEditorLine_ = -1;
  std::unique_ptr<DropTarget> drop_;
  VolumeIndicator volumeIndicator_;
  int32_t volumeControl_ = -1, muteControl_ = -1;  // the speakers' mixer controls
  std::unique_ptr<zvplayer::TVideoWnd> video_;  // made for the first stream with pictures
};

}  // namespace zv
