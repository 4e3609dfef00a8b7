#include "fr_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "menus/menu_model.h"
#include "skin_paint.h"
#include "win32/owners.h"
#include "help_request.h"

namespace zv::eq {
namespace {

constexpr int kClientWidth = 420, kClientHeight = 240;
constexpr double kLowHz = 20, kHighHz = 20000, kRangeDb = 24;

}  // namespace

TFrWnd::TFrWnd(EqModel& model, Translate translate)
    : ui::TFrameWnd("eqfr", ui::FrameKind::fixed), model_(model), translate_(std::move(translate)) {}

TFrWnd::~TFrWnd() { destroy(); }

std::string TFrWnd::text(const char* localised) const {
  return translate_ ? translate_(localised) : defaultText(localised);
}

COLORREF TFrWnd::curveColor() { return ui::controlArt().accent; }

bool TFrWnd::open(const std::string& root, HWND owner) {
  if (!createFrame(root, text("FrCaption###Frequency response").c_str(), {kClientWidth, kClientHeight}, owner, false))
    return false;
  const RECT c = clientRect();
  plot_ = {c.left + 44, c.top + 12, c.right - 14, c.top + 162};
  auto& label = addElement<ui::TZText>(text("FrWidth###Band width:"), DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  label.setRect({c.left + 14, c.bottom - 40, c.left + 104, c.bottom - 18});
  width_ = &addElement<ReleaseSlider>(0, 300, model_.block().width, false);
  width_->setName("width");
  width_->setStep(5);
  width_->setRect({c.left + 108, c.bottom - 40, c.right - 110, c.bottom - 18});
  width_->onChange = [this](int value) { widthLabel_->setText(widthText(value)); };
  width_->onRelease = [this] { model_.setWidth(width_->value()); };
  widthLabel_ = &addElement<ui::TZText>(widthText(width_->value()), DT_LEFT | DT_SINGLELINE | DT_VCENTER);
  widthLabel_->setRect({c.right - 102, c.bottom - 40, c.right - 10, c.bottom - 18});
  refresh();
  ShowWindow(hwnd(), SW_SHOW);
  return true;
}

std::string TFrWnd::widthText(int width) const {
  if (width <= 0) return text("FrAuto###Automatic");
  char q[32];
  std::snprintf(q, sizeof(q), "Q %.2f", width / 100.0);
  return q;
}

void TFrWnd::refresh() {
  const int points = std::max(2, static_cast<int>(plot_.right - plot_.left));
  curve_.assign(static_cast<size_t>(points), 1.0f);
  curve_.resize(static_cast<size_t>(std::max(0, outGetFilter(points, curve_.data()))));
  if (width_ && width_->value() != model_.block().width) {
    width_->setValue(model_.block().width);
    widthLabel_->setText(widthText(width_->value()));
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
}

int TFrWnd::columnOf(double hz) const {
  const double at = std::log(hz / kLowHz) / std::log(kHighHz / kLowHz);
  return plot_.left + static_cast<int>(std::lround(at * (plot_.right - plot_.left - 1)));
}

int TFrWnd::yOf(double db) const {
  const double clamped = std::clamp(db, -kRangeDb, kRangeDb);
  const int mid = (plot_.top + plot_.bottom) / 2;
  return mid - static_cast<int>(std::lround(clamped / kRangeDb * (plot_.bottom - plot_.top - 2) / 2));
}

void TFrWnd::paintOver(HDC dc, int, int) {
  const ui::ControlArt& art = ui::controlArt();
  ui::fillSolid(dc, plot_, RGB(GetRValue(art.face) * 2 / 3, GetGValue(art.face) * 2 / 3, GetBValue(art.face) * 2 / 3));
  const COLORREF grid = RGB((GetRValue(art.face) + 90) / 2, (GetGValue(art.face) + 90) / 2, (GetBValue(art.face) + 90) / 2);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, art.text);
  SelectedObject font(dc, ui::controlFont());
  for (int db = -24; db <= 24; db += 12) {
    RECT line{plot_.left, yOf(db), plot_.right, yOf(db) + 1};
    ui::fillSolid(dc, line, db == 0 ? RGB(GetRValue(grid) + 30, GetGValue(grid) + 30, GetBValue(grid) + 30) : grid);
    char label[8];
    std::snprintf(label, sizeof(label), db > 0 ? "+%d" : "%d", db);
    RECT r{plot_.left - 40, yOf(db) - 8, plot_.left - 6, yOf(db) + 8};
    DrawTextA(dc, label, -1, &r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
  }
  for (double hz : {100.0, 1000.0, 10000.0}) {
    RECT line{columnOf(hz), plot_.top, columnOf(hz) + 1, plot_.bottom};
    ui::fillSolid(dc, line, grid);
    RECT r{columnOf(hz) - 30, plot_.bottom + 2, columnOf(hz) + 30, plot_.bottom + 18};
    DrawTextA(dc, hz >= 1000 ? (std::to_string(static_cast<int>(hz / 1000)) + "K").c_str() : "100", -1, &r,
              DT_CENTER | DT_SINGLELINE);
  }
  // The curve, two pixels thick.
  UniquePen pen(CreatePen(PS_SOLID, 2, curveColor()));
  SelectedObject p(dc, pen.get());
  for (size_t i = 0; i < curve_.size(); ++i) {
    const double gain = curve_[i];
    const int x = plot_.left + static_cast<int>(i), y = yOf(gain > 0 ? 20 * std::log10(gain) : -kRangeDb);
    if (i == 0)
      MoveToEx(dc, x, y, nullptr);
    else
      LineTo(dc, x, y);
  }
}

LRESULT TFrWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "eq.html")) return TRUE;
  switch (message) {
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
    default:
      break;
  }
  return ui::TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zv::eq
