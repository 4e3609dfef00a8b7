#include "win_pos.h"

#include <algorithm>

#include "win32/owners.h"

namespace zv::ui {

std::string winPosKeyPath() {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path, n < MAX_PATH ? n : 0);
  size_t slash = file.find_last_of("\\/");
  if (slash != std::string::npos) file = file.substr(slash + 1);
  size_t dot = file.find_last_of('.');
  if (dot != std::string::npos) file = file.substr(0, dot);
  return "Software\\Dovrik\\Common\\WinPos\\" + file;
}

namespace {

int readValue(HKEY key, const std::string& name) {
  DWORD type = 0, value = 0, size = sizeof(value);
  if (!key || RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value))
    return kNoPosition;
  return static_cast<int>(value);
}

bool writeValue(HKEY key, const std::string& name, int value) {
  DWORD v = static_cast<DWORD>(value);
  return RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof(v)) == ERROR_SUCCESS;
}

}  // namespace

WinPos readWinPos(const std::string& name) {
  WinPos pos;
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, winPosKeyPath().c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return pos;
  pos.left = readValue(key.get(), name + "_l");
  pos.top = readValue(key.get(), name + "_t");
  int rolled = readValue(key.get(), name + "_r");
  pos.rolledUp = rolled != kNoPosition && rolled != 0;
  pos.width = readValue(key.get(), name + "_w");
  pos.height = readValue(key.get(), name + "_h");
  return pos;
}

bool writeWinPos(const std::string& name, const WinPos& pos, bool sizeable) {
  UniqueRegKey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, winPosKeyPath().c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS)
    return false;
  bool ok = writeValue(key.get(), name + "_l", pos.left) && writeValue(key.get(), name + "_t", pos.top) &&
            writeValue(key.get(), name + "_r", pos.rolledUp ? 1 : 0);
  if (sizeable) ok = ok && writeValue(key.get(), name + "_w", pos.width) && writeValue(key.get(), name + "_h", pos.height);
  return ok;
}

RECT placeWindow(int left, int top, SIZE size) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  if (left == kNoPosition || top == kNoPosition) {
    left = work.left + ((work.right - work.left) - size.cx) / 2;
    top = work.top + ((work.bottom - work.top) - size.cy) / 2;
    return {left, top, left + size.cx, top + size.cy};
  }
  RECT r{left, top, left + size.cx, top + size.cy};
  // At least a grip of the window (its top strip) must be on some screen;
  // otherwise it goes into the nearest screen's work area.
  RECT grip{r.left, r.top, r.right, r.top + std::min<LONG>(size.cy, 16)};
  HMONITOR monitor = MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{sizeof(info)};
  if (monitor && GetMonitorInfoA(monitor, &info)) work = info.rcWork;
  RECT seen{};
  if (IntersectRect(&seen, &grip, &work) && seen.right - seen.left >= std::min<LONG>(32, size.cx)) return r;
  LONG x = std::clamp<LONG>(r.left, work.left, std::max(work.left, work.right - size.cx));
  LONG y = std::clamp<LONG>(r.top, work.top, std::max(work.top, work.bottom - size.cy));
  return {x, y, x + size.cx, y + size.cy};
}

}  // namespace zv::ui
