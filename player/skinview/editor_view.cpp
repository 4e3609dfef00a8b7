// editorview.exe [/root DIR] [/skin NAME] [/at X Y] [/save]
// Shows a playlist editor in the colours of a main skin on a made-up
// playlist with groups, a playing line, a selection and the line under the
// mouse. Once drawn it prints "window editor X Y WIDTH HEIGHT" and runs until
// its window is closed. With /save it asks where to save the list instead,
// its option boxes all shown, and prints the save dialog's rectangle.
// "./zv screenshots" drives it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor_set.h"
#include "save_options_dialog.h"
#include "win32/owners.h"
#include "skin_loader.h"
#include "skinned_window.h"

namespace {

using namespace zv;

class ViewHost final : public editor::EditorHost {
 public:
  ViewHost(std::string root, const ui::TSkin* skin) : root_(std::move(root)), skin_(skin) {}
  ~ViewHost() override { freePlaylist(main_); }
  std::string rootDir() override { return root_; }
  std::string language() override { return "en"; }
  const ui::TSkin* mainSkin() override { return skin_; }
  Playlist mainPlaylist() override { return main_; }
  int32_t currentLine() override { return 3; }
  void editMainPlaylist(const std::function<void()>& edit) override { edit(); }
  void replaceMainPlaylist(Playlist) override {}
  void playMainLine(int32_t) override {}
  void showFileInfo(const std::string&) override {}
  editor::MenuSources menuSources() override { return {}; }
  editor::EditorDialogs& dialogs() override { return editor::systemEditorDialogs(); }

  void fill() {
    struct L {
      uint32_t flags;
      int32_t level;
      const char* desc;
      int32_t seconds, kb;
      const char* info;
    };
    const L lines[] = {
        {lfHeading | lfGroup, 0, "Evening Sessions", 1931, 45210, ""},
        {lfDirectory | lfGroup, 1, "Harbour Lights (2024)", 1049, 24400, "album=Harbour Lights\nyear=2024\n"},
        {0, 2, "Ana Ribeiro - Low Tide", 252, 9870,
         "format=MPEG 1 Layer 3, 320 kbps\ntitle=Low Tide\nartist=Ana Ribeiro\nalbum=Harbour Lights\nyear=2024\ntrack=1\n"},
        {0, 2, "Ana Ribeiro - Lanterns", 281, 11002,
         "format=MPEG 1 Layer 3, 320 kbps\ntitle=Lanterns\nartist=Ana Ribeiro\nalbum=Harbour Lights\nyear=2024\ntrack=2\n"},
        {0, 2, "Ana Ribeiro - Salt and Cedar", 246, 9630,
         "format=MPEG 1 Layer 3, 320 kbps\ntitle=Salt and Cedar\nartist=Ana Ribeiro\nalbum=Harbour Lights\nyear=2024\ntrack=3\n"},
        {0, 2, "Ana Ribeiro - North Pier", 270, 10571,
         "format=MPEG 1 Layer 3, 320 kbps\ntitle=North Pier\nartist=Ana Ribeiro\nalbum=Harbour Lights\nyear=2024\ntrack=4\n"},
        {lfHeading | lfGroup, 1, "Late additions", 882, 20810, ""},
        {0, 2, "The Quiet Hours - Window Seat", 318, 7420, "format=FLAC, 44100 Hz\ntitle=Window Seat\nartist=The Quiet Hours\ntrack=0\n"},
        {0, 2, "The Quiet Hours - Paper Boats", 301, 7023, "format=FLAC, 44100 Hz\ntitle=Paper Boats\nartist=The Quiet Hours\n"},
        {0, 2, "Morning Radio (live)", 263, 6367, "format=Ogg Vorbis, 160 kbps\ntitle=Morning Radio\nyear=2019\n"},
        {lfDirectory | lfGroup, 1, "Field recordings", 3725, 612, ""},
        {0, 2, "Rain on the roof", 3725, 612, "format=WAV, 22050 Hz mono\n"},
    };
    int i = 0;
    for (const L& l : lines) {
      PlaylistLine rec{};
      rec.flags = l.flags;
      rec.level = l.level;
      rec.time = l.seconds * 1000;
      rec.size = l.kb;
      const std::string name = l.flags & lfHeading ? std::string() : "Z:\\music\\demo" + std::to_string(i++) + ".mp3";
      plAddLine(main_, &rec, name.c_str(), l.desc, l.info);
    }
  }

