// The main window's key table, its hot-key modifiers and the media keys, and
// the hot-key set registered with the real system.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>

#include "commands/command_table.h"
#include "input/hot_keys.h"
#include "input/key_table.h"
#include "testkit.h"

using namespace zv;

namespace {

TEST(KeyTable, everyKeyRunsItsCommand_andNumSlashNothing) {
  struct Case {
    UINT vk;
    const char* command;  // null: no effect
  } cases[] = {
      {VK_NUMPAD1, "prevpl"},     {VK_NUMPAD2, "voldown"},  {VK_NUMPAD3, "nextpl"},  {VK_NUMPAD4, "prev"},
      {VK_NUMPAD5, "toggleplay"}, {VK_NUMPAD6, "next"},     {VK_NUMPAD7, "rewind:10"}, {VK_NUMPAD8, "volup"},
      {VK_NUMPAD9, "forward:10"}, {VK_NUMPAD0, "openfile"}, {VK_DECIMAL, "l2menu"},  {VK_SUBTRACT, "l1menu"},
      {'3', "info"},              {VK_RETURN, "show"},      {VK_HOME, "prevpl"},     {VK_DOWN, "voldown"},
      {VK_PRIOR, "nextpl"},       {VK_LEFT, "prev"},        {VK_RIGHT, "next"},      {VK_END, "rewind:10"},
      {VK_NEXT, "forward:10"},    {VK_UP, "volup"},         {VK_INSERT, "openfile"}, {VK_DELETE, "l2menu"},
      {VK_ADD, "openmenu"},       {VK_MULTIPLY, "favmenu"}, {'H', "hideall"},        {VK_DIVIDE, nullptr},
      {'A', nullptr},             {VK_F5, nullptr},
  };
  for (const Case& c : cases) {
    const char* got = commandForKey(c.vk);
    if (!c.command) {
      EXPECT_EQ(got, nullptr) << c.vk;
      continue;
    }
    ASSERT_NE(got, nullptr) << c.vk;
    EXPECT_STREQ(got, c.command) << c.vk;
    EXPECT_TRUE(resolveCommand(got, 1)) << got << " is a command of the set";
  }
  EXPECT_EQ(keyTable().size(), 28u);
}

TEST(KeyTable, hotKeyIdentifiersAreTheTableIndexes_thenTheMediaKeys) {
  const auto table = keyTable();
  for (int id = 0; id < kKeyTableSize; ++id) {
    const char* byKey = commandForKey(table[id].vk);
    const char* byId = commandForHotKey(id);
    EXPECT_EQ(byKey == nullptr, byId == nullptr) << id;
    if (byKey && byId) {
      EXPECT_STREQ(byKey, byId) << id;
    }
  }
  EXPECT_STREQ(commandForHotKey(kFirstMediaHotKey), "toggleplay");
  EXPECT_STREQ(commandForHotKey(kFirstMediaHotKey + 3), "stop");
  EXPECT_EQ(commandForHotKey(-1), nullptr);
  EXPECT_EQ(commandForHotKey(kFirstMediaHotKey + static_cast<int>(mediaHotKeys().size())), nullptr);
}

TEST(KeyTable, escapeMinimizes_ctrlCOpensTheConsole_plainCDoesNothing) {
  EXPECT_EQ(decideKey(VK_ESCAPE, false).action, KeyAction::minimize);
  EXPECT_EQ(decideKey('C', true).action, KeyAction::debugConsole);
  EXPECT_EQ(decideKey('C', false).action, KeyAction::none);
  const KeyDecision five = decideKey(VK_NUMPAD5, false);
  EXPECT_EQ(five.action, KeyAction::command);
  EXPECT_STREQ(five.command, "toggleplay");
  EXPECT_EQ(decideKey(VK_DIVIDE, false).action, KeyAction::none);
}

TEST(KeyTable, hotkeyModGivesItsModifiers_andNothingOutsideZeroToFour) {
  EXPECT_EQ(hotKeyModifiers(0), UINT(MOD_WIN));
  EXPECT_EQ(hotKeyModifiers(1), UINT(MOD_CONTROL | MOD_ALT));
  EXPECT_EQ(hotKeyModifiers(2), UINT(MOD_CONTROL | MOD_SHIFT));
  EXPECT_EQ(hotKeyModifiers(3), UINT(MOD_ALT | MOD_SHIFT));
  EXPECT_EQ(hotKeyModifiers(4), UINT(MOD_CONTROL | MOD_ALT | MOD_SHIFT));
  for (int damaged : {-1, 5, 99, INT32_MIN}) EXPECT_FALSE(hotKeyModifiers(damaged)) << damaged;
}

TEST(KeyTable, appCommandsOfTheMediaAndVolumeKeys) {
  EXPECT_STREQ(commandForAppCommand(APPCOMMAND_MEDIA_PLAY_PAUSE), "toggleplay");
  EXPECT_STREQ(commandForAppCommand(APPCOMMAND_MEDIA_NEXTTRACK), "next");
  EXPECT_STREQ(commandForAppCommand(APPCOMMAND_MEDIA_PREVIOUSTRACK), "prev");
  EXPECT_STREQ(commandForAppCommand(APPCOMMAND_MEDIA_STOP), "stop");
  EXPECT_STREQ(commandForAppCommand(APPCOMMAND_VOLUME_UP), "volup");
  EXPECT_STREQ(commandForAppCommand(APPCOMMAND_VOLUME_DOWN), "voldown");
  EXPECT_EQ(commandForAppCommand(APPCOMMAND_BROWSER_BACKWARD), nullptr);
}

// What the set asks of the system, recorded.
struct Recorder {
  std::vector<std::string> calls;
  std::set<int> held;
  HotKeys::Api api() {
    return {[this](HWND, int id, UINT mods, UINT vk) {
              calls.push_back("reg " + std::to_string(id) + " " + std::to_string(mods) + " " + std::to_string(vk));
              held.insert(id);
              return true;
            },
            [this](HWND, int id) {
              calls.push_back("unreg " + std::to_string(id));
              held.erase(id);
            }};
  }
};

TEST(HotKeys, eachApplyUnregistersEverythingBeforeRegistering) {
  Recorder r;
  HotKeys keys(r.api());
  HWND fake = reinterpret_cast<HWND>(0x1234);
  keys.apply(fake, 1);
  // 27 of the table (Num/ has no command) and the 4 media keys.
  EXPECT_EQ(keys.registered().size(), 27u + 4u);
  EXPECT_EQ(r.held.size(), 31u);
  EXPECT_EQ(std::count(keys.registered().begin(), keys.registered().end(), 27), 0) << "Num/ is never taken";
  r.calls.clear();
  keys.apply(fake, 2);
  ASSERT_GE(r.calls.size(), 32u);
  const size_t unregs = static_cast<size_t>(kFirstMediaHotKey) + mediaHotKeys().size();
  for (size_t i = 0; i < unregs; ++i) EXPECT_EQ(r.calls[i].rfind("unreg ", 0), 0u) << r.calls[i];
  EXPECT_EQ(r.calls[unregs], "reg 0 " + std::to_string(MOD_CONTROL | MOD_SHIFT) + " " + std::to_string(VK_NUMPAD1));
}

TEST(HotKeys, aDamagedHotkeyModTakesNoTableKeys_onlyTheMediaKeysWithoutModifier) {
  Recorder r;
  HotKeys keys(r.api());
  keys.apply(reinterpret_cast<HWND>(0x1234), 7);
  ASSERT_EQ(keys.registered().size(), mediaHotKeys().size());
  for (int id : keys.registered()) EXPECT_GE(id, kFirstMediaHotKey);
  for (const std::string& c : r.calls)
    if (c.rfind("reg ", 0) == 0) {
      EXPECT_NE(c.find(" 0 "), std::string::npos) << c << ": media keys take no modifier";
    }
}

TEST(HotKeys, theSystemSeesTheCombinationsTakenAndFreedAgain) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "hot keys need a window station with input";
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  // A probe: can someone else take the combination?
  auto taken = [](UINT mods, UINT vk) {
    if (RegisterHotKey(nullptr, 0xB000, mods, vk)) {
      UnregisterHotKey(nullptr, 0xB000);
      return false;
    }
    return true;
  };
  {
    HotKeys keys;
    keys.apply(window, 4);
    EXPECT_EQ(std::count_if(keys.registered().begin(), keys.registered().end(), [](int id) { return id < kKeyTableSize; }), 27);
    EXPECT_TRUE(taken(MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_NUMPAD5));
    EXPECT_TRUE(taken(MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_HOME));
    EXPECT_FALSE(taken(MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_DIVIDE)) << "Num/ runs nothing and is left to others";
    keys.apply(window, 3);
    EXPECT_FALSE(taken(MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_NUMPAD5)) << "the old modifier was given back";
    EXPECT_TRUE(taken(MOD_ALT | MOD_SHIFT, VK_NUMPAD5));
    keys.apply(window, 9);
    EXPECT_FALSE(taken(0, VK_LEFT)) << "a damaged setting never takes the plain arrows";
    EXPECT_FALSE(taken(MOD_ALT | MOD_SHIFT, VK_NUMPAD5));
  }
  EXPECT_FALSE(taken(MOD_ALT | MOD_SHIFT, VK_HOME)) << "all given back when the set goes";
  DestroyWindow(window);
}

}  // namespace
