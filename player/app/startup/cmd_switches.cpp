#include "startup/cmd_switches.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace zv {

bool isUnregRun(const std::vector<std::string>& args) { return !args.empty() && args.front() == "/unreg"; }

CmdSwitches::CmdSwitches(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (!a.empty() && a[0] == '/') {
      std::string name = a.substr(1);
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      switches_.push_back(name);
    } else if (a.size() >= MAX_PATH) {
      refused_.push_back(a);  // cut to a path's length it would name another file
    } else if (!a.empty()) {
      items_.push_back(a);
    }
  }
}

bool CmdSwitches::has(const std::string& name) const {
  return std::find(switches_.begin(), switches_.end(), name) != switches_.end();
}

OpenMode CmdSwitches::openMode() const {
  OpenMode mode = 0;
  if (has("enqueue")) mode |= ZV_OPEN_ADD;
  if (has("start")) mode |= ZV_OPEN_PLAY;
  if (has("find")) mode |= ZV_OPEN_FIND;
  return mode;
}

bool CmdSwitches::playIntent(bool autoStart) const {
  bool on = autoStart;
  if (has("play")) on = true;
  if (has("stop")) on = false;
  return on;
}

std::vector<std::string> processArguments() {
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.push_back(__argv[i] ? __argv[i] : "");
  return args;
}

}  // namespace zv
