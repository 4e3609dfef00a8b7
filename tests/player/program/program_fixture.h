// Shared by the program tests: the real zorvak.exe started as its own
// process, driven through its window messages, and what it played read back
// from the capture by each test file's own signal.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "win32/owners.h"

namespace ptest {

// A running zorvak.exe; ended (terminated) when the test leaves it running.
class Player {
 public:
  // `root` holds bin\zorvak.exe; `args` are passed as they are (quoted).
  Player(const std::string& root, const std::vector<std::string>& args);
  ~Player();
  bool started() const { return process_.get() != nullptr; }
  // The exit code once the process ended within `ms`, else -1.
  int waitExit(int ms);
  DWORD id() const { return id_; }

 private:
  zv::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// The main window ("ZVWindow") once it is there, within `ms`.
HWND waitMainWindow(int ms);
// A message box of process `pid` with that caption, within `ms`.
HWND waitBox(DWORD pid, const char* caption, int ms);
// Hand-over command (4663, source 0); true when the window took it.
bool sendCommand(HWND window, const std::string& command);

// A WAV file of `seconds` whose every frame is (8000, 1500 * mark): fades
// scale both channels alike, so each captured frame tells which file it
// came from.
std::string writeMarkedWav(const std::string& dir, const std::string& name, int mark, int seconds);

// What was played, as runs of marks: mark and frame count, in order.
struct Run {
  int mark;
  size_t frames;
};
std::vector<Run> playedRuns();
// Frames of `mark` played before the first frame of `next` (all when `next`
// never played), and whether `next` played.
size_t framesBefore(const std::vector<Run>& runs, int mark, int next, bool* nextPlayed = nullptr);
bool played(int mark);

constexpr size_t kFramesPerSecond = 44100;

// The data folder of a root as the program forms it (user@computer).
std::string userDataDir(const std::string& root);
void removeTree(const std::string& dir);
// A whole file as text ("" when it cannot be read).
std::string fileText(const std::string& path);
// A value of the program's "config.dat" in a data folder ("" when absent).
std::string configValue(const std::string& userData, const char* key);

}  // namespace ptest
