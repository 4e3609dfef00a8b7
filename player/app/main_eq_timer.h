// The main window's share of the equalizer and the timer: the equalizer
// state applied at start-up, auto-loaded for every file started and settled
// at shutdown; the timer record with its start-up and 5-second due tests
// and the countdown; and the windows "eq" and "timer" open on demand.
#pragma once
#include <memory>
#include <string>

#include "countdown_window.h"
#include "eq_model.h"
#include "eq_window.h"
#include "scheduler_port.h"
#include "system_power.h"
#include "timer_model.h"
#include "timer_window.h"

namespace zv {

class TMainWnd;

class EqTimerSide {
 public:
  explicit EqTimerSide(TMainWnd& main);
  ~EqTimerSide();

  // Start step "outputSettings": "dspData" to the output.
  void startEqualizer();
  // Start step "timer": the record, both due tests (disarming what passed),
  // and the 5-second poll.
  void startTimer();
  // WM_TIMER of the poll.
  static constexpr UINT_PTR kPollTimer = 5058;  // apart from the main window's own timers
  void poll();
  // A file started playing.
  void fileStarted(const std::string& path);
  // Shutdown: the windows go, the equalizer settles, the record is stored.
  void shutdown();

  void openEqualizer();
  void openTimer();
  bool equalizerOpen() const { return eqWnd_ && eqWnd_->hwnd() && IsWindowVisible(eqWnd_->hwnd()); }
  bool timerOpen() const { return timerWnd_ && timerWnd_->hwnd() && IsWindowVisible(timerWnd_->hwnd()); }
  void closeEqualizer() { eqWnd_.reset(); }
  void closeTimer() { timerWnd_.reset(); }

 private:
  void dropClosedWindows();

  TMainWnd& main_;
  SystemPower power_;
  timer::ZvSchedLibrary scheduler_;
  eq::EqModel eq_;
  timer::TimerModel timer_;
  std::unique_ptr<eq::TEqWnd> eqWnd_;
  std::unique_ptr<timer::TTimerWnd> timerWnd_;
  std::unique_ptr<timer::TCountdownWnd> countdown_;
  bool timerStarted_ = false;
};

}  // namespace zv
