// The settings windows and the resources usage window of the main window:
// opened by "setup" and "debug", one of each at a time, freed when closed.
#pragma once
#include <memory>
#include <string>

namespace zv {

class TMainWnd;
class TSetupWnd;
class TDebugStatWnd;

class SetupToolWindows {
 public:
  explicit SetupToolWindows(TMainWnd& main);
  ~SetupToolWindows();
  // True when `name` is one of these windows' commands (then it was opened
  // or brought to the front).
  bool open(const std::string& name);
  bool isOpen(const std::string& name) const;
  void close(const std::string& name);

 private:
  TMainWnd& main_;
  std::unique_ptr<TSetupWnd> setup_;
  std::unique_ptr<TDebugStatWnd> debugStat_;
};

}  // namespace zv
