#include "settings/plugin_list.h"

#include <algorithm>

#include "zv_playback.h"
#include "zv_plugins.h"

namespace zv {

namespace {

// Texts in the records are zero-terminated within their fields; a library
// that filled a field to its end is cut at the field's end.
template <size_t N>
std::string field(const char (&text)[N]) {
  return std::string(text, std::find(text, text + N, '\0'));
}

PluginEntry entryOf(const ZvPluginRec& rec, PluginGroup group) {
  PluginEntry e;
  e.group = group;
  e.name = field(rec.name);
  e.description = field(rec.description);
  e.fileName = field(rec.fileName);
  e.extensions = field(rec.extensions);
  e.module = static_cast<HMODULE>(rec.module);
  // Built-in kinds answer comConfig with nothing to show.
  if (rec.module) e.configure = rec.comConfig;
  return e;
}

}  // namespace

PluginGroup pluginGroupOf(uint32_t kindFlags) {
  if (kindFlags & pfDecoder) return PluginGroup::decoders;
  if (kindFlags & pfVis) return PluginGroup::visualisations;
  if (kindFlags & pfInput) return PluginGroup::inputs;
  return PluginGroup::others;
}

std::vector<PluginEntry> listPlugins() {
  std::vector<PluginEntry> entries;
  const int32_t decoders = decoderCount();
  for (int32_t i = 0; i < decoders; ++i)
    if (const ZvDecoderRec* rec = decoderInfoByNum(i)) entries.push_back(entryOf(*rec, PluginGroup::decoders));
  std::vector<PluginEntry> kinds;
  const int32_t count = pluginCount();
  for (int32_t i = 0; i < count; ++i)
    if (const ZvPluginRec* rec = pluginInfoByNum(i)) kinds.push_back(entryOf(*rec, pluginGroupOf(rec->kindFlags)));
  std::stable_sort(kinds.begin(), kinds.end(),
                   [](const PluginEntry& a, const PluginEntry& b) { return a.group < b.group; });
  entries.insert(entries.end(), kinds.begin(), kinds.end());
  return entries;
}

bool configurePlugin(const PluginEntry& entry, HWND parent) {
  if (!entry.configure) return false;
  ZvConfigRec config{parent};
  entry.configure(&config);  // the result means nothing to the caller
  return true;
}

}  // namespace zv
