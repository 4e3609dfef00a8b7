#include "tray/tray_rules.h"

#include <algorithm>

#include "zv_config.h"

namespace zv {

MinModeBehaviour minModeBehaviour(int minMode) {
  switch (minMode) {
    case 0: return {false, true, false};
    case 1: return {true, false, true};
    case 2: return {true, true, false};
    case 3: return {true, true, true};
    default: return {true, true, false};  // a damaged value: both ways back to the window
  }
}

int defaultMinMode(int state) { return state == 1 ? 1 : 2; }
bool defaultTopmost(int state) { return state == 1; }

TrayButtonSettings readTrayButtonSettings() {
  TrayButtonSettings s;
  s.playlist = configBool("tbPlaylist", ZV_TRUE) != 0;
  s.file = configBool("tbFile", ZV_TRUE) != 0;
  s.seek = configBool("tbSeek", ZV_FALSE) != 0;
  s.play = configBool("tbPlay", ZV_TRUE) != 0;
  return s;
}

std::vector<UINT> trayButtonsToAdd(const TrayButtonSettings& s, bool newestFirst) {
  const bool shown[] = {s.playlist, s.file, s.seek, s.play, s.seek, s.file, s.playlist};
  std::vector<UINT> ids;
  for (UINT id = kFirstTrayButton; id <= kLastTrayButton; ++id)
    if (shown[id - kFirstTrayButton]) ids.push_back(id);
  if (newestFirst) std::reverse(ids.begin(), ids.end());
  return ids;
}

bool trayAddsNewestFirst() {
  // GetVersion keeps the NT bit and the version without a manifest's say.
  const DWORD v = GetVersion();
  const DWORD major = LOBYTE(LOWORD(v)), minor = HIBYTE(LOWORD(v));
  const bool nt = (v & 0x80000000u) == 0;
  return nt && major >= 5 && (major > 5 || minor >= 1);
}

TrayClickAction trayClickAction(UINT id, UINT mouse) {
  const bool left = mouse == WM_LBUTTONUP, right = mouse == WM_RBUTTONUP;
  if (!left && !right) return {};
  if (id == kTrayIconId) return left ? TrayClickAction{TrayClick::restore, nullptr} : TrayClickAction{TrayClick::command, "sysmenu"};
  static const char* const kLeft[] = {"prevpl", "prev", "rewind:10", "toggleplay", "forward:10", "next", "nextpl"};
  static const char* const kRight[] = {"l1menu", "l2menu", "rewind:10", "fadetoggleplay", "forward:10", "l2menu", "l1menu"};
  if (id < kFirstTrayButton || id > kLastTrayButton) return {};
  return {TrayClick::command, (left ? kLeft : kRight)[id - kFirstTrayButton]};
}

std::string trayTip(const std::string& title) { return title.substr(0, 63); }

}  // namespace zv
