// What the main window shows on its timer: the scrolling title and the tray
// tip, the time labels with the skin's formats and their blinking, the tray
// animation, the taskbar progress; the group and file labels' clicks,
// tooltips and in-place description editor.
#include <windows.h>
#include <commctrl.h>

#include "display/command_hints.h"
#include "display/label_texts.h"
#include "display/time_format.h"
#include "menus/vis_data.h"
#include "main_window.h"
#include "text/program_text.h"
#include "tray/taskbar_buttons.h"
#include "zv_config.h"
#include "zv_desc.h"

namespace zv {
namespace {

enum LabelIndex { labelGroup, labelFile, labelPosition, labelTotal, labelPlaylistTotal };

}  // namespace

void TMainWnd::setStreamTitle(const std::string& title) {
  title_.setTitle(title, display_.scrollTitle);
  SetWindowTextA(hwnd(), title_.caption().c_str());
  tray_.setTip(title_.title());
}

// The skin's format of a time label, checked before any use.
std::string TMainWnd::timeFormat(const char* label) const {
  const ui::TSkinCtl* ctl = skin() ? skin()->findControl(label) : nullptr;
  return checkedTimeFormat(ctl ? ctl->attr("format") : std::string());
}

void TMainWnd::updateTimeLabels(const ZvStatusRec* status) {
  if (labels_.size() < 5) return;
  const bool playIntent = seq_ && seq_->playIntent();
  std::string position = programText(kNoTime), total = programText(kNoTime);
  if (status) {
    const bool remaining = configBool("remTime", ZV_FALSE) != 0 && status->lengthMs > 0;
    position = remaining ? "-" + formatTime(timeFormat("pos"), status->lengthMs - status->positionMs)
                         : formatTime(timeFormat("pos"), status->positionMs);
    if (status->lengthMs > 0) total = formatTime(timeFormat("total"), status->lengthMs);
  }
  if (clock_.positionBlank(playIntent)) position.clear();
  labels_[labelPosition]->setText(position);
  labels_[labelTotal]->setText(total);
}

void TMainWnd::displayTick() {
  clock_.tick();
  if (display_.scrollTitle) {
    title_.tick();
    SetWindowTextA(hwnd(), title_.caption().c_str());
  }
  if (!clock_.halfSecond()) return;
  const bool playing = seq_ && seq_->playIntent() && seq_->stream() != 0;
  if (!seq_ || !seq_->seeking()) updatePosition();
  if (display_.trayAnim) tray_.setFrame(trayAnimation_.step(playing, clock_));
  const ZvStatusRec* status = seq_ ? seq_->streamStatus() : nullptr;
  taskbar_.setPlaying(playing);
  taskbar_.setProgress(taskbarProgress(status != nullptr, playing, status ? status->positionMs : 0,
                                       status ? status->lengthMs : 0));
}

MenuLook TMainWnd::menuLook() const {
  MenuLook look;
  look.menuStyle = display_.menuStyle;
  look.videoFx = display_.videoFx;
  look.alphaConst = display_.alphaConst;
  look.alphaMain = display_.alphaMain;
  look.alphaGrad = display_.alphaGrad;
  // The texture is a picture of the skin's folder.
  if (!display_.texture.empty()) look.texturePath = dirs_.root + "\\skins\\" + skins_.name + "\\" + display_.texture;
  return look;
}

void TMainWnd::applyDisplayCommand(const std::string& command) {
  if (command.rfind("_vis:", 0) == 0) return startVisPlugin(command.substr(5));
  if (command.rfind("_cfg:", 0) == 0) return configureVisPlugin(command.substr(5));
  if (!zv::applyDisplayCommand(visData_, command)) return;
  storeVisData(visData_);
  applySkinToChildren();  // the panel hands the new record to its instance
}

// ---- Labels ----

void TMainWnd::onLabelClick(int index, bool right) {
  if (right && (index == labelGroup || index == labelFile)) {
    editDescription(index);
    return;
  }
  if (right) return;
  if (index == labelPosition) {
    setConfigBool("remTime", configBool("remTime", ZV_FALSE) ? ZV_FALSE : ZV_TRUE);
    updatePosition();
  } else if (index == labelFile) {
    setConfigBool("l2Group", configBool("l2Group", ZV_FALSE) ? ZV_FALSE : ZV_TRUE);
    updateLines();
  }
}

std::string TMainWnd::controlTooltip(const ui::TSkinCtl& ctl) const {
  if (!ctl.isButton()) return ctl.attr("hint");
  auto* self = const_cast<TMainWnd*>(this);  // text() reads the loaded language file
  return skinButtonTooltip(ctl.action, ctl.action1, ctl.attr("hint"),
                           [self](const char* localised) { return self->text(localised); });
}

void TMainWnd::applyTooltips() {
  const bool on = display_.showTooltips;
  for (auto& label : labels_) label->setShowHint(on);
  refreshTooltips();  // the buttons' hints in the language now loaded
  // The skin buttons' hints ("showTooltips" off silences them).
  if (HWND tips = tooltipWindow()) SendMessageA(tips, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

// An edit box over the label: Enter keeps the text as the line's
// description (and the file's, through the engine); leaving it drops it.
// The box takes Enter as a line break (ES_WANTRETURN), which tells the
// window through EN_CHANGE without a hook into the box.
void TMainWnd::editDescription(int index) {
  if (!seq_ || !current_ || static_cast<size_t>(index) >= labels_.size()) return;
  const int32_t line = index == labelGroup ? seq_->curGroupN() : seq_->curFileN();
  if (line < 0 || line >= plGetCount(current_)) return;
  descEditor_.reset();
  RECT r;
  GetWindowRect(labels_[index]->hwnd(), &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  descEditorLine_ = line;
  descEditor_.reset(CreateWindowExA(0, "EDIT", plGetDesc(current_, line),
                                    WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_MULTILINE | ES_WANTRETURN,
                                    r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDescEditorId)), GetModuleHandleA(nullptr),
                                    nullptr));
  if (!descEditor_) return;
  SendMessageA(descEditor_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SendMessageA(descEditor_.get(), EM_SETSEL, 0, -1);
  SetFocus(descEditor_.get());
}

void TMainWnd::onDescEditor(UINT notification) {
  if (!descEditor_ || descEditorLine_ < 0) return;
  char text[1024] = {};
  GetWindowTextA(descEditor_.get(), text, sizeof(text));
  std::string typed = text;
  const size_t enter = typed.find_first_of("\r\n");
  if (notification == EN_CHANGE && enter == std::string::npos) return;
  if (notification != EN_CHANGE && notification != EN_KILLFOCUS) return;
  const int32_t line = std::exchange(descEditorLine_, -1);
  if (enter != std::string::npos && current_ && line < plGetCount(current_)) {
    typed.erase(enter);
    plSetDesc(current_, line, typed.c_str());
    setDesc(plGetName(current_, line), typed.c_str());
    // An open editor of the main playlist shows the line's text too.
    if (commands_ && commands_->hasEditors()) commands_->editors().mainListChanged();
  }
  ShowWindow(descEditor_.get(), SW_HIDE);
  SetFocus(hwnd());
  updateLines();
}

}  // namespace zv
