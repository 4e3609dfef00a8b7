// skinview.exe [/skin NAME] [/mini] [/frame] [/dialog] [/title TEXT]
// Shows the chosen windows of a skin; "./zv screenshots" drives it. It prints
// the window handles it opened on the standard output (one "window NAME HEX"
// line each) and then runs until its windows are closed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "frame_window.h"
#include "own_controls.h"
#include "skin_loader.h"
#include "skinned_window.h"
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
      if (!skin->findControl(labels[i])) continue;
      auto label = std::make_unique<TXLabel>();
      if (!label->createLabel(hwnd(), labels[i])) continue;
      label->setText(texts[i]);
      bindComponent(labels[i], label->hwnd());
      labels_.push_back(std::move(label));
    }
    if (const TSkinCtl* tb = skin->findControl("tb")) {
      auto& slider = addElement<TZSlider>(0, 1000, 350);
      slider.setRect(tb->bounds(clientSize().cx, clientSize().cy));
      slider.setShowThumb(!tb->attr("thumb").empty() ? tb->attr("thumb") != "0" : true);
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

void announce(const char* what, HWND window) {
  std::printf("window %s %llx\n", what, static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argValue(argc, argv, "/root", uiRootDir().c_str());
  const std::string name = argValue(argc, argv, "/skin", "Default");
  const std::string title = argValue(argc, argv, "/title", "Zorvak");
  const bool mini = hasArg(argc, argv, "/mini");

  std::unique_ptr<ViewerMain> main;
  std::unique_ptr<ViewerFrame> frame;
  MainSkinResult skins;
  if (hasArg(argc, argv, "/frame") || hasArg(argc, argv, "/dialog")) {
    frame = std::make_unique<ViewerFrame>(hasArg(argc, argv, "/dialog") ? FrameKind::dialog : FrameKind::sizeable);
    if (!frame->open(root, hasArg(argc, argv, "/dialog") ? "Autoplay" : "Playlist")) return 1;
    announce(hasArg(argc, argv, "/dialog") ? "dialog" : "frame", frame->hwnd());
  } else {
    skins = loadMainSkins(root, name, MainSkinPurpose::startUp);
    if (!skins.ok()) {
      std::fprintf(stderr, "%s (%s)\n", skinLoadFailedText(), name.c_str());
      return skins.exitCode;
    }
    main = std::make_unique<ViewerMain>();
    if (!main->open(mini ? skins.skins.mini.get() : skins.skins.full.get(), title.c_str())) return 1;
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
