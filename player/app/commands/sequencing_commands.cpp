#include "commands/sequencing_commands.h"

#include <cstring>

#include "commands/command_table.h"
#include "zv_config.h"
#include "zv_mixer.h"

namespace zv {

void SequencingCommands::switchSetting(C c) {
  SequencingSettings& s = seq_.settings();
  bool* value = std::strcmp(c.name(), "loop1") == 0   ? &s.loop1
                : std::strcmp(c.name(), "loop2") == 0 ? &s.loop2
                                                       : &s.shuffle;
  *value = applySwitch(*value, switchChange(c.argument));
  setConfigBool(c.name(), *value ? ZV_TRUE : ZV_FALSE);
}

void SequencingCommands::groupMode(C c) {
  seq_.settings().groupMode = groupModeOf(c);
  setConfigInt("groupMode", seq_.settings().groupMode);
}

void SequencingCommands::volume(C c) {
  if (volumeControl_ == -1) return;
  int32_t volume = 0, balance = 0;
  getVolume(volumeControl_, &volume, &balance);
  setVolume(volumeControl_, steppedVolume(volume, std::strcmp(c.name(), "volup") == 0), balance);
}

void SequencingCommands::seekBy(C c) {
  const ZvStatusRec* status = seq_.streamStatus();
  if (!status || !seq_.seekable() || status->lengthMs < 1) return;
  if (std::optional<int32_t> target = relativeSeekTarget(c, status->positionMs, status->lengthMs))
    seq_.seek(*target);
}

}  // namespace zv
