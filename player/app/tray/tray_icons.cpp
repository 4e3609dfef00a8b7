#include "tray/tray_icons.h"

#include <shellapi.h>

#include "tray/tray_rules.h"
#include "zv_paths.h"

namespace zv {

TrayIcons::Api TrayIcons::engineApi() {
  return {[](HWND w, UINT id, UINT message, HICON icon, const std::string& tip) {
            return addTrayIcon(w, id, message, icon, tip.c_str()) != 0;
          },
          [](HWND w, UINT id, HICON icon, const std::string& tip) { return editTrayIcon(w, id, icon, tip.c_str()) != 0; },
          [](HWND w, UINT id) { delTrayIcon(w, id); },
          [](HWND w, UINT id, const std::string& title, const std::string& text) {
            return trayHintV5(w, id, title.c_str(), text.c_str(), NIIF_INFO, 10) != 0;
          }};
}

namespace {

HICON loadIcon(const char* name) {
  const int size = GetSystemMetrics(SM_CXSMICON);
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace

HICON TrayIcons::frameIcon(int frame) {
  if (frame < 0 || frame > 4) frame = 1;
  const std::string plain = "Z" + std::to_string(frame);
  HICON icon = loadIcon((plain + "C").c_str());
  return icon ? icon : loadIcon(plain.c_str());
}

HICON TrayIcons::buttonIcon(UINT id) {
  static const char* const kNames[] = {"ZPREVPL", "ZPREV", "ZREWIND", "ZPAUSE", "ZFORWARD", "ZNEXT", "ZNEXTPL"};
  if (id < kFirstTrayButton || id > kLastTrayButton) return nullptr;
  return loadIcon(kNames[id - kFirstTrayButton]);
}

void TrayIcons::showMain(bool on) {
  if (on == main_ || !window_) return;
  if (on) {
    main_ = api_.add(window_, kTrayIconId, kMsgTrayIcon, frameIcon(frame_), tip_);
  } else {
    api_.remove(window_, kTrayIconId);
    main_ = false;
  }
}

void TrayIcons::setTip(const std::string& title) {
  const std::string tip = trayTip(title);
  if (tip == tip_) return;
  tip_ = tip;
  if (main_) api_.edit(window_, kTrayIconId, frameIcon(frame_), tip_);
}

void TrayIcons::setFrame(int frame) {
  if (frame == frame_) return;
  frame_ = frame;
  if (main_) api_.edit(window_, kTrayIconId, frameIcon(frame_), tip_);
}

void TrayIcons::setButtons(const std::vector<UINT>& ids) {
  if (!window_) return;
  for (UINT id : buttons_) api_.remove(window_, id);
  buttons_.clear();
  for (UINT id : ids)
    if (api_.add(window_, id, kMsgTrayIcon, buttonIcon(id), "")) buttons_.push_back(id);
}

bool TrayIcons::balloon(const std::string& title, const std::string& text) {
  return main_ && api_.balloon(window_, kTrayIconId, title.substr(0, 63), text.substr(0, 255));
}

void TrayIcons::removeAll() {
  setButtons({});
  showMain(false);
}

}  // namespace zv
