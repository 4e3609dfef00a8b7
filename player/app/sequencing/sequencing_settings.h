// The settings the sequencing rules read (start-up reads them, commands change them).
#pragma once
#include <cstdint>

namespace zv {

struct SequencingSettings {
  bool loop1 = false;    // repeat group
  bool loop2 = false;    // repeat file
  bool shuffle = false;
  int32_t groupMode = 0;
  bool crossfade = false;
  int32_t fadeMode = 0;
  int32_t cfDuration = 3000;  // ms
  bool skipStart = false;
  int32_t skipStartL = 0;
  bool skipEnd = false;
  int32_t skipEndL = 0;
};

// From the engine's configuration store ("loop1", "loop2", "shuffle",
// "groupMode", "crossfade", "fademode", "cfduration", "skipStart",
// "skipStartL", "skipEnd", "skipEndL").
SequencingSettings readSequencingSettings();

}  // namespace zv
