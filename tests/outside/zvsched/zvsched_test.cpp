// zvsched.dll through its real exports, loaded by name as the player loads
// it, checked against what the system's task scheduler then lists.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "scheduler_probe.h"
#include "testkit.h"
#include "win32/owners.h"

namespace {

constexpr wchar_t kTask[] = L"Zorvak scheduled start";
using AddFn = BOOL(WINAPI*)(const char*, const char*, const char*);
using DelFn = BOOL(WINAPI*)();

class ZvSched : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!zvtest::haveTaskScheduler()) GTEST_SKIP() << "no task scheduler on this system";
    lib_ = zv::UniqueModule(LoadLibraryA("zvsched.dll"));
    ASSERT_TRUE(lib_) << "zvsched.dll not loadable by name";
    add_ = reinterpret_cast<AddFn>(reinterpret_cast<void*>(GetProcAddress(lib_.get(), "add")));
    del_ = reinterpret_cast<DelFn>(reinterpret_cast<void*>(GetProcAddress(lib_.get(), "del")));
    ASSERT_NE(add_, nullptr);
    ASSERT_NE(del_, nullptr);
    ASSERT_TRUE(del_());  // start without a task, whatever an earlier run left
    ASSERT_FALSE(zvtest::listedTask(kTask));
    ASSERT_FALSE(zvtest::listedJob(kTask));
  }
  void TearDown() override {
    if (del_) del_();
  }

  zv::UniqueModule lib_;
  AddFn add_ = nullptr;
  DelFn del_ = nullptr;
};

TEST_F(ZvSched, addRegistersOneStartOfTheProgramAtTheGivenLocalTime) {
  ASSERT_TRUE(add_("07/03/2031", "06:05", "C:\\Program Files\\Zorvak\\zorvak.exe"));
  auto task = zvtest::scheduledStart(kTask);
  ASSERT_TRUE(task) << "the scheduler lists no task after add";
  EXPECT_EQ(task->triggerCount, 1);
  EXPECT_EQ(task->startBoundary.substr(0, 19), L"2031-03-07T06:05:00");
  EXPECT_EQ(task->actionCount, 1);
  EXPECT_EQ(task->program, L"C:\\Program Files\\Zorvak\\zorvak.exe");
  // Kept by one of the two interfaces, never by both.
  EXPECT_NE(zvtest::listedTask(kTask).has_value(), zvtest::listedJob(kTask).has_value());
}

TEST_F(ZvSched, delRemovesTheTaskAndASecondDelStillSucceeds) {
  ASSERT_TRUE(add_("31/12/2030", "23:59", "C:\\Zorvak\\zorvak.exe"));
  ASSERT_TRUE(zvtest::scheduledStart(kTask));
  EXPECT_TRUE(del_());
  EXPECT_FALSE(zvtest::listedTask(kTask));
  EXPECT_FALSE(zvtest::listedJob(kTask));
  EXPECT_TRUE(del_());
}

TEST_F(ZvSched, secondAddReplacesTheFirst) {
  ASSERT_TRUE(add_("01/01/2031", "08:00", "C:\\One\\zorvak.exe"));
  ASSERT_TRUE(add_("02/01/2031", "09:30", "C:\\Two\\zorvak.exe"));
  auto task = zvtest::scheduledStart(kTask);
  ASSERT_TRUE(task);
  EXPECT_EQ(task->triggerCount, 1);
  EXPECT_EQ(task->startBoundary.substr(0, 19), L"2031-01-02T09:30:00");
  EXPECT_EQ(task->program, L"C:\\Two\\zorvak.exe");
}

TEST_F(ZvSched, fieldsOfOneDigitAndLeftJustifiedPaddingAreRead) {
  ASSERT_TRUE(add_("7 /3 /2031", "6 :5 ", "C:\\Zorvak\\zorvak.exe"));
  auto task = zvtest::scheduledStart(kTask);
  ASSERT_TRUE(task);
  EXPECT_EQ(task->startBoundary.substr(0, 19), L"2031-03-07T06:05:00");
}

struct BadCall {
  const char* why;
  const char* date;
  const char* time;
  const char* program;
};

TEST_F(ZvSched, badArgumentsFailAndLeaveTheScheduledStartAlone) {
  const std::string longPath = "C:\\" + std::string(MAX_PATH, 'a') + ".exe";
  const BadCall cases[] = {
      {"no date", nullptr, "10:00", "C:\\z.exe"},
      {"no time", "01/02/2031", nullptr, "C:\\z.exe"},
      {"no program", "01/02/2031", "10:00", nullptr},
      {"empty program", "01/02/2031", "10:00", ""},
      {"program too long", "01/02/2031", "10:00", longPath.c_str()},
      {"quote in program", "01/02/2031", "10:00", "C:\\z.exe\" /evil"},
      {"empty date", "", "10:00", "C:\\z.exe"},
      {"day 32", "32/01/2031", "10:00", "C:\\z.exe"},
      {"day 0", "00/01/2031", "10:00", "C:\\z.exe"},
      {"29 February of a common year", "29/02/2031", "10:00", "C:\\z.exe"},
      {"month 13", "01/13/2031", "10:00", "C:\\z.exe"},
      {"two-digit year", "01/02/31", "10:00", "C:\\z.exe"},
      {"ISO order", "2031-02-01", "10:00", "C:\\z.exe"},
      {"trailing text after the year", "01/02/2031x", "10:00", "C:\\z.exe"},
      {"hour 24", "01/02/2031", "24:00", "C:\\z.exe"},
      {"minute 60", "01/02/2031", "10:60", "C:\\z.exe"},
      {"seconds", "01/02/2031", "10:00:00", "C:\\z.exe"},
      {"three-digit hour", "01/02/2031", "010:00", "C:\\z.exe"},
      {"negative minute", "01/02/2031", "10:-5", "C:\\z.exe"},
  };
  ASSERT_TRUE(add_("29/02/2032", "07:15", "C:\\Kept\\zorvak.exe"));  // a leap day is a real day
  for (const BadCall& c : cases) {
    EXPECT_FALSE(add_(c.date, c.time, c.program)) << c.why;
    auto task = zvtest::scheduledStart(kTask);
    ASSERT_TRUE(task) << c.why;
    EXPECT_EQ(task->startBoundary.substr(0, 19), L"2032-02-29T07:15:00") << c.why;
    EXPECT_EQ(task->program, L"C:\\Kept\\zorvak.exe") << c.why;
  }
}

}  // namespace
