// The keys the settings windows edit, with their kinds and defaults, read
// from and written to the engine's configuration store as one set. The
// windows only move these values in and out of their controls.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "zvdsp.h"

namespace zv {

enum class SetupKind { boolean, integer, text };

struct SetupKey {
  const char* name;
  SetupKind kind;
  int32_t number;        // default of a boolean or integer key
  const char* text;      // default of a text key; null: computed (setupTextDefault)
};

// Every key of the settings window, in the window's order.
const std::vector<SetupKey>& setupKeys();
// The defaults that depend on the installation: "TagFmt" (the engine's
// description format), "cddbDir" (<base>\cddb), "lyrDir" (the folder above
// the program's folder + "\lyrics"), "lyrDbFmt", "lyrSrcFmt".
std::string setupTextDefault(const std::string& key, const std::string& baseDir, const std::string& programDir);

struct SetupValues {
  std::map<std::string, int32_t> numbers;  // booleans as 0 / 1
  std::map<std::string, std::string> texts;
  int32_t number(const std::string& key) const;
  const std::string& text(const std::string& key) const;
};

// Every key with its default when absent. `baseDir`: the engine's base
// folder; `programDir`: the folder of the player program.
SetupValues readSetupValues(const std::string& baseDir, const std::string& programDir);
// Writes every key; "Lang" falls back to "en" when empty.
void writeSetupValues(const SetupValues& values);

// "cdAutoOpen": file names joined with "|".
std::vector<std::string> splitAutoOpen(const std::string& setting);
std::string joinAutoOpen(const std::vector<std::string>& names);

// ---- The advanced window ----

// The four thread priorities the combo boxes offer, by entry.
inline constexpr int32_t kPriorityChoices[] = {0, 1, 2, 15};
// The entry of a stored priority (the nearest offered below it; 0 for
// anything below "Normal").
int priorityEntry(int32_t priority);
// The visualisation sampling intervals offered for "outParams" word 6.
inline constexpr int32_t kVisFrameChoices[] = {512, 1024, 2048};
int visFramesEntry(int32_t frames);

struct AdvSetupValues {
  int32_t decoderPriority = 2, visPriority = 2, winampVisPriority = 1, samplerPriority = 2;
  bool noSampler = false, preferFP = true;
  int32_t waveOutPriority = 2;  // "outParams" word 8
  int32_t visFrames = 1024;     // "outParams" word 6
};

AdvSetupValues readAdvSetupValues();
// "OK": writes the keys, puts words 8 and 6 into the output library's
// parameters (outGetParams, outSetParams), stores them as "outParams" and
// broadcasts msgConfigChanged (7029) so that the plug-in threads re-read
// their priorities.
void applyAdvSetupValues(const AdvSetupValues& values);

}  // namespace zv
