// Positions of skinned windows under the current user's key
// "\Software\Dovrik\Common\WinPos\" + the program file's name without its
// extension: name + "_l", "_t" (left, top), "_r" (rolled up) and, for
// sizeable windows, "_w", "_h". Values are REG_DWORD; a missing one reads as
// -10000 (position: centre the window; size: the default size).
#pragma once
#include <windows.h>

#include <string>

namespace zv::ui {

inline constexpr int kNoPosition = -10000;

struct WinPos {
  int left = kNoPosition, top = kNoPosition;
  bool rolledUp = false;
  int width = kNoPosition, height = kNoPosition;
};

// "Software\Dovrik\Common\WinPos\<exe name>" (the program's own file name).
std::string winPosKeyPath();

WinPos readWinPos(const std::string& name);
// Stores left, top and rolled-up; width and height only when `sizeable`.
bool writeWinPos(const std::string& name, const WinPos& pos, bool sizeable);

// Where a window of `size` goes: a missing position is centred on the
// primary work area; a stored one that no longer lies on a visible screen
// (another screen layout) is moved into the nearest work area.
RECT placeWindow(int left, int top, SIZE size);

}  // namespace zv::ui
