#include "display/vis_plugins.h"

#include <windows.h>

#include <algorithm>

#include "win32/owners.h"
#include "zv_vis.h"

namespace zv {
namespace {

constexpr int32_t kMaxModules = 64;

bool hasVisPluginName(const std::string& file) {
  if (file.size() <= 8 || file.find_first_of("\\/:") != std::string::npos) return false;
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, file.c_str(), 4, "vis_", 4) == CSTR_EQUAL &&
         CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, file.c_str() + file.size() - 4, 4, ".dll", 4) == CSTR_EQUAL;
}

}  // namespace

std::optional<std::string> visPluginPath(const std::string& pluginFolder, const std::string& file) {
  if (!hasVisPluginName(file) || file.find("..") != std::string::npos) return std::nullopt;
  return pluginFolder + "\\" + file;
}

std::string visPluginArgument(const VisPluginModule& m) { return m.file + "," + std::to_string(m.module); }

std::vector<VisPluginModule> listVisPlugins(const std::string& pluginFolder) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA data{};
  if (UniqueFind find{FindFirstFileA((pluginFolder + "\\vis_*.dll").c_str(), &data)}) {
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && hasVisPluginName(data.cFileName))
        files.push_back(data.cFileName);
    } while (FindNextFileA(find.get(), &data));
  }
  std::sort(files.begin(), files.end(),
            [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
  std::vector<VisPluginModule> modules;
  for (const std::string& file : files) {
    // A library that fails to load, or shows a message box of its own, is
    // not to stop the menu: no error boxes while it loads.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    UniqueModule library(LoadLibraryA((pluginFolder + "\\" + file).c_str()));
    SetErrorMode(oldMode);
    if (!library) continue;
    auto getHeader = reinterpret_cast<ZvWinampVisGetHeaderFn>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "winampVisGetHeader")));
    ZvWinampVisHeader* header = getHeader ? getHeader() : nullptr;
    if (!header || !header->getModule) continue;
    for (int32_t i = 0; i < kMaxModules; ++i) {
      ZvWinampVisModule* m = header->getModule(i);
      if (!m) break;
      std::string description = m->description ? std::string(m->description).substr(0, 255) : std::string();
      modules.push_back({file, i, description.empty() ? file : description});
    }
  }
  return modules;
}

}  // namespace zv
