// The display menu's outside visualisations: the "_vis" and "_cfg" lists,
// "_vis:" + file + "," + module (or "vis:" ...) to start one in the
// `winampvis` instance over the display panel, "_vis:" alone to stop it,
// and "_cfg:" to show a module's own settings.
#include "display/vis_plugins.h"
#include "main_window.h"
#include "menus/menu_definitions.h"
#include "menus/vis_data.h"
#include "zv_vis.h"

namespace zv {

std::string TMainWnd::visPluginMenu(bool configure) const {
  std::vector<MenuLocation> items;
  for (const VisPluginModule& m : listVisPlugins(dirs_.root + "\\plugins"))
    items.push_back({m.description, visPluginArgument(m), false});
  return visPluginMenuDefinition(items, configure);
}

void TMainWnd::startVisPlugin(const std::string& argument) {
  std::optional<VisPluginChoice> choice = parseVisPluginCommand(argument);
  if (!choice || !winampVisInstance_) return;
  ZvWinampVisOpen open{};
  if (!choice->name.empty()) {
    // Only a library of the plug-in folder, named as one.
    const std::optional<std::string> path = visPluginPath(dirs_.root + "\\plugins", choice->name);
    if (!path || path->size() >= sizeof(open.libraryPath)) return;
    path->copy(open.libraryPath, path->size());
    open.moduleIndex = choice->module;
    open.followWindow = visPanel_.hwnd() ? visPanel_.hwnd() : hwnd();
    rememberVisPlugin(*choice);
  }
  pluginMsg(winampVisInstance_, msgVisSettings, &open, sizeof(open));
}

void TMainWnd::configureVisPlugin(const std::string& argument) {
  std::optional<VisPluginChoice> choice = parseVisPluginCommand(argument);
  if (!choice || choice->name.empty()) return;
  if (const std::optional<std::string> path = visPluginPath(dirs_.root + "\\plugins", choice->name))
    visPluginConfig(path->c_str(), choice->module, hwnd());
}

}  // namespace zv
