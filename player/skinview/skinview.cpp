// skinview.exe [/root DIR] [/skin NAME] [/mini] [/frame | /dialog]
//              [/hot CONTROL] [/down CONTROL] [/at X Y] [/title TEXT]
// Shows a skin's main window (full or mini state), a frame window or a
// dialog of the own controls; /hot and /down light or press a control of
// the main window. Once drawn it prints "window WHAT X Y WIDTH HEIGHT" (the
// rectangle on the screen) and runs until its window is closed.
// "./zv screenshots" drives it.
#include <windows.h>

#include "about/about_window.h"
#include "autoplay/autoplay_window.h"
#include "openfile/open_file_window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "frame_window.h"
#include "own_controls.h"
#include "skin_loader.h"
#include "skinned_window.h"
#include "win32/owners.h"
#include "xlabel.h"

namespace {

using namespace zv::ui;

// The main window as a viewer shows it: the skin with its labels filled in.
class ViewerMain : public TSkinnedWnd {
 public:
  ViewerMain() : TSkinnedWnd("skinview_main") {}
  bool open(const TSkin* skin, const char* title) {
    if (!createSkinned(title, skin)) return false;
    const char* labels[] = {"l1", "l2", "pos", "total", "pltotal"};
    const char* texts[] = {"Evening Sessions \1(2026)", "Harbour Lights \2- 4:12 - 320 kbps", "1:27", "4:12", "38:05"};
    for (int i = 0; i < 5; ++i) {
      const TSkinCtl* ctl = skin->findControl(labels[i]);
      if (!ctl || ctl->attr("invis") == "1") continue;
      auto label = std::make_unique<TXLabel>();
      if (!label->createLabel(hwnd(), labels[i])) continue;
      label->setText(texts[i]);
      bindComponent(labels[i], label->hwnd());
      labels_.push_back(std::move(label));
    }
    if (const TSkinCtl* tb = skin->findControl("tb"); tb && tb->attr("invis") != "1") {
      // The position slider: no thumb, the played part in the skin's colours.
      auto& slider = addElement<TZSlider>(0, 1000, 350);
      slider.setRect(tb->bounds(clientSize().cx, clientSize().cy));
      slider.setShowThumb(false);
      if (!tb->attr("color").empty())
        slider.setTrackColors(parseSkinColor(tb->attr("color")), parseSkinColor(tb->attr("hicolor")),
                              parseSkinColor(tb->attr("bkcolor")));
    }
    return true;
  }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return TSkinnedWnd::handle(message, wParam, lParam);
  }

 private:
  std::vector<std::unique_ptr<TXLabel>> labels_;
};

class ViewerFrame : public TFrameWnd {
 public:
  ViewerFrame(FrameKind kind) : TFrameWnd(kind == FrameKind::dialog ? "skinview_dialog" : "skinview_frame", kind) {}

  bool open(const std::string& root, const char* title) {
    if (kind() == FrameKind::dialog) return openDialog(root, title);
    if (!createFrame(root, title, {320, 160})) return false;
    RECT c = clientRect();
    auto& text = addElement<TZText>("A sizeable frame window. Its content goes into the skin's client rectangle.");
    text.setRect({c.left + 12, c.top + 12, c.right - 12, c.top + 60});
    return true;
  }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return TFrameWnd::handle(message, wParam, lParam);
  }

 private:
  bool openDialog(const std::string& root, const char* title) {
    if (!createFrame(root, title, {360, 220})) return false;
    RECT c = clientRect();
    const int x = c.left + 14, y = c.top + 12;
    addElement<TZPicture>(&controlArt().confirm).setRect({x, y, x + 40, y + 40});
    addElement<TZText>("You have inserted a multimedia CD. Do you want to open it?")
        .setRect({x + 52, y, c.right - 14, y + 34});
    edit_.reset(CreateWindowExA(0, "EDIT", "Harbour Lights", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, x + 52,
                                y + 40, c.right - x - 66, 20, hwnd(), nullptr, zv::thisModule(), nullptr));
    SendMessageA(edit_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(controlFont()), TRUE);
    addTabStop(edit_.get());
    auto& check = addElement<TZCheck>("Start playing", true);
    check.setRect({x + 52, y + 70, x + 200, y + 90});
    auto& slider = addElement<TZSlider>(0, 100, 60);
    slider.setRect({x + 52, y + 98, c.right - 80, y + 118});
    slider.setHint("Volume");
    auto& knob = addElement<TZKnob>(0, 100, 30);
    knob.setRect({c.right - 60, y + 84, c.right - 20, y + 124});
    auto& yes = addElement<TZButton>("Yes");
    yes.setRect({c.right - 184, c.bottom - 34, c.right - 104, c.bottom - 10});
    yes.onClick = [this] { PostMessageA(hwnd(), WM_CLOSE, 0, 0); };
    auto& no = addElement<TZButton>("No");
    no.setRect({c.right - 94, c.bottom - 34, c.right - 14, c.bottom - 10});
    no.onClick = [this] { PostMessageA(hwnd(), WM_CLOSE, 0, 0); };
    setFocusElement(&yes);
    return true;
  }
  zv::UniqueWindow edit_;
};

