// TEqWnd: the equalizer window, a frame window with a vertical tab strip
// ("Equalizer", "Mixer", "Transition") and three pages:
// - the equalizer: on/off, preamp and 12 band sliders with their dB labels
//   (a click resets a slider) and band switches, the preset menus (load,
//   save as, extra) and the source shown below;
// - the mixer: master knob, wave/MIDI/CD/line sliders, bass and treble
//   knobs, the mute boxes (checked = sound on), kept in step with
//   msgMixerChange, and the wave output device;
// - transitions: cross-fade and its length, fade mode, skipping.
// The equalizer's state is the player's EqModel; the window only edits it.
#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "eq_controls.h"
#include "eq_model.h"
#include "eq_scale.h"
#include "fr_window.h"
#include "frame_window.h"
#include "mixer_lines.h"
#include "win32/owners.h"

namespace zv::eq {

class TEqWnd final : public ui::TFrameWnd {
 public:
  using Translate = EqModel::Translate;
  // `playingFile`: the file playing now ("" when none), for the auto-load menus.
  TEqWnd(EqModel& model, Translate translate, std::function<std::string()> playingFile);
  ~TEqWnd() override;

  bool open(const std::string& root, HWND owner);
  enum class Page { equalizer = 0, mixer = 1, transition = 2 };
  void showPage(Page page);
  Page page() const { return page_; }

  // Runs one of the menus' commands (what a chosen menu item runs).
  void runCommand(const std::string& command);
  // The items of one of the preset menus: "load", "save", "extra" and the
  // submenus "load_autoload", "save_autoload", "del_autoload", "del".
  std::string menuDefinition(const std::string& name) const;

  // Called after the transition keys changed (the sequencing re-reads them).
  std::function<void()> onTransitionChanged;
  // Called after another output device was chosen and the mixer reopened,
  // with the new device's entries (the main window's volume follows them).
  std::function<void(const MixerIds&)> onMixerReopened;
  // Called when the window is gone (the owner drops its pointer).
  std::function<void()> onDestroyed;
  // Asks for a preset name ("save_other"); nullopt when cancelled. Unset:
  // the program's prompt dialog.
  std::function<std::optional<std::string>(const std::string& proposed)> askPresetName;

  // The frequency-response window while it is open ("fr"), else null.
  TFrWnd* responseWindow() const { return fr_ && fr_->hwnd() ? fr_.get() : nullptr; }
  // The mixer entries in use (tests read them).
  const MixerIds& mixerIds() const { return mixer_; }
  // The control names of the mixer page: "vol0".."vol6", "mute0".."mute4".
  int mixerValue(int entry) const;
  bool muteBox(int entry) const;
  // Chooses entry n of the device list (0: the default device).
  void chooseDevice(int entry);
  std::vector<std::string> deviceList() const { return devices_; }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintOver(HDC dc, int width, int height) override;

 private:
  void buildTabs();
  void buildEqualizerPage();
  void buildMixerPage();
  void buildTransitionPage();
  void refreshEqualizer();
  void refreshSource();
  void refreshMixer();
  void refreshTransition();
  void showMenu(const std::string& name, ui::UiElement& under);
  void onMixerChange(int32_t controlId, int32_t volume, bool muted);
  void storeSkipKeys();
  void storeTransition();
  std::string text(const char* localised) const;
  template <class T, class... A>
  T& add(Page page, A&&... args) {
    T& e = addElement<T>(std::forward<A>(args)...);
    pages_[static_cast<int>(page)].push_back(&e);
    return e;
  }
  RECT at(int x, int y, int w, int h) const;

  EqModel& model_;
  Translate translate_;
  std::function<std::string()> playingFile_;
  Page page_ = Page::equalizer;
  std::vector<ui::UiElement*> pages_[3];
  std::vector<HWND> pageWindows_[3];
  ui::TZButton* tabs_[3] = {};

  // Equalizer page.
  ui::TZCheck* onOff_ = nullptr;
  ReleaseSlider* sliders_[kBands + 1] = {};  // [0] the preamp, [1 + b] band b
  ClickText* dbLabels_[kBands + 1] = {};
  ui::TZCheck* bandChecks_[kBands] = {};
  ui::TZButton* saveButton_ = nullptr;
  ui::TZText* sourceText_ = nullptr;
  ui::TZText* autoText_ = nullptr;

  // Mixer page.
  MixerIds mixer_;
  ui::UiElement* volumes_[kMixerEntries] = {};
  ui::TZCheck* mutes_[5] = {};
  bool settingMixer_ = false;
  std::vector<std::string> devices_;
  ui::TZButton* deviceButton_ = nullptr;

  // Transition page.
  ui::TZCheck* crossfade_ = nullptr;
  ui::TZSlider* cfDuration_ = nullptr;
  ui::TZText* cfLabel_ = nullptr;
  ui::TZButton* fadeMode_ = nullptr;
  ui::TZCheck* skipStart_ = nullptr;
  ui::TZCheck* skipEnd_ = nullptr;
  ui::TZCheck* skipStartS_ = nullptr;
  ui::TZCheck* skipEndS_ = nullptr;
  ui::TZSlider* silenceLevel_ = nullptr;
  UniqueWindow skipStartL_, skipEndL_;
  bool loadingTransition_ = false;

  std::unique_ptr<TFrWnd> fr_;
  std::string root_;
};

}  // namespace zv::eq
