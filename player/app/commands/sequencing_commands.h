// The bodies of the commands that only sequence, change the sequencing
// settings or the master volume. The main window derives from this target
// and gives the window commands their bodies; these need no window.
#pragma once
#include "commands/command_target.h"
#include "sequencing/sequencer.h"

namespace zv {

class SequencingCommands : public CommandTarget {
 public:
  // `volumeControl`: the master volume's mixer control (findCtl), -1 none.
  SequencingCommands(Sequencer& sequencer, int32_t volumeControl)
      : seq_(sequencer), volumeControl_(volumeControl) {}

  void prevFile(C) override { seq_.nextFile(true); }
  void nextFile(C) override { seq_.nextFile(false); }
  void prevGroup(C) override { seq_.nextGroup(true); }
  void nextGroup(C) override { seq_.nextGroup(false); }
  void play(C) override { seq_.play(); }
  void play2(C) override { seq_.play2(); }
  void stop(C) override { seq_.stop(); }
  void stop2(C) override { seq_.stop2(); }
  void fadePlay(C) override { seq_.fadePlay(); }
  void fadeStop(C) override { seq_.fadeStop(); }
  void togglePlay(C) override { seq_.togglePlay(); }
  void fadeTogglePlay(C) override { seq_.fadeTogglePlay(); }
  // Needs an open, seekable stream with a length; the position is the stream's own.
  void rewind(C c) override { seekBy(c); }
  void forward(C c) override { seekBy(c); }
  // "loop1", "loop2", "shuffle": set, then store (even when unchanged).
  void switchSetting(C c) override;
  // "group_*": set and store "groupMode".
  void groupMode(C c) override;
  // "volup", "voldown" on the master volume; the balance is kept.
  void volume(C c) override;
  // The mixer was opened again (another output device): its master control.
  void setVolumeControl(int32_t volumeControl) { volumeControl_ = volumeControl; }
  int32_t volumeControl() const { return volumeControl_; }

 protected:
  Sequencer& seq_;
  int32_t volumeControl_;

 private:
  void seekBy(C c);
};

}  // namespace zv
