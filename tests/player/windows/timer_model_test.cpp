// The timer as the player keeps it, on an injected clock: start-up
// disarming, the 5-second poll, the locks while armed, the scheduled start
// through a fake and through a recording zvsched.dll, and the off actions
// the system allows.
#include <gtest/gtest.h>

#include "power_port.h"
#include "timer_model.h"
#include "windows_fixture.h"
#include "zv_config.h"

using namespace zv::timer;
using wtest::moment;

namespace {

struct Clocked {
  double now = moment(2026, 12, 7, 23, 50, 15);
  wtest::FakeScheduler scheduler;
  TimerModel model{[this] { return now; }, scheduler, "C:\\Zorvak\\zorvak.exe"};
  Clocked() {
    wtest::ensureEngine();
    TimerRecord none{};
    setConfigRec("timer2", &none, sizeof(none));
    model.load();
  }
  void minutesLater(double minutes) { now += minutes / 1440; }
};

}  // namespace

TEST(TimerModel, offTimerArmedAt2350For0010FiresAfterMidnight) {
  Clocked t;
  t.model.setOffTime(10);
  t.model.setOffAction(actionStandby);
  t.model.armOff(true);
  EXPECT_EQ(localTimeOf(t.model.record().offMoment).wDay, 8);
  t.minutesLater(10);  // 00:00:15
  EXPECT_FALSE(t.model.poll().stop);
  t.minutesLater(10);  // 00:10:15
  const TimerModel::Due due = t.model.poll();
  EXPECT_TRUE(due.stop);
  EXPECT_EQ(due.action, actionStandby);
  EXPECT_FALSE(due.play);
  EXPECT_EQ(t.model.record().offArmed, 0);
  // Stored at once, disarmed.
  EXPECT_EQ(loadTimerRecord().offArmed, 0);
  EXPECT_FALSE(t.model.poll().stop);
}

TEST(TimerModel, onTimerSchedulesAStartAndRemovesItWhenDue) {
  Clocked t;
  t.model.setOnTime(7 * 60 + 30);
  EXPECT_TRUE(t.model.armOn(true));
  ASSERT_EQ(t.scheduler.calls, (std::vector<std::string>{"add|08/12/2026|07:30|C:\\Zorvak\\zorvak.exe"}));
  // Locked while armed.
  EXPECT_FALSE(t.model.setOnTime(8 * 60));
  EXPECT_EQ(t.model.record().onTime, 7 * 60 + 30);
  int refreshed = 0;
  t.model.onChange = [&] { ++refreshed; };
  t.minutesLater(7 * 60 + 40);  // 07:30:15 the next day
  const TimerModel::Due due = t.model.poll();
  EXPECT_TRUE(due.play);
  EXPECT_FALSE(due.stop);
  EXPECT_EQ(refreshed, 1);
  EXPECT_EQ(t.scheduler.calls.back(), "del");
  EXPECT_TRUE(t.model.setOnTime(8 * 60));
}

TEST(TimerModel, disarmingTheOnTimerRemovesTheStart) {
  Clocked t;
  t.model.setOnTime(60);
  t.model.armOn(true);
  EXPECT_TRUE(t.model.armOn(false));
  EXPECT_EQ(t.scheduler.calls.back(), "del");
  EXPECT_EQ(t.model.record().onArmed, 0);
}

TEST(TimerModel, anArmedOffTimerKeepsItsMomentWhenTheTimeChanges) {
  Clocked t;
  t.model.setOffTime(23 * 60 + 55);
  t.model.armOff(true);
  const double armed = t.model.record().offMoment;
  t.model.setOffTime(5);
  EXPECT_EQ(t.model.record().offTime, 5);
  EXPECT_EQ(t.model.record().offMoment, armed);
}

TEST(TimerModel, startUpAfterBothMomentsDisarmsWithoutActing) {
  Clocked t;
  TimerRecord r{};
  r.offArmed = r.onArmed = 1;
  r.offMoment = moment(2026, 12, 7, 8, 0);
  r.onMoment = moment(2026, 12, 7, 9, 0);
  r.offAction = actionShutdown;
  setConfigRec("timer2", &r, sizeof(r));
  t.model.load();
  t.scheduler.available = false;  // no zvsched: still no message, nothing thrown
  t.model.startUp();
  EXPECT_EQ(t.model.record().offArmed, 0);
  EXPECT_EQ(t.model.record().onArmed, 0);
  const TimerModel::Due due = t.model.poll();
  EXPECT_FALSE(due.stop);
  EXPECT_FALSE(due.play);
  EXPECT_EQ(loadTimerRecord().offArmed, 0);
  EXPECT_EQ(loadTimerRecord().onArmed, 0);
}

