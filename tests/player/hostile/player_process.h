// The real zorvak.exe for the hostile-input tests: started from the test's
// root with what it writes to stderr (its diagnostic lines) kept in a file,
// asked whether it still answers, and its message boxes taken away and
// remembered, so that a damaged file which makes it complain does not hold
// the next one.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "hostile_files.h"
#include "win32/owners.h"

namespace htest {

class PlayerProcess {
 public:
  // `root` holds bin\zorvak.exe; stderr goes to `diagnostics` (created anew).
  PlayerProcess(const std::string& root, const std::string& diagnostics);
  ~PlayerProcess();
  bool started() const { return process_.get() != nullptr; }
  DWORD id() const { return id_; }
  bool alive() const;
  // The exit code once the process ended within `ms`, else -1.
  int waitExit(int ms);
  zvtest::ProcessUsage usage() const { return zvtest::processUsage(id_, process_.get()); }

  // The main window of this process, within `ms`.
  HWND waitMainWindow(int ms);
  HWND window() const { return window_; }

  // Sends one WM_COPYDATA block and waits for it to be taken, at most `ms`.
  bool send(ULONG_PTR dataWord, const std::string& bytes, int ms);
  // Until `ms` have passed: the window answers a sent message, and every
  // message box of the process is closed (its caption and text kept in
  // boxes()). False when the window did not answer in time.
  bool settle(int ms);
  const std::vector<std::string>& boxes() const { return boxes_; }
  void forgetBoxes() { boxes_.clear(); }

 private:
  zv::UniqueKernelHandle process_;
  DWORD id_ = 0;
  HWND window_ = nullptr;
  std::vector<std::string> boxes_;
};

// A whole open operation (4660, 4661 per item, 4662) of mode 0 (replace the
// playlist and play), each block within `ms`.
bool openItems(PlayerProcess& player, const std::vector<std::string>& items, int ms);

// A command (4663) within `ms`.
bool runCommand(PlayerProcess& player, const std::string& command, int ms);

}  // namespace htest
