// The program's command line: the exact "/unreg" first argument, the switches
// (an argument beginning with "/", named by the rest in lower case) and the
// items to open, in order.
#pragma once
#include <string>
#include <vector>

#include "zv_playback.h"

namespace zv {

// The uninstall run: only the whole first argument "/unreg", case-sensitive.
bool isUnregRun(const std::vector<std::string>& args);

class CmdSwitches {
 public:
  // `args` without the program's own name.
  explicit CmdSwitches(const std::vector<std::string>& args);
  bool has(const std::string& name) const;
  const std::vector<std::string>& items() const { return items_; }
  // Items refused because they are longer than a path may be.
  const std::vector<std::string>& refused() const { return refused_; }
  // "enqueue" 1, "start" 2, "find" 4.
  OpenMode openMode() const;
  // "autoStart", then "play" sets it, then "stop" clears it.
  bool playIntent(bool autoStart) const;

 private:
  std::vector<std::string> switches_, items_, refused_;
};

// The arguments of the running process (without its name), as the C runtime split them.
std::vector<std::string> processArguments();

}  // namespace zv
