// The display settings "visData": the 392-byte record the `vis` instance
// takes (ZvVisSettings), stored on every change, and the display menu's
// commands that change it.
#pragma once
#include <optional>
#include <string>

#include "zv_vis.h"

namespace zv {

using VisData = ZvVisSettings;
static_assert(sizeof(VisData) == 392, "\"visData\" is 98 words");
static_assert(offsetof(VisData, flags) == 15 * 4, "reverse frequency and amplitude are words 15 and 16");
static_assert(offsetof(VisData, skinDir) == 17 * 4, "the skin folder follows the flags");

// Words 15 and 16: the two flags the display menu toggles.
enum { visReverseFrequency = 0, visReverseAmplitude = 1 };

// Spectrum, middle speeds, green-yellow-red gradients, no flags.
VisData defaultVisData();

// Applies a display command ("_scope", "_spec", "_off", "_scopefadeN",
// "_specfallN", "_peaksN", "_rx", "_ry", "_halfrate"); false for anything
// else, which leaves the record unchanged.
bool applyDisplayCommand(VisData& data, const std::string& command);

// "_vis:" + name, optionally "," + module number; an empty name stops the
// running plug-in. What "lastVisC" and "lastVisN" remember.
struct VisPluginChoice {
  std::string name;  // "lastVisC"
  int32_t module = 0;  // "lastVisN"
};
std::optional<VisPluginChoice> parseVisPluginCommand(const std::string& argument);

// "_vis:" with a name remembers the plug-in ("lastVisC", "lastVisN") so that a
// double click on the display starts it again; "_vis:" alone (stop) keeps the
// last one. The last one, or nullopt when none was ever started.
void rememberVisPlugin(const VisPluginChoice& choice);
std::optional<VisPluginChoice> lastVisPlugin();

// "visData" from the configuration store, or the default when absent; and back.
VisData readVisData();
void storeVisData(const VisData& data);

}  // namespace zv
