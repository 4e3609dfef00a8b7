// The program's start-up pieces: command line, hand-over blocks, folders,
// the order of the start and shutdown steps.
#include <gtest/gtest.h>

#include <algorithm>

#include "startup/cmd_switches.h"
#include "startup/hand_over.h"
#include "startup/lifecycle_steps.h"
#include "startup/program_dirs.h"

using namespace zv;
using Args = std::vector<std::string>;

namespace {

TEST(CommandLine, unregOnlyAsTheExactFirstArgument) {
  EXPECT_TRUE(isUnregRun({"/unreg"}));
  EXPECT_TRUE(isUnregRun({"/unreg", "x"}));
  EXPECT_FALSE(isUnregRun({"/UNREG"}));
  EXPECT_FALSE(isUnregRun({"x", "/unreg"}));
  EXPECT_FALSE(isUnregRun({"/unreg2"}));
  EXPECT_FALSE(isUnregRun({}));
}

TEST(CommandLine, switchesItemsOpenModeAndPlayIntent) {
  struct Case {
    Args args;
    OpenMode mode;
    bool intentFromOn, intentFromOff;
    Args items;
  } cases[] = {
      {{}, 0, true, false, {}},
      {{"/ENQUEUE", "a.mp3", "/Start", "b.mp3"}, 3, true, false, {"a.mp3", "b.mp3"}},
      {{"/enqueue", "/start", "/find", "C:\\m"}, 7, true, false, {"C:\\m"}},
      {{"/play"}, 0, true, true, {}},
      {{"/stop"}, 0, false, false, {}},
      {{"/play", "/stop"}, 0, false, false, {}},  // "stop" wins
      {{"/find", "x"}, 4, true, false, {"x"}},
      {{"/", "/enqueuex"}, 0, true, false, {}},    // no such switch
  };
  for (const Case& c : cases) {
    CmdSwitches s(c.args);
    EXPECT_EQ(s.openMode(), c.mode);
    EXPECT_EQ(s.playIntent(true), c.intentFromOn);
    EXPECT_EQ(s.playIntent(false), c.intentFromOff);
    EXPECT_EQ(s.items(), c.items);
  }
}

TEST(CommandLine, anItemLongerThanAPathIsRefusedNotCut) {
  std::string longItem = "C:\\" + std::string(300, 'a') + ".mp3";
  std::string fits = "C:\\" + std::string(MAX_PATH - 4, 'b');  // 259 characters
  CmdSwitches s({longItem, fits, "short.mp3"});
  EXPECT_EQ(s.items(), (Args{fits, "short.mp3"}));
  EXPECT_EQ(s.refused(), (Args{longItem}));
}

TEST(HandOver, encodedBlocksDecodeToTheirOperation) {
  auto blocks = handOverForItems({"C:\\a.mp3", "D:"}, 7);
  ASSERT_EQ(blocks.size(), 4u);
  std::vector<std::string> seen;
  for (const HandOverBlock& b : blocks) {
    auto h = decodeHandOver(b.dataWord, b.bytes.empty() ? nullptr : b.bytes.data(), static_cast<DWORD>(b.bytes.size()));
    ASSERT_TRUE(h);
    EXPECT_EQ(h->argument, 7);
    seen.push_back(std::to_string(h->op) + ":" + h->text);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"4660:", "4661:C:\\a.mp3", "4661:D:", "4662:"}));
  auto cmd = encodeHandOver(handOverCommand, 1, "rewind:10");
  auto h = decodeHandOver(cmd.dataWord, cmd.bytes.data(), static_cast<DWORD>(cmd.bytes.size()));
  ASSERT_TRUE(h);
  EXPECT_EQ(h->op, handOverCommand);
  EXPECT_EQ(h->argument, 1);
  EXPECT_EQ(h->text, "rewind:10");
}

