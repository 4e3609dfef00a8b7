#include "timer_window.h"

#include <commctrl.h>

#include <cstdlib>

#include "menus/menu_model.h"
#include "field_colors.h"
#include "menus/win_menu.h"
#include "help_request.h"

namespace zv::timer {
namespace {

constexpr int kClientWidth = 470, kClientHeight = 100;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 10000;
constexpr int kRanges[3] = {24, 60, kMinutesPerDay};  // hour, minute, after
enum Image { imagePower, imagePowerOn, imageAlarm, imageAlarmOn, imageArrow };

}  // namespace

TTimerWnd::TTimerWnd(TimerModel& model, PowerPort& power, Translate translate)
    : ui::TFrameWnd("timer", ui::FrameKind::fixed), model_(model), power_(power), translate_(std::move(translate)) {}

TTimerWnd::~TTimerWnd() {
  model_.onChange = nullptr;
  destroy();
}

std::string TTimerWnd::text(const char* localised) const {
  return translate_ ? translate_(localised) : defaultText(localised);
}

RECT TTimerWnd::at(int x, int y, int w, int h) const {
  const RECT c = clientRect();
  return {c.left + x, c.top + y, c.left + x + w, c.top + y + h};
}

bool TTimerWnd::open(const std::string& root, HWND owner) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&icc);
  if (!createFrame(root, text("TimerCaption###Timer").c_str(), {kClientWidth, kClientHeight}, owner, false))
    return false;
  images_.reset(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), "TIMER", IMAGE_BITMAP, 0, 0, 0)));
  buildRow(offRow, 12);
  buildRow(onRow, 64);
  model_.onChange = [this] {
    showRow(offRow);
    showRow(onRow);
  };
  showRow(offRow);
  showRow(onRow);
  SetTimer(hwnd(), kRefreshTimer, kRefreshMs, nullptr);
  ShowWindow(hwnd(), SW_SHOW);
  return true;
}

