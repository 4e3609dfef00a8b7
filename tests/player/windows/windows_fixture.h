// Shared by the tests of the equalizer and timer windows: the engine set up
// once (a configuration section of their own), stand-ins for the clock, the
// scheduler and the power actions, and driving real windows by messages.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "power_port.h"
#include "scheduler_port.h"
#include "testkit.h"
#include "timer_rules.h"

namespace wtest {

void ensureEngine();

// A local moment from its parts.
double moment(int year, int month, int day, int hour, int minute, int second = 0);

// The power port of every test: records what would have happened.
class RecordingPower final : public zv::timer::PowerPort {
 public:
  bool privilege = true, nt5 = true, hiberFile = true;
  std::vector<std::string> actions;
  bool canEnableShutdownPrivilege() override { return privilege; }
  bool isNt5OrLater() override { return nt5; }
  bool hibernationFilePresent() override { return hiberFile; }
  void standby() override { actions.push_back("standby"); }
  void hibernate() override { actions.push_back("hibernate"); }
  void shutdown() override { actions.push_back("shutdown"); }
};

// A scheduler in memory; `available` false acts as a missing zvsched.dll.
class FakeScheduler final : public zv::timer::SchedulerPort {
 public:
  bool available = true;
  std::vector<std::string> calls;
  bool add(const std::string& date, const std::string& time, const std::string& program) override {
    if (available) calls.push_back("add|" + date + "|" + time + "|" + program);
    return available;
  }
  bool del() override {
    if (available) calls.push_back("del");
    return available;
  }
};

// Handles this thread's pending messages.
void pump();
// Mouse press and release at a point of a window (client coordinates).
void click(HWND window, POINT p);
void press(HWND window, POINT p);
void release(HWND window, POINT p);
POINT centre(const RECT& r);

#ifndef WINDOWS_NEED_DISPLAY
#define WINDOWS_NEED_DISPLAY() \
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display: window tests need Xvfb"
#endif

}  // namespace wtest
