// Command texts resolved against the command set and run on a target.
#include <gtest/gtest.h>

#include <cstring>

#include "commands/command_table.h"

using namespace zv;

namespace {

// Records which handler ran, with the argument and source.
struct RecordingTarget : CommandTarget {
  std::vector<std::string> runs;
  void note(const char* handler, C c) {
    runs.push_back(std::string(handler) + "(" + c.name() + "|" + c.argument + "|" + std::to_string(c.source) + ")");
  }
  void play(C c) override { note("play", c); }
  void play2(C c) override { note("play2", c); }
  void openItem(C c) override { note("openItem", c); }
  void openFile(C c) override { note("openFile", c); }
  void switchSetting(C c) override { note("switch", c); }
  void rewind(C c) override { note("rewind", c); }
  void display(C c) override { note("display", c); }
  void vis(C c) override { note("vis", c); }
  void editItem(C c) override { note("editItem", c); }
  void popupMenu(C c) override { note("popup", c); }
};

TEST(CommandTable, texts_resolveToTheirHandlerArgumentAndSource) {
  struct Case {
    const char* text;
    int32_t source;
    const char* expected;  // "" = ignored
  } cases[] = {
      {"play", 0, "play(play||0)"},
      {"play2", 1, "play2(play2||1)"},
      {"Play", 0, ""},                       // names are case-sensitive
      {"play3", 0, ""},                      // "play" takes no argument
      {"openfile", 2, "openFile(openfile||2)"},
      {"open:C:\\a b\\x.mp3", 2, "openItem(open:|C:\\a b\\x.mp3|2)"},
      {"open2:D:", 0, "openItem(open2:|D:|0)"},
      {"enqstart:x", 0, "openItem(enqstart:|x|0)"},
      {"enq:x", 0, "openItem(enq:|x|0)"},
      {"edit:C:\\l.m3u", 0, "editItem(edit:|C:\\l.m3u|0)"},
      {"rewind:10", 1, "rewind(rewind:|10|1)"},
      {"loop1", 1, "switch(loop1||1)"},
      {"loop1:on", 0, "switch(loop1|:on|0)"},
      {"shuffle:off", 0, "switch(shuffle|:off|0)"},
      {"loop2:maybe", 0, "switch(loop2|:maybe|0)"},
      {"vis:wavis.dll,2", 0, "vis(vis:|wavis.dll,2|0)"},
      {"_vis:wavis.dll", 0, "display(_vis:|wavis.dll|0)"},
      {"_peaks3", 0, "display(_peaks3||0)"},
      {"seqmenu", 2, "popup(seqmenu||2)"},
      {"", 0, ""},
      {"nothing", 0, ""},
  };
  for (const Case& c : cases) {
    RecordingTarget t;
    bool matched = runCommand(t, c.text, c.source);
    if (!*c.expected) {
      EXPECT_FALSE(matched) << c.text;
      EXPECT_TRUE(t.runs.empty()) << c.text;
    } else {
      ASSERT_EQ(t.runs.size(), 1u) << c.text;
      EXPECT_EQ(t.runs[0], c.expected);
    }
  }
}

TEST(CommandTable, everyNameResolvesToItsOwnEntry) {
  // An entry hidden behind an earlier prefix could never run.
  for (const CommandEntry& e : commandTable()) {
    std::string text = e.name;
    if (e.match == CommandMatch::prefix) text += "x";
    auto c = resolveCommand(text, 0);
    ASSERT_TRUE(c) << e.name;
    EXPECT_STREQ(c->name(), e.name);
  }
}

TEST(CommandTable, switchSuffixes_toggleSetOrKeep) {
  struct Case {
    const char* suffix;
    bool before, after;
  } cases[] = {{"", false, true}, {"", true, false},     {":on", false, true}, {":on", true, true},
               {":off", true, false}, {":off", false, false}, {":On", true, true}, {"x", false, false}};
  for (const Case& c : cases)
    EXPECT_EQ(applySwitch(c.before, switchChange(c.suffix)), c.after) << "'" << c.suffix << "' from " << c.before;
}

TEST(CommandTable, values_openModesGroupModesVolumeAndSeeks) {
  auto cmd = [](const char* text) { return *resolveCommand(text, 0); };
  EXPECT_EQ(openModeOf(cmd("open:x")), 0u);
  EXPECT_EQ(openModeOf(cmd("open3:x")), 0u);
  EXPECT_EQ(openModeOf(cmd("repl:x")), 8u);
  EXPECT_EQ(openModeOf(cmd("enq:x")), 1u);
  EXPECT_EQ(openModeOf(cmd("enqstart:x")), 3u);
  EXPECT_EQ(groupModeOf(cmd("group_dirs")), 0);
  EXPECT_EQ(groupModeOf(cmd("group_none")), 1);
  EXPECT_EQ(groupModeOf(cmd("group_id3")), 2);
  EXPECT_EQ(groupModeOf(cmd("group_sorted")), 3);

  EXPECT_EQ(steppedVolume(65000, true), 65535);
  EXPECT_EQ(steppedVolume(1000, false), 0);
  EXPECT_EQ(steppedVolume(30000, true), 32048);

  struct Seek {
    const char* text;
    int32_t position, range;
    std::optional<int32_t> expected;
  } seeks[] = {
      {"rewind:10", 4000, 60000, 0},         {"forward:10", 55000, 60000, 60000},
      {"forward:10", 1000, 60000, 11000},    {"rewind:2", 10000, 60000, 8000},
      {"rewind:", 10000, 60000, std::nullopt}, {"forward:1x", 0, 60000, std::nullopt},
      {"rewind:-5", 0, 60000, std::nullopt}, {"forward:2147483647", 0, 60000, std::nullopt},
  };
  for (const Seek& s : seeks) EXPECT_EQ(relativeSeekTarget(cmd(s.text), s.position, s.range), s.expected) << s.text;

  auto vis = parseVisArgument("my,vis.dll,3");
  ASSERT_TRUE(vis);
  EXPECT_EQ(vis->name, "my,vis.dll");
  EXPECT_EQ(vis->number, 3);
  EXPECT_FALSE(parseVisArgument("vis.dll"));
  EXPECT_FALSE(parseVisArgument("vis.dll,"));
  EXPECT_FALSE(parseVisArgument(",2"));
}

}  // namespace