void TTimerWnd::buildRow(Row row, int y) {
  auto& label = addElement<ui::TZText>(text(row == offRow ? "OffTimer###Off timer:" : "OnTimer###On timer:"),
                                       DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  label.setRect(at(12, y, 80, 26));
  auto& button = addElement<ui::TZButton>();
  button.setName(row == offRow ? "offbutton" : "onbutton");
  button.setHint(text("TimerHint###Turn timer on/off"));
  button.setRect(at(94, y, 34, 26));
  button.onClick = [this, row] { toggle(row); };
  buttons_[row] = &button;
  const int lefts[3] = {140, 196, 316}, widths[3] = {44, 44, 56};
  for (int which = 0; which < 3; ++which) {
    const RECT r = at(lefts[which], y + 2, widths[which], 22);
    fields_[row][which].reset(CreateWindowExA(0, "EDIT", "0", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER | ES_RIGHT,
                                              r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd(), nullptr,
                                              thisModule(), nullptr));
    HWND field = fields_[row][which].get();
    SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(ui::controlFont()), TRUE);
    SendMessageA(field, EM_LIMITTEXT, 4, 0);
    spins_[row][which] = CreateWindowExA(0, UPDOWN_CLASSA, "",
                                         WS_CHILD | WS_VISIBLE | UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                                             UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                         0, 0, 0, 0, hwnd(), nullptr, thisModule(), nullptr);
    SendMessageA(spins_[row][which], UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
    SendMessageA(spins_[row][which], UDM_SETRANGE32, 0, kRanges[which] - 1);
    addTabStop(field);
  }
  auto& colon = addElement<ui::TZText>(":", DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  colon.setRect(at(184, y, 12, 26));
  auto& after = addElement<ui::TZText>(text("After###After:"), DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
  after.setRect(at(246, y, 64, 26));
  auto& minutes = addElement<ui::TZText>(text("Minutes###minutes"), DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  minutes.setRect(at(378, y, 56, 26));
  if (row == offRow) {
    actionButton_ = &addElement<ui::TZButton>(images_ ? "" : ">");
    actionButton_->setName("actions");
    actionButton_->setRect(at(436, y, 26, 26));
    actionButton_->onClick = [this] {
      const std::vector<MenuItem> items = parseMenuDefinition(actionMenuDefinition());
      PopupMenu menu = buildPopupMenu(items, [this](const std::string& s) { return text(s.c_str()); });
      POINT p{actionButton_->rect().left, actionButton_->rect().bottom};
      ClientToScreen(hwnd(), &p);
      const std::string chosen = menu.commandOf(static_cast<unsigned>(
          TrackPopupMenu(menu.menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y, 0, hwnd(), nullptr)));
      if (!chosen.empty()) chooseAction(std::atoi(chosen.c_str()));
    };
    actionText_ = &addElement<ui::TZText>("", DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    actionText_->setName("actiontext");
    actionText_->setRect(at(140, y + 30, 290, 18));
  }
}

// ---- Fields ----

int TTimerWnd::field(Row row, int which) const {
  char value[16] = {};
  GetWindowTextA(fields_[row][which].get(), value, sizeof(value));
  return value[0] ? std::atoi(value) : -1;
}

void TTimerWnd::typeField(Row row, int which, int value) {
  SetWindowTextA(fields_[row][which].get(), std::to_string(value).c_str());
}

void TTimerWnd::showRow(Row row) {
  const TimerRecord& r = model_.record();
  const bool armed = row == offRow ? r.offArmed : r.onArmed;
  const int32_t time = row == offRow ? r.offTime : r.onTime;
  updating_ = true;
  typeField(row, 0, time / 60);
  typeField(row, 1, time % 60);
  typeField(row, 2, minutesAfter(time, model_.now()));
  updating_ = false;
  for (int which = 0; which < 3; ++which) {
    EnableWindow(fields_[row][which].get(), !armed);
    EnableWindow(spins_[row][which], !armed);
  }
  if (!images_) buttons_[row]->setCaption(armed ? text("TmOn###On") : text("TmOff###Off"));
  buttons_[row]->invalidate();
  if (row == offRow && actionText_)
    actionText_->setText(text("TmThen###Then:") + " " + text(offActionCaption(r.offAction)));
}

void TTimerWnd::onFieldChange(HWND changed) {
  if (updating_) return;
  for (int row = 0; row < 2; ++row)
    for (int which = 0; which < 3; ++which) {
      if (fields_[row][which].get() != changed) continue;
      const double now = model_.now();
      updating_ = true;
      int32_t time;
      if (which == 2) {
        time = timeAfter(wrapMinutes(std::max(0, field(Row(row), 2))), now);
        typeField(Row(row), 0, time / 60);
        typeField(Row(row), 1, time % 60);
      } else {
        time = (std::max(0, field(Row(row), 0)) % 24) * 60 + std::max(0, field(Row(row), 1)) % 60;
        typeField(Row(row), 2, minutesAfter(time, now));
      }
      updating_ = false;
      if (row == offRow)
        model_.setOffTime(time);
      else
        model_.setOnTime(time);
      return;
    }
}

void TTimerWnd::refresh() {
  const double now = model_.now();
  updating_ = true;
  for (int row = 0; row < 2; ++row) {
    const int32_t time = (std::max(0, field(Row(row), 0)) % 24) * 60 + std::max(0, field(Row(row), 1)) % 60;
    typeField(Row(row), 2, minutesAfter(time, now));
  }
  updating_ = false;
}

// ---- Buttons and the action menu ----

void TTimerWnd::toggle(Row row) {
  const TimerRecord& r = model_.record();
  if (row == offRow) {
    model_.armOff(!r.offArmed);
  } else if (!model_.armOn(!r.onArmed)) {
    const std::string message = "Error loading zvsched.dll";
    if (showMessage)
      showMessage(message);
    else
      MessageBoxA(hwnd(), message.c_str(), "Zorvak", MB_ICONERROR);
  }
  showRow(row);
}

std::string TTimerWnd::actionMenuDefinition() const {
  std::string def;
  const int32_t current = model_.record().offAction;
  for (OffAction a : availableOffActions(power_))
    def += std::string(offActionCaption(a)) + "|" + (a == current ? "*" : "") + std::to_string(a) + "\n";
  return def;
}

void TTimerWnd::chooseAction(int32_t action) {
  model_.setOffAction(action);
  showRow(offRow);
}

// The buttons' pictures from the "TIMER" strip (16 x 16 cells on magenta).
void TTimerWnd::paintOver(HDC dc, int, int) {
  if (!images_) return;
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  SelectedObject picture(source.get(), images_.get());
  const TimerRecord& r = model_.record();
  const auto draw = [&](const ui::UiElement* e, int image) {
    if (!e) return;
    const RECT b = e->rect();
    const int x = (b.left + b.right) / 2 - 8;
    const int y = (b.top + b.bottom) / 2 - 8;
    TransparentBlt(dc, x, y, 16, 16, source.get(), image * 16, 0, 16, 16, RGB(255, 0, 255));
  };
  draw(buttons_[offRow], r.offArmed ? imagePowerOn : imagePower);
  draw(buttons_[onRow], r.onArmed ? imageAlarmOn : imageAlarm);
  draw(actionButton_, imageArrow);
}

LRESULT TTimerWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "timer.html")) return TRUE;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) onFieldChange(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(ui::fieldColors(reinterpret_cast<HDC>(wParam), message == WM_CTLCOLOREDIT));
    case WM_TIMER:
      if (wParam == kRefreshTimer) refresh();
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        PostMessageA(hwnd(), WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_CLOSE:
      storePosition();
      destroy();
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd(), kRefreshTimer);
      model_.store();
      model_.onChange = nullptr;
      if (onDestroyed) onDestroyed();
      break;
    default:
      break;
  }
  return ui::TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zv::timer