TEST(TimerModel, startUpKeepsFutureMoments) {
  Clocked t;
  TimerRecord r{};
  r.offArmed = 1;
  r.offMoment = t.now + 1.0 / 24;
  setConfigRec("timer2", &r, sizeof(r));
  t.model.load();
  t.model.startUp();
  EXPECT_EQ(t.model.record().offArmed, 1);
}

TEST(TimerModel, aMissingSchedulerIsReportedToTheCaller) {
  Clocked t;
  t.scheduler.available = false;
  EXPECT_FALSE(t.model.armOn(true));
  EXPECT_EQ(t.model.record().onArmed, 1);  // it still fires by polling
}

TEST(ZvSchedLibrary, callsTheRecordingLibraryByPath) {
  const std::string dir = zvtest::rootDir() + "\\..\\testroot\\sched";
  const std::string log = dir + "\\zvsched-calls.txt";
  DeleteFileA(log.c_str());
  ZvSchedLibrary sched(dir + "\\zvsched.dll");
  if (GetFileAttributesA((dir + "\\zvsched.dll").c_str()) == INVALID_FILE_ATTRIBUTES)
    FAIL() << "the recording zvsched.dll is missing: " << dir;
  double now = moment(2026, 12, 7, 23, 50);
  TimerModel model([&] { return now; }, sched, "C:\\Program Files\\Zorvak\\zorvak.exe");
  model.setOnTime(10);
  EXPECT_TRUE(model.armOn(true));
  EXPECT_TRUE(model.armOn(false));
  const std::vector<uint8_t> bytes = zvtest::readFile(log);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            "add|08/12/2026|00:10|C:\\Program Files\\Zorvak\\zorvak.exe\ndel\n");
}

TEST(ZvSchedLibrary, aMissingLibraryOrExportFails) {
  ZvSchedLibrary missing(zvtest::testDir() + "\\no-such\\zvsched.dll");
  EXPECT_FALSE(missing.add("01/01/2027", "00:00", "x"));
  EXPECT_FALSE(missing.del());
  // A library without the exports.
  ZvSchedLibrary wrong("kernel32.dll");
  EXPECT_FALSE(wrong.add("01/01/2027", "00:00", "x"));
  EXPECT_FALSE(wrong.del());
}

TEST(OffActions, offeredByWhatTheSystemAllows) {
  struct Case {
    bool privilege, nt5, hiberFile;
    std::vector<OffAction> offered;
  } cases[] = {
      {false, true, true, {actionStop, actionStandby}},
      {true, true, true, {actionStop, actionStandby, actionHibernate, actionShutdown}},
      {true, true, false, {actionStop, actionStandby, actionShutdown}},
      {true, false, true, {actionStop, actionStandby, actionShutdown}},
  };
  for (const Case& c : cases) {
    wtest::RecordingPower power;
    power.privilege = c.privilege;
    power.nt5 = c.nt5;
    power.hiberFile = c.hiberFile;
    EXPECT_EQ(availableOffActions(power), c.offered);
    EXPECT_TRUE(power.actions.empty());
  }
}

TEST(OffActions, wordsAndTextsOfEachAction) {
  EXPECT_STREQ(offActionWord(actionStop), "");
  EXPECT_STREQ(offActionWord(actionStandby), "standby");
  EXPECT_STREQ(offActionWord(actionHibernate), "hibernate");
  EXPECT_STREQ(offActionWord(actionShutdown), "shutdown");
  EXPECT_STREQ(offActionWord(9), "");  // outside 0..3: stop music only
  EXPECT_STREQ(offActionWord(-1), "");
  EXPECT_STREQ(offActionWarning(actionShutdown), "CountShutdown###Shutting down the system in 15 seconds...");
  wtest::RecordingPower power;
  EXPECT_TRUE(carryOut(power, "hibernate"));
  EXPECT_TRUE(carryOut(power, "shutdown"));
  EXPECT_TRUE(carryOut(power, "standby"));
  EXPECT_FALSE(carryOut(power, ""));
  EXPECT_FALSE(carryOut(power, "reboot"));
  EXPECT_EQ(power.actions, (std::vector<std::string>{"hibernate", "shutdown", "standby"}));
}
