// Skin buttons' tooltips from their commands' hints, and the outside
// visualisation libraries the display menu lists (a real library copied
// into a plug-in folder, loaded and asked for its modules).
#include <gtest/gtest.h>
#include <windows.h>

#include "display/command_hints.h"
#include "display/vis_plugins.h"
#include "testkit.h"

using namespace zv;

namespace {

TEST(CommandHints, aButtonsTooltip_isItsCommandsHint_withTheShiftCommandsAfterPlusShift) {
  struct Case {
    const char* action;
    const char* shift;
    const char* skinHint;
    const char* tooltip;
  } cases[] = {
      {"toggleplay", "fadetoggleplay", "", "Play/stop / [+Shift] Play/stop with fading"},
      {"prev", "rewind:10", "", "Previous file / [+Shift] Rewind"},
      {"next", "forward:10", "skin's own", "Next file / [+Shift] Forward"},
      {"eq", "", "", "Equalizer/Mixer"},
      {"eq", "eq", "", "Equalizer/Mixer"},                        // the same command: one hint
      {"close", "sysmenu", "", "Close / [+Shift] System menu"},
      {"no such", "", "From the skin", "From the skin"},          // no hint of its own: the skin's
      {"no such", "toggleplay", "", ""},                          // nothing to show
      {"eq", "no such", "", "Equalizer/Mixer"},                   // an unknown Shift command adds nothing
  };
  for (const Case& c : cases)
    EXPECT_EQ(skinButtonTooltip(c.action, c.shift, c.skinHint, nullptr), c.tooltip) << c.action << "|" << c.shift;
}

TEST(CommandHints, hintsComeFromTheLanguageTexts_withTheirKeys) {
  std::vector<std::string> asked;
  auto translate = [&](const char* localised) {
    asked.emplace_back(localised);
    return std::string("<") + localised + ">";
  };
  EXPECT_EQ(skinButtonTooltip("prevpl", "l1menu", "", translate),
            "<HintPrevGroup###Previous group> / [+Shift] <HintGroupList###Groups>");
  EXPECT_EQ(asked, (std::vector<std::string>{"HintPrevGroup###Previous group", "HintGroupList###Groups"}));
  // The tray buttons' keys are the same texts.
  EXPECT_STREQ(commandHint("toggleplay"), "HintPlayStop###Play/stop");
  EXPECT_STREQ(commandHint("nextpl"), "HintNextGroup###Next group");
  EXPECT_EQ(commandHint("mixer"), nullptr);
}

TEST(VisPlugins, onlyPlainVisLibraryNamesOfThePluginFolder) {
  struct Case {
    const char* file;
    bool accepted;
  } cases[] = {{"vis_bars.dll", true},    {"VIS_Bars.DLL", true},     {"vis_.dll", false},
               {"bars.dll", false},        {"vis_bars.exe", false},    {"..\\vis_bars.dll", false},
               {"sub\\vis_bars.dll", false}, {"C:\\vis_bars.dll", false}, {"vis_a/../x.dll", false},
               {"", false},                {"vis_..dll", false}};
  for (const Case& c : cases) {
    const auto path = visPluginPath("C:\\zv\\plugins", c.file);
    EXPECT_EQ(path.has_value(), c.accepted) << c.file;
    if (c.accepted && path) {
      EXPECT_EQ(*path, std::string("C:\\zv\\plugins\\") + c.file);
    }
  }
}

TEST(VisPlugins, listsTheModulesOfEachLibrary_leavesOutOthers) {
  const std::string library = zvtest::rootDir() + "\\..\\testroot\\vis\\recording_vis.dll";
  ASSERT_NE(GetFileAttributesA(library.c_str()), INVALID_FILE_ATTRIBUTES) << library;
  const std::string dir = zvtest::freshDir("visplugins");
  ASSERT_TRUE(CopyFileA(library.c_str(), (dir + "\\vis_rec.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(library.c_str(), (dir + "\\notvis.dll").c_str(), FALSE));
  // A library without the header export (the sound library, which does
  // nothing when loaded; loading and freeing a copy of the engine is the
  // engine's own test), and a file that is no library.
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, sizeof(self));
  const std::string other = std::string(self).substr(0, std::string(self).find_last_of('\\')) + "\\zvdsp.dll";
  ASSERT_TRUE(CopyFileA(other.c_str(), (dir + "\\vis_sound.dll").c_str(), FALSE)) << other;
  ASSERT_TRUE(zvtest::writeFile(dir + "\\vis_text.dll", "not a library", 13));

  const std::vector<VisPluginModule> found = listVisPlugins(dir);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].file, "vis_rec.dll");
  EXPECT_EQ(found[0].module, 0);
  EXPECT_EQ(found[0].description, "Recording visualisation");
  EXPECT_EQ(visPluginArgument(found[0]), "vis_rec.dll,0");
  EXPECT_TRUE(listVisPlugins(dir + "\\missing").empty());
}

}  // namespace
