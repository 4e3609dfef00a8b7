// The outside visualisation libraries the display menu offers: files
// "vis_*.dll" in the program's plug-in folder, each with the modules its
// header hands out. A name given to "_vis:" / "_cfg:" (which may come from a
// command line or another program) is used only when it is such a file name
// without any folder part.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zv {

struct VisPluginModule {
  std::string file;         // "vis_bars.dll"
  int32_t module = 0;       // index for the header's module getter
  std::string description;  // the module's own text (the file name when it has none)
};

// Loads each library for the moment it takes to read its modules (at most
// 64 each). Libraries without the header export or with no module are left
// out. Ordered by file name, then module.
std::vector<VisPluginModule> listVisPlugins(const std::string& pluginFolder);

// "<folder>\<file>" for a plain "vis_*.dll" name; nullopt for anything else
// ("..\x.dll", "C:\x.dll", "sub\vis_a.dll", "vis_a.exe", "").
std::optional<std::string> visPluginPath(const std::string& pluginFolder, const std::string& file);

// The menu item command's argument for a module: file + "," + module.
std::string visPluginArgument(const VisPluginModule& m);

}  // namespace zv
