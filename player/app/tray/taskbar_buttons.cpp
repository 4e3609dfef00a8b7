#include "tray/taskbar_buttons.h"

#include <cwchar>

#include "tray/tray_icons.h"

namespace zv {

const char* thumbButtonCommand(UINT id) {
  switch (id) {
    case kFirstThumbButton: return "prev";
    case kFirstThumbButton + 1: return "toggleplay";
    case kFirstThumbButton + 2: return "next";
    default: return nullptr;
  }
}

TaskbarProgress taskbarProgress(bool hasStream, bool playing, int32_t positionMs, int32_t lengthMs) {
  if (!hasStream || lengthMs <= 0) return {};
  const int32_t at = positionMs < 0 ? 0 : positionMs > lengthMs ? lengthMs : positionMs;
  return {playing ? TBPF_NORMAL : TBPF_PAUSED, static_cast<uint64_t>(at), static_cast<uint64_t>(lengthMs)};
}

UINT TaskbarButtons::createdMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarButtonCreated");
  return message;
}

namespace {

THUMBBUTTON thumb(UINT id, bool playing) {
  THUMBBUTTON b{};
  b.dwMask = static_cast<THUMBBUTTONMASK>(THB_ICON | THB_TOOLTIP | THB_FLAGS);
  b.iId = id;
  // The tray buttons' pictures: 201 previous, 203 play/stop, 205 next.
  const UINT tray[] = {201, 203, 205};
  b.hIcon = TrayIcons::buttonIcon(tray[id - kFirstThumbButton]);
  const wchar_t* tips[] = {L"Previous file", playing ? L"Stop" : L"Play", L"Next file"};
  std::wcsncpy(b.szTip, tips[id - kFirstThumbButton], 259);
  b.dwFlags = THBF_ENABLED;
  return b;
}

}  // namespace

bool TaskbarButtons::attach(HWND window) {
  window_ = window;
  if (!list_) {
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, list_.putVoid())) ||
        FAILED(list_->HrInit())) {
      list_.reset();
      return false;
    }
  }
  if (!buttons_) {
    THUMBBUTTON b[3] = {thumb(kFirstThumbButton, playing_), thumb(kFirstThumbButton + 1, playing_),
                        thumb(kFirstThumbButton + 2, playing_)};
    buttons_ = SUCCEEDED(list_->ThumbBarAddButtons(window, 3, b));
  }
  return buttons_;
}

void TaskbarButtons::setPlaying(bool playing) {
  if (playing == playing_) return;
  playing_ = playing;
  if (!list_ || !buttons_) return;
  THUMBBUTTON b = thumb(kFirstThumbButton + 1, playing);
  list_->ThumbBarUpdateButtons(window_, 1, &b);
}

void TaskbarButtons::setProgress(const TaskbarProgress& p) {
  if (!list_) return;
  if (p.state != shown_.state) list_->SetProgressState(window_, p.state);
  if (p.state != TBPF_NOPROGRESS && (p.completed != shown_.completed || p.total != shown_.total))
    list_->SetProgressValue(window_, p.completed, p.total);
  shown_ = p;
}

}  // namespace zv
