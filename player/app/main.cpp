// zorvak.exe entry point. For now the main window shows what the engine
// reports about the system; the skinned player grows from here.
#include <windows.h>

#include <cstdio>
#include <string>

#include "zvengine.h"
#include "zv_config.h"

namespace {

const char kClassName[] = "ZVWindow";

std::string engineSummary() {
  char text[512];
  std::snprintf(text, sizeof(text),
                "Zorvak\r\n\r\nEngine loaded.\r\nshell32 %d, comctl32 %d, comdlg32 %d, shlwapi %d\r\n"
                "Windows 2000 or later: %s, XP or later: %s",
                static_cast<int>(shellVer()), static_cast<int>(comctlVer()), static_cast<int>(comdlgVer()),
                static_cast<int>(shlwapiVer()), isWin2K() ? "yes" : "no", isWinXP() ? "yes" : "no");
  return text;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      InflateRect(&r, -12, -12);
      std::string text = engineSummary();
      DrawTextA(dc, text.c_str(), -1, &r, DT_LEFT | DT_TOP | DT_WORDBREAK);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) return 1;

  HWND hwnd = CreateWindowA(kClassName, "Zorvak", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 420, 200,
                            nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
