// The registry of the windows later parts add: what the start-up reopens, in
// which order, and which flags the shutdown stores.
#include <gtest/gtest.h>

#include <set>

#include "startup/tool_windows.h"

using zv::ToolWindow;
using zv::ToolWindowRegistry;

namespace {

// A window whose open state the test sets, recording its calls into `log`.
ToolWindow recorded(const std::string& command, const std::string& flag, std::vector<std::string>& log,
                    const std::set<std::string>& openNow) {
  return {command, flag, [&log, command](zv::TMainWnd&) { log.push_back("open " + command); },
          [&openNow, command] { return openNow.count(command) > 0; },
          [&log, command] { log.push_back("close " + command); }};
}

std::vector<std::string> commandsOf(const std::vector<const ToolWindow*>& windows) {
  std::vector<std::string> out;
  for (const ToolWindow* w : windows) out.push_back(w->command);
  return out;
}

TEST(ToolWindows, reopenFollowsTheFixedOrderThenRegistration_onlySetFlags) {
  std::vector<std::string> log;
  std::set<std::string> openNow;
  ToolWindowRegistry reg;
  // Registered in another order than the one the start-up keeps.
  for (auto [command, flag] : {std::pair{"timer", "open_timer"}, {"editors", "open_editors"}, {"info", "open_info"},
                               {"about", ""}, {"eq", "open_eq"}, {"cddb", "open_cddb"}, {"debug", "open_ds"},
                               {"later", "open_later"}})
    ASSERT_TRUE(reg.add(recorded(command, flag, log, openNow))) << command;

  struct Case {
    std::set<std::string> set;
    std::vector<std::string> reopened;
  } cases[] = {
      {{}, {}},
      {{"open_timer", "open_eq", "open_ds", "open_info", "open_cddb", "open_editors", "open_later"},
       {"eq", "debug", "info", "cddb", "timer", "editors", "later"}},
      {{"open_later", "open_cddb"}, {"cddb", "later"}},
      // A flag no window registered opens nothing; "about" has no flag at all.
      {{"open_setup", ""}, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(commandsOf(reg.toReopen([&](const std::string& key) { return c.set.count(key) > 0; })), c.reopened);
  EXPECT_TRUE(log.empty()) << "choosing opens nothing by itself";
}

TEST(ToolWindows, oneWindowPerCommand_andAWindowNeedsAnOpenFunction) {
  std::vector<std::string> log;
  std::set<std::string> openNow;
  ToolWindowRegistry reg;
  EXPECT_TRUE(reg.add(recorded("eq", "open_eq", log, openNow)));
  EXPECT_FALSE(reg.add(recorded("eq", "open_eq2", log, openNow))) << "the first registration stands";
  EXPECT_FALSE(reg.add({"timer", "open_timer", nullptr, nullptr, nullptr}));
  EXPECT_FALSE(reg.add(recorded("", "open_x", log, openNow)));
  ASSERT_NE(reg.find("eq"), nullptr);
  EXPECT_EQ(reg.find("eq")->flagKey, "open_eq");
  EXPECT_EQ(reg.find("timer"), nullptr);
  EXPECT_EQ(reg.find("Eq"), nullptr) << "commands compare case-sensitively";
}

TEST(ToolWindows, closeAllFreesLastRegisteredFirst_andAnswersTheFlagsOfRegisteredWindows) {
  std::vector<std::string> log;
  std::set<std::string> openNow = {"info"};
  ToolWindowRegistry reg;
  reg.add(recorded("eq", "open_eq", log, openNow));
  reg.add(recorded("info", "open_info", log, openNow));
  reg.add(recorded("about", "", log, openNow));
  reg.add({"timer", "open_timer", [](zv::TMainWnd&) {}, nullptr, nullptr});  // no isOpen: stores false
  const std::map<std::string, bool> flags = reg.closeAll();
  EXPECT_EQ(flags, (std::map<std::string, bool>{{"open_eq", false}, {"open_info", true}, {"open_timer", false}}));
  EXPECT_EQ(log, (std::vector<std::string>{"close about", "close info", "close eq"}));
}

}  // namespace
