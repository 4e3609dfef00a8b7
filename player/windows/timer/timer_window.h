// TTimerWnd: the timer window. Two rows, "Off timer:" and "On timer:", each
// with an on/off button, hour and minute fields and an "after" field in
// minutes (all wrapping); the off row's ">" button lists the off actions the
// system allows. The player's TimerModel holds the record; the window edits
// it and stores it when destroyed.
#pragma once
#include <functional>
#include <string>

#include "frame_window.h"
#include "own_controls.h"
#include "power_port.h"
#include "timer_model.h"
#include "win32/owners.h"

namespace zv::timer {

class TTimerWnd final : public ui::TFrameWnd {
 public:
  using Translate = std::function<std::string(const char* localised)>;
  TTimerWnd(TimerModel& model, PowerPort& power, Translate translate);
  ~TTimerWnd() override;

  bool open(const std::string& root, HWND owner);

  enum Row { offRow = 0, onRow = 1 };
  // The fields as shown (tests read them back; -1 when empty).
  int field(Row row, int which) const;  // 0 hour, 1 minute, 2 after
  // Types into a field (as the user would; the change is taken at once).
  void typeField(Row row, int which, int value);
  // Recomputes the "after" fields from the times (the 10-second refresh).
  void refresh();
  // The off actions the menu offers, with the current one first marked "*".
  std::string actionMenuDefinition() const;
  void chooseAction(int32_t action);
  // The button of a row, as a click on it does.
  void toggle(Row row);

  // Shows a message box (tests replace it to read what would be shown).
  std::function<void(const std::string& text)> showMessage;
  std::function<void()> onDestroyed;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintOver(HDC dc, int width, int height) override;

 private:
  void buildRow(Row row, int y);
  void showRow(Row row);
  void onFieldChange(HWND field);
  std::string text(const char* localised) const;
  RECT at(int x, int y, int w, int h) const;

  TimerModel& model_;
  PowerPort& power_;
  Translate translate_;
  UniqueWindow fields_[2][3];
  HWND spins_[2][3] = {};
  ui::TZButton* buttons_[2] = {};
  ui::TZButton* actionButton_ = nullptr;
  ui::TZText* actionText_ = nullptr;
  UniqueBitmap images_;  // the "TIMER" strip, when the program has it
  bool updating_ = false;
};

}  // namespace zv::timer
