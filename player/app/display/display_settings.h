// The appearance settings the main window applies (at start and after the
// settings window), read with their defaults.
#pragma once
#include <string>

namespace zv {

struct DisplaySettings {
  bool scrollTitle = true;
  bool trayAnim = true;
  bool showTooltips = true;
  bool showGroupTime = true;
  bool showTrackTime = true;
  bool tbHints = true;
  bool newStyleOpen = true;
  int menuStyle = 0;  // colour set 0, 1 or 2
  int videoFx = 0;    // menu colouring: 0 none, 1 uniform, 2 gradient, 3 textured, 4 dynamic
  int alphaConst = 220, alphaMain = 180, alphaGrad = 255;
  std::string texture;  // for videoFx 3
  int hotkeyMod = 0;
};

// `nt5` tells whether the system is Windows NT 5.0 or later (videoFx 4
// needs it; elsewhere it becomes 1).
DisplaySettings readDisplaySettings(bool nt5);

// Clamps what a damaged setting may hold.
int clampByte(int value);

}  // namespace zv
