// The player's own windows that a command opens ("eq", "info", "timer",
// "setup", "cddb", "debug", "about") and that the start-up reopens when they
// were open at the last shutdown. Each window registers itself once, with one
// line in its own .cpp file (compiled into zorvak.exe, so the line runs before
// WinMain):
//
//   static const bool registered = zv::registerToolWindow(
//       "eq", "open_eq", [](zv::TMainWnd& main) { /* create once, show, bring to the front */ },
//       [] { return /* open now? */; }, [] { /* free it */ });
//
// - The command (one of the command set's window commands) restores the main
//   window and calls `open`.
// - Start-up reopens the windows whose flag ("open_eq", ...) is set, in the
//   order eq, ds, info, setup, cddb, timer, then any other flag in the order
//   of registration.
// - Shutdown asks `isOpen` of each window, calls `close` (last registered
//   first, before the playlists and plug-ins are freed), then stores each
//   registered window's flag. A flag that no window registered is kept as it
//   was read; a window without `isOpen` stores false.
//
// Everything runs on the main thread.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zv {

class TMainWnd;

struct ToolWindow {
  std::string command;                   // "eq"
  std::string flagKey;                   // "open_eq"; "" for a window never reopened ("about")
  std::function<void(TMainWnd&)> open;   // create once, show, bring to the front
  std::function<bool()> isOpen;          // may be empty
  std::function<void()> close;           // may be empty
};

class ToolWindowRegistry {
 public:
  // False (and nothing changes) when the command already has a window.
  bool add(ToolWindow window);
  const ToolWindow* find(const std::string& command) const;
  // The windows whose flag `flagSet(key)` reads as set, in the order of
  // reopening; the caller opens each.
  std::vector<const ToolWindow*> toReopen(const std::function<bool(const std::string&)>& flagSet) const;
  // Frees every window and answers which flags were set (registered windows only).
  std::map<std::string, bool> closeAll() const;

 private:
  std::vector<ToolWindow> windows_;
};

// The program's registry.
ToolWindowRegistry& toolWindows();

inline bool registerToolWindow(std::string command, std::string flagKey, std::function<void(TMainWnd&)> open,
                               std::function<bool()> isOpen = {}, std::function<void()> close = {}) {
  return toolWindows().add({std::move(command), std::move(flagKey), std::move(open), std::move(isOpen),
                            std::move(close)});
}

}  // namespace zv
