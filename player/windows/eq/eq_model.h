// The equalizer's state that lives in the player and survives its window:
// the block ("dspData") applied through the output library, the chosen
// source (flat, a preset file, a folder's auto-load record) and whether the
// curve was edited since, and the auto-load mode that follows the playing
// file's folder. The window only edits it; the main window runs auto-load
// for every file it starts and settles the state at shutdown.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "eq_preset.h"
#include "zvdsp.h"

namespace zv::eq {

enum class EqSource { flat = 0, file = 1, autoLoad = 2 };

class EqModel {
 public:
  using Translate = std::function<std::string(const char* localised)>;
  // `presetFolder`: "<user dir>\eqpreset".
  EqModel(std::string presetFolder, Translate translate);

  // Start-up: "dspData" (made safe) to the output library, or the library's
  // block when there is none; the source from the configuration.
  void start();
  // Shutdown: a folder's curve in use gives way to the user's own curve and
  // source, so that the user's curve is what "dspData" keeps.
  void settle();

  const ZvEqualizer& block() const { return block_; }
  // A slider released (-1 the preamp, 0..11 a band): the gain, then apply.
  void setGain(int slider, float gain);
  // A band switch: on = the band takes part.
  void setBandOn(int band, bool on);
  // The on/off button: applied and stored, without marking the curve changed.
  void setEnabled(bool on);
  // The response window's value (word 26), then apply.
  void setWidth(int32_t width);

  // The commands of the window's preset menus (without the window's own
  // "save_other" question and "fr"). False for an unknown command.
  bool command(const std::string& command);
  // "save_other" with the typed answer; false when it was empty.
  bool saveOther(const std::string& typed);

  // Auto-load for a file that starts playing.
  void autoLoad(const std::string& file);

  // The menus' lists.
  std::vector<std::string> presetNames() const;
  // The ancestor folders of `file`, deepest first; with `withRecord` only
  // those with a 52-byte "EQ" record.
  static std::vector<std::string> ancestorFolders(const std::string& file);
  std::vector<std::string> autoLoadFolders(const std::string& file, bool withRecord) const;
  static bool hasAutoLoadRecord(const std::string& folder);

  EqSource source() const { return source_; }
  const std::string& sourceName() const { return file_; }
  bool changed() const { return changed_; }
  bool autoMode() const { return autoMode_; }
  const std::string& autoFolder() const { return autoFolder_; }
  const std::string& presetFolder() const { return presetFolder_; }

  // Called after every change the window should show.
  std::function<void()> onChange;

 private:
  void apply();           // output, "dspData", changed := true
  void applyAndStore();   // output and "dspData" only
  void chooseSource(EqSource source, const std::string& name);
  void load();
  bool save();
  void leaveAutoMode();
  void notify();

  std::string presetFolder_;
  Translate translate_;
  ZvEqualizer block_{};
  EqSource source_ = EqSource::flat;
  std::string file_;
  bool changed_ = false;
  bool autoMode_ = false;
  std::string autoFolder_;
};

}  // namespace zv::eq
