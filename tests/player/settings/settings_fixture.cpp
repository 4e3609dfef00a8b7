#include "settings_fixture.h"

#include <windows.h>

#include <mutex>

#include "zv_config.h"
#include "zv_plugins.h"

namespace settingstest {

const char* const kSection = "zvtest_player_settings";

std::string configKeyPath() { return std::string("Software\\Dovrik\\ZvEngine\\") + kSection; }

void ensureEngine() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegDeleteTreeA(HKEY_CURRENT_USER, configKeyPath().c_str());
    setConfigMode(kSection, 0);
    initPlugins();
  });
}

}  // namespace settingstest