 private:
  std::string root_;
  const ui::TSkin* skin_;
  Playlist main_ = createPlaylist(-1);
};

bool hasFlag(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (_stricmp(argv[i], name) == 0) return true;
  return false;
}

BOOL CALLBACK collectUpperBoxes(HWND w, LPARAM p) {
  auto* found = reinterpret_cast<HWND*>(p);
  if (GetDlgCtrlID(w) == editor::kSaveOptionIds[0]) found[0] = w;
  if (GetDlgCtrlID(w) == editor::kSaveOptionIds[2]) found[1] = w;
  return TRUE;
}

// Once the save dialog is up: its two upper boxes checked (so the ones
// under them show) and its rectangle printed.
void CALLBACK showSaveDialog(HWND, UINT, UINT_PTR, DWORD) {
  static bool done = false;
  if (done) return;
  HWND top = GetForegroundWindow();
  DWORD pid = 0;
  if (!top || (GetWindowThreadProcessId(top, &pid), pid != GetCurrentProcessId())) return;
  HWND boxes[2] = {};
  EnumChildWindows(top, collectUpperBoxes, reinterpret_cast<LPARAM>(boxes));
  if (!boxes[0] || !boxes[1]) return;
  done = true;
  SendMessageA(boxes[0], BM_CLICK, 0, 0);
  SendMessageA(boxes[1], BM_CLICK, 0, 0);
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  RECT r;
  GetWindowRect(top, &r);
  std::printf("window save %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::fflush(stdout);
}

std::string argValue(int argc, char** argv, const char* name, const char* fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (_stricmp(argv[i], name) == 0) return argv[i + 1];
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argValue(argc, argv, "/root", ui::uiRootDir().c_str());
  const std::string name = argValue(argc, argv, "/skin", "Default");
  ui::MainSkinResult skins = ui::loadMainSkins(root, name, ui::MainSkinPurpose::startUp);
  ViewHost host(root, skins.ok() ? skins.skins.full.get() : nullptr);
  host.fill();
  editor::EditorSet set(host);
  editor::TPLEditorWnd* e = set.openMain();
  if (!e) return 1;
  const int x = std::atoi(argValue(argc, argv, "/x", "40").c_str()), y = std::atoi(argValue(argc, argv, "/y", "40").c_str());
  SetWindowPos(e->hwnd(), nullptr, x, y, 760, 380, SWP_NOZORDER);
  e->selectOnly(7, false);
  ListView_SetItemState(e->listWindow(), 8, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  SetWindowTextA(e->searchWindow(), "");
  // The mouse over line 5: the window hears of it as the list would tell it.
  RECT row{};
  ListView_GetItemRect(e->listWindow(), 5, &row, LVIR_BOUNDS);
  POINT p{row.left + 200, (row.top + row.bottom) / 2};
  ClientToScreen(e->listWindow(), &p);
  SetCursorPos(p.x, p.y);
  SendMessageA(e->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(e->listWindow()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  RedrawWindow(e->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  GdiFlush();
  RECT r;
  GetWindowRect(e->hwnd(), &r);
  if (hasFlag(argc, argv, "/save")) {
    UniqueThreadTimer timer(SetTimer(nullptr, 0, 100, showSaveDialog));
    e->save();
    return 0;
  }
  std::printf("window editor %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::fflush(stdout);
  while (IsWindow(e->hwnd()) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
