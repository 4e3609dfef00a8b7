// What the settings' plug-ins page shows: every kind the engine's plug-in
// list holds and every decoder library, grouped by what they do (decoders,
// inputs, visualisations, the rest), each with its library, extensions and
// whether it has settings of its own (comConfig). Configuring hands the
// library its parent window; the library shows its own dialog.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "zv_decoder.h"

namespace zv {

enum class PluginGroup { decoders, inputs, visualisations, others };

struct PluginEntry {
  PluginGroup group = PluginGroup::others;
  std::string name;         // the kind's name; "" for a decoder library
  std::string description;  // from the library (the localised text for built-ins)
  std::string fileName;     // the library's file in "\plugins\"; "" for built-ins
  std::string extensions;   // "" when it plays none
  HMODULE module = nullptr;
  ZvComConfigFn configure = nullptr;
  bool builtIn() const { return fileName.empty(); }
  bool configurable() const { return configure != nullptr; }
};

// The group of a kind by its flags; decoder records are decoders.
PluginGroup pluginGroupOf(uint32_t kindFlags);
// The engine's lists (decoderCount/decoderInfoByNum, pluginCount/
// pluginInfoByNum), decoders first, then kinds grouped in group order, the
// engine's order kept within a group.
std::vector<PluginEntry> listPlugins();
// Shows the library's settings over `parent`; false when it has none.
bool configurePlugin(const PluginEntry& entry, HWND parent);

}  // namespace zv
