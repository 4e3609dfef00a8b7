#include "host_fixture.h"

#include <windows.h>

#include <mutex>

#include "testkit.h"
#include "zv_plugins.h"

namespace playbacktest {
namespace {
std::string g_log;
std::once_flag g_once;
}  // namespace

void ensurePlugins() {
  std::call_once(g_once, [] {
    g_log = zvtest::testDir() + "\\diagnostics.txt";
    DeleteFileA(g_log.c_str());
    SetEnvironmentVariableA("ZVENGINE_LOG", g_log.c_str());
    // Things in the plug-in folder that are not plug-ins.
    std::string plugins = zvtest::rootDir() + "\\plugins";
    CreateDirectoryA((plugins + "\\folder.z").c_str(), nullptr);
    zvtest::writeFile(plugins + "\\notalibrary.zzz", "text", 4);
    initPlugins();
  });
}

std::string diagnostics() {
  auto bytes = zvtest::readFile(g_log);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace playbacktest
