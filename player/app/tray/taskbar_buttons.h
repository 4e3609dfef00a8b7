// The taskbar button's thumbnail toolbar (previous, play/stop, next) and its
// progress, where the system offers them (ITaskbarList3, Windows 7 on).
// Where it is missing or a stub (Wine) nothing is shown and the player
// works as before.
#pragma once
#include <windows.h>
#include <shobjidl.h>

#include <cstdint>

#include "win32/owners.h"

namespace zv {

constexpr UINT kFirstThumbButton = 300;  // 300 previous, 301 play/stop, 302 next

// The command of a thumbnail button, or null.
const char* thumbButtonCommand(UINT id);

// What the taskbar's progress shows: the position of a stream with a length.
struct TaskbarProgress {
  TBPFLAG state = TBPF_NOPROGRESS;
  uint64_t completed = 0, total = 0;
};
TaskbarProgress taskbarProgress(bool hasStream, bool playing, int32_t positionMs, int32_t lengthMs);

class TaskbarButtons {
 public:
  // The message the shell sends when the window's taskbar button exists.
  static UINT createdMessage();

  // On that message: asks for the interface and adds the buttons. False
  // when the system has none (or refused the buttons).
  bool attach(HWND window);
  bool available() const { return static_cast<bool>(list_); }
  bool buttonsAdded() const { return buttons_; }
  // The middle button's picture and tip follow the play state.
  void setPlaying(bool playing);
  void setProgress(const TaskbarProgress& progress);

 private:
  ComRef<ITaskbarList3> list_;
  HWND window_ = nullptr;
  bool buttons_ = false;
  bool playing_ = false;
  TaskbarProgress shown_;
};

}  // namespace zv