bool hasArg(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (_stricmp(argv[i], name) == 0) return true;
  return false;
}

std::string argValue(int argc, char** argv, const char* name, const char* fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (_stricmp(argv[i], name) == 0) return argv[i + 1];
  return fallback;
}

// Draws everything pending, then tells where the window is.
void announce(const char* what, HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  GdiFlush();
  RECT r;
  GetWindowRect(window, &r);
  std::printf("window %s %ld %ld %ld %ld\n", what, r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::fflush(stdout);
}

// A folder of the kinds the "Open file" dialog tells apart (sub-folders,
// playable files, playlists), made afresh under the temporary folder: the
// screenshot shows the list as a user's music folder would.
std::string sampleMusicFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof(temp), temp);
  const std::string folder = std::string(temp) + "Music sample";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* sub : {"Albums", "Live recordings"}) CreateDirectoryA((folder + "\\" + sub).c_str(), nullptr);
  for (const char* file : {"Evening rain.flac", "Morning light.mp3", "Night drive.ogg", "Road trip.m3u", "Sunday.z3u"}) {
    zv::UniqueFile made(CreateFileA((folder + "\\" + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return folder;
}

void placeAt(HWND window, int argc, char** argv) {
  for (int i = 1; i + 2 < argc; ++i)
    if (_stricmp(argv[i], "/at") == 0)
      SetWindowPos(window, nullptr, std::atoi(argv[i + 1]), std::atoi(argv[i + 2]), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argValue(argc, argv, "/root", uiRootDir().c_str());
  const std::string name = argValue(argc, argv, "/skin", "Default");
  const std::string title = argValue(argc, argv, "/title", "Zorvak");
  const bool mini = hasArg(argc, argv, "/mini");

  // The player's own dialogs, as the program shows them.
  if (hasArg(argc, argv, "/openfile")) {
    zv::OpenFileOptions options;
    options.folder = sampleMusicFolder();
    options.extensions = {".flac", ".mp3", ".ogg", ".wav"};
    options.quickFolders = zv::defaultQuickFolders();
    zv::TOpenFileWnd dialog;
    if (!dialog.create(root, nullptr, std::move(options))) return 1;
    SendMessageA(dialog.list(), LB_SETSEL, TRUE, 1);
    ShowWindow(dialog.hwnd(), SW_SHOWNA);
    placeAt(dialog.hwnd(), argc, argv);
    announce("openfile", dialog.hwnd());
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
  }
  if (hasArg(argc, argv, "/autoplay") || hasArg(argc, argv, "/about")) {
    std::unique_ptr<zv::TAutoplayWnd> autoplay;
    std::unique_ptr<zv::TAboutWnd> about;
    HWND shown = nullptr;
    if (hasArg(argc, argv, "/autoplay")) {
      autoplay = std::make_unique<zv::TAutoplayWnd>();
      if (!autoplay->create(root, nullptr)) return 1;
      ShowWindow(shown = autoplay->hwnd(), SW_SHOWNA);
    } else {
      about = std::make_unique<zv::TAboutWnd>();
      if (!about->create(root, nullptr)) return 1;
      shown = about->hwnd();
    }
    placeAt(shown, argc, argv);
    announce(autoplay ? "autoplay" : "about", shown);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
  }

  std::unique_ptr<ViewerMain> main;
  std::unique_ptr<ViewerFrame> frame;
  MainSkinResult skins;
  if (hasArg(argc, argv, "/frame") || hasArg(argc, argv, "/dialog")) {
    frame = std::make_unique<ViewerFrame>(hasArg(argc, argv, "/dialog") ? FrameKind::dialog : FrameKind::sizeable);
    if (!frame->open(root, hasArg(argc, argv, "/dialog") ? "Autoplay" : "Playlist")) return 1;
    placeAt(frame->hwnd(), argc, argv);
    announce(hasArg(argc, argv, "/dialog") ? "dialog" : "frame", frame->hwnd());
  } else {
    skins = loadMainSkins(root, name, MainSkinPurpose::startUp);
    if (!skins.ok()) {
      std::fprintf(stderr, "%s (%s)\n", skinLoadFailedText(), name.c_str());
      return skins.exitCode;
    }
    main = std::make_unique<ViewerMain>();
    TSkin* skin = mini ? skins.skins.mini.get() : skins.skins.full.get();
    if (!main->open(skin, title.c_str())) return 1;
    placeAt(main->hwnd(), argc, argv);
    for (int i = 1; i + 1 < argc; ++i) {
      const bool hot = _stricmp(argv[i], "/hot") == 0, down = _stricmp(argv[i], "/down") == 0;
      if (!hot && !down) continue;
      for (size_t c = 0; c < skin->controls.size(); ++c)
        if (equalsNoCase(skin->controls[c].name(), argv[i + 1])) {
          if (hot) main->setControlHilite(static_cast<int>(c), true);
          if (down) main->setControlDown(static_cast<int>(c), true);
        }
    }
    announce(mini ? "mini" : "main", main->hwnd());
  }

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (TSkinnedWnd::translateUiMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
