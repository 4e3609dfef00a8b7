#include "timer_model.h"

namespace zv::timer {

TimerModel::TimerModel(Clock clock, SchedulerPort& scheduler, std::string program)
    : clock_(std::move(clock)), scheduler_(scheduler), program_(std::move(program)) {}

bool TimerModel::testOff() {
  if (!offDue(record_, now())) return false;
  store();
  return true;
}

// The scheduled start is removed quietly: at start-up no message may come
// before the main window (a missing zvsched is said only when the user arms).
bool TimerModel::testOn() {
  if (!onDue(record_, now())) return false;
  store();
  if (onChange) onChange();
  scheduler_.del();
  return true;
}

void TimerModel::startUp() {
  testOff();
  testOn();
}

TimerModel::Due TimerModel::poll() {
  Due due;
  if (testOff()) {
    due.stop = true;
    due.action = record_.offAction;
    if (onChange) onChange();
  }
  due.play = testOn();
  return due;
}

void TimerModel::setOffTime(int32_t minutes) { record_.offTime = wrapMinutes(minutes); }

bool TimerModel::setOnTime(int32_t minutes) {
  if (record_.onArmed) return false;
  record_.onTime = wrapMinutes(minutes);
  return true;
}

void TimerModel::armOff(bool on) {
  record_.offArmed = on ? 1 : 0;
  if (on) record_.offMoment = targetMoment(now(), record_.offTime);
}

bool TimerModel::armOn(bool on) {
  record_.onArmed = on ? 1 : 0;
  if (!on) return scheduler_.del();
  record_.onMoment = targetMoment(now(), record_.onTime);
  return scheduler_.add(scheduleDate(record_.onMoment), scheduleTime(record_.onMoment), program_);
}

void TimerModel::setOffAction(int32_t action) {
  record_.offAction = action >= actionStop && action <= actionShutdown ? action : actionStop;
}

}  // namespace zv::timer