TEST(HandOver, malformedBlocksAreIgnored) {
  const char unterminated[4] = {'n', 'e', 'x', 't'};
  const char early[] = "next\0garbage";
  std::string huge(kMaxHandOverBytes + 1, 'a');
  huge.back() = 0;
  std::string longPath = "C:\\" + std::string(300, 'p');
  std::string longCommand = "open:" + std::string(2000, 'c');
  struct Case {
    ULONG_PTR word;
    const void* data;
    DWORD size;
    bool accepted;
    const char* text;
  } cases[] = {
      {4663, unterminated, 4, false, ""},               // no zero within its length
      {4663, early, sizeof(early), true, "next"},       // the text ends at the first zero
      {4663, "next", 0, false, ""},                     // a length that says nothing
      {4663, nullptr, 5, false, ""},
      {4663, huge.data(), static_cast<DWORD>(huge.size()), false, ""},
      {4661, longPath.c_str(), static_cast<DWORD>(longPath.size() + 1), false, ""},  // refused, never cut
      {4663, longCommand.c_str(), static_cast<DWORD>(longCommand.size() + 1), true, nullptr},
      {4661, "", 1, false, ""},
      {4664, "x", 2, false, ""},                        // unknown operations
      {4659, nullptr, 0, false, ""},
      {0xFFFF0000u | 4660, nullptr, 0, true, ""},       // begin: the block is not used
      {static_cast<ULONG_PTR>(uint64_t{1} << 40) | (3u << 16) | 4662, unterminated, 4, true, ""},
  };
  for (const Case& c : cases) {
    auto h = decodeHandOver(c.word, c.data, c.size);
    EXPECT_EQ(h.has_value(), c.accepted) << "word " << c.word << " size " << c.size;
    if (h && c.text) {
      EXPECT_EQ(h->text, c.text);
    }
  }
  EXPECT_EQ(decodeHandOver(0xFFFF0000u | 4660, nullptr, 0)->argument, 0xFFFF);
  EXPECT_EQ(decodeHandOver(static_cast<ULONG_PTR>(uint64_t{1} << 40) | (3u << 16) | 4662, nullptr, 0)->argument, 3);
}

TEST(ProgramDirs, rootDataAndUserFoldersFromTheProgramsPath) {
  struct Case {
    const char* exe;
    const char* root;
    const char* data;
  } cases[] = {
      {"C:\\Program Files\\Zorvak\\bin\\zorvak.exe", "c:\\program files\\zorvak", "C:\\Program Files\\Zorvak\\data"},
      {"C:\\Apps\\Zorvak\\zorvak.exe", "c:\\apps\\zorvak", "C:\\Apps\\data"},
      {"D:\\BIN\\zorvak.exe", "d:", "D:\\data"},
      {"C:\\cabin\\zorvak.exe", "c:\\cabin", "C:\\data"},  // only a whole "\bin" is cut
      {"Z:\\w\\root\\bin\\zorvak.exe", "z:\\w\\root", "Z:\\w\\root\\data"},
  };
  for (const Case& c : cases) {
    ProgramDirs d = programDirs(c.exe, "root", "HOST");
    EXPECT_EQ(d.root, c.root) << c.exe;
    EXPECT_EQ(d.data, c.data) << c.exe;
    EXPECT_EQ(d.userData, std::string(c.data) + "\\root@HOST");
  }
  EXPECT_EQ(programDirs("C:\\a\\b\\x.exe", "", "").userData, "C:\\a\\data\\@") << "unreadable names stay empty";
}

template <class Step>
size_t positionOf(std::span<const StepInfo<Step>> table, Step step) {
  auto it = std::find_if(table.begin(), table.end(), [&](const auto& s) { return s.step == step; });
  return static_cast<size_t>(it - table.begin());
}

TEST(LifecycleSteps, startAndShutdownRunInTheirDependencyOrder) {
  auto start = startSteps();
  ASSERT_EQ(start.size(), 29u);
  for (size_t i = 0; i < start.size(); ++i) EXPECT_EQ(static_cast<size_t>(start[i].step), i + 1) << start[i].name;
  using S = StartStep;
  EXPECT_LT(positionOf(start, S::configMode), positionOf(start, S::plugins)) << "the file store before plug-ins";
  EXPECT_LT(positionOf(start, S::plugins), positionOf(start, S::createPlaylists)) << "plug-ins before playlists";
  EXPECT_LT(positionOf(start, S::skin), positionOf(start, S::loadPlaylist));
  EXPECT_LT(positionOf(start, S::cdCheck), positionOf(start, S::commandLine));
  EXPECT_LT(positionOf(start, S::commandLine), positionOf(start, S::resumeLine));
  auto stop = shutdownSteps();
  ASSERT_EQ(stop.size(), 10u);
  using D = ShutdownStep;
  EXPECT_LT(positionOf(stop, D::savePlaylist), positionOf(stop, D::freePlaylists));
  EXPECT_EQ(positionOf(stop, D::freePlugins), positionOf(stop, D::freePlaylists) + 1) << "plug-ins freed last";

  StepRunner<StartStep> runner;
  std::vector<StartStep> ran;
  runner.on(S::about, [&] { ran.push_back(S::about); return true; });
  runner.on(S::configMode, [&] { ran.push_back(S::configMode); return true; });
  runner.on(S::skin, [&] { ran.push_back(S::skin); return false; });  // the skin fails: nothing after it
  EXPECT_FALSE(runner.run(start));
  EXPECT_EQ(ran, (std::vector<StartStep>{S::configMode, S::skin}));
  EXPECT_EQ(runner.missing(start).size(), 26u);
}

}  // namespace
