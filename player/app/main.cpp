// zorvak.exe entry point. For now the main window shows what the engine
// reports about the system; the skinned player grows from here.
#include <windows.h>

#include <cstdio>
#include <string>

#include "win32/owners.h"
#include "win32/window_base.h"
#include "zvengine.h"
#include "zv_config.h"

namespace {

std::string engineSummary() {
  char text[512];
  std::snprintf(text, sizeof(text),
                "Zorvak\r\n\r\nEngine loaded.\r\nshell32 %d, comctl32 %d, comdlg32 %d, shlwapi %d\r\n"
                "Windows 2000 or later: %s, XP or later: %s",
                static_cast<int>(shellVer()), static_cast<int>(comctlVer()), static_cast<int>(comdlgVer()),
                static_cast<int>(shlwapiVer()), isWin2K() ? "yes" : "no", isWinXP() ? "yes" : "no");
  return text;
}

// The main window: what the engine reports about the system.
class ProbeWindow : public zv::WindowBase {
 public:
  bool create() {
    zv::WindowClassInfo cls = {"ZVWindow"};
    cls.background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    return WindowBase::create(cls, 0, "Zorvak", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 420, 200);
  }

 private:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_PAINT: paint(); return 0;
      case WM_DESTROY: PostQuitMessage(0); return 0;
      default: return passOn(msg, wp, lp);
    }
  }

  void paint() {
    zv::PaintDc dc(hwnd());
    RECT r;
    GetClientRect(hwnd(), &r);
    InflateRect(&r, -12, -12);
    std::string text = engineSummary();
    DrawTextA(dc.get(), text.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_WORDBREAK);
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  ProbeWindow window;
  if (!window.create()) return 1;
  ShowWindow(window.hwnd(), show);
  UpdateWindow(window.hwnd());

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
