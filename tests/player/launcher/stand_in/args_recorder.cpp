// Stands in for the player as bin\zorvak.exe of a test root. It writes its
// arguments, one a line, to "args.txt" beside itself and ends. With a file
// "act-as-player" beside it, it behaves as the running player does towards
// launchers: it holds the player's mutex (a second copy appends a line to
// "second-copies.txt" and ends with 255), shows its window of the player's
// class once its arguments are written, appends every item handed over to
// "received.txt", and ends on WM_CLOSE.
#include <windows.h>

#include <cstdio>
#include <string>

#include "win32/owners.h"
#include "win32/window_base.h"

namespace {

std::string folder;

bool appendLine(const std::string& name, const std::string& line) {
  FILE* f = std::fopen((folder + "\\" + name).c_str(), "ab");
  if (!f) return false;
  bool written = std::fputs((line + "\n").c_str(), f) >= 0;
  return std::fclose(f) == 0 && written;
}

bool writeArgs() {
  std::string lines;
  for (int i = 1; i < __argc; ++i) lines += std::string(__argv[i]) + "\n";
  // Written whole under another name first, so a reader never sees half of it.
  std::string temp = folder + "\\args.tmp", done = folder + "\\args.txt";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool written = std::fwrite(lines.data(), 1, lines.size(), f) == lines.size();
  written = std::fclose(f) == 0 && written;
  return written && MoveFileExA(temp.c_str(), done.c_str(), MOVEFILE_REPLACE_EXISTING);
}

class PlayerWindow : public zv::WindowBase {
 public:
  bool open() { return create({"ZVWindow"}, 0, "stand-in player", WS_POPUP, 0, 0, 10, 10); }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COPYDATA) {
      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if ((cds->dwData & 0xFFFF) == 4661 && cds->lpData && cds->cbData > 0)
        appendLine("received.txt", std::string(static_cast<const char*>(cds->lpData), cds->cbData - 1));
      return TRUE;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return passOn(message, wParam, lParam);
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  folder.assign(self, n);
  folder.erase(folder.find_last_of('\\'));
  if (GetFileAttributesA((folder + "\\act-as-player").c_str()) == INVALID_FILE_ATTRIBUTES) return writeArgs() ? 0 : 1;

  zv::UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, "Zorvak_prg_mutex"));
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    appendLine("second-copies.txt", "255");
    return 255;
  }
  if (!writeArgs()) return 1;
  PlayerWindow window;
  if (!window.open()) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
