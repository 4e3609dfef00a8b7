// The list menus' status texts, the open-mode rules, the display record and
// the documentation look-up.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "zv_config.h"

#include "menus/doc_lookup.h"
#include "menus/list_status.h"
#include "menus/menu_model.h"
#include "menus/open_mode.h"
#include "menus/vis_data.h"
#include "player_fixture.h"
#include "testkit.h"

using namespace zv;

namespace {

TEST(ListStatus, pluralForms_followTheLanguagesRules) {
  struct Case {
    int64_t n;
    PluralForm en, ru;
  } cases[] = {
      {0, PluralForm::many, PluralForm::many},   {1, PluralForm::one, PluralForm::one},
      {2, PluralForm::many, PluralForm::few},    {4, PluralForm::many, PluralForm::few},
      {5, PluralForm::many, PluralForm::many},   {11, PluralForm::many, PluralForm::many},
      {12, PluralForm::many, PluralForm::many},  {14, PluralForm::many, PluralForm::many},
      {21, PluralForm::many, PluralForm::one},   {22, PluralForm::many, PluralForm::few},
      {101, PluralForm::many, PluralForm::one},  {111, PluralForm::many, PluralForm::many},
      {112, PluralForm::many, PluralForm::many}, {1002, PluralForm::many, PluralForm::few},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pluralForm(c.n, "en"), c.en) << c.n;
    EXPECT_EQ(pluralForm(c.n, "ru"), c.ru) << c.n;
  }
}

TEST(ListStatus, statusText_joinsTimeCountOrFormatAndSize) {
  Translate tr = [](const char* s) { return defaultText(s); };
  Translate ru = [](const char* s) {
    std::string key = s;
    if (key.rfind("NFile###", 0) == 0) return std::string("one");
    if (key.rfind("NFilesFew###", 0) == 0) return std::string("few");
    return std::string("many");
  };
  struct Case {
    ListEntry entry;
    bool showTime;
    const char* language;
    const char* expected;
  } cases[] = {
      {{true, 3723000, 1, "", 2048}, true, "en", "1:02:03, 1 file, 2.0 MB"},
      {{true, 65000, 3, "", 0}, true, "en", "1:05, 3 files"},
      {{true, 65000, 3, "", 0}, false, "en", "3 files"},
      {{true, 0, 0, "", 12}, true, "en", "0 files, 12 KB"},
      {{false, 5000, 0, "MP3 44 kHz", 700}, true, "en", "0:05, MP3 44 kHz, 700 KB"},
      {{false, 0, 0, "", 0}, true, "en", ""},
      {{true, 0, 22, "", 0}, false, "ru", "22 few"},
      {{true, 0, 11, "", 0}, false, "ru", "11 many"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(listStatusText(c.entry, c.showTime, c.language, std::string(c.language) == "ru" ? ru : tr), c.expected);
}

TEST(OpenModeRules, modifiersMenuCommandsAndAutoplay) {
  EXPECT_EQ(openModeForModifiers(true, false), 3u);
  EXPECT_EQ(openModeForModifiers(true, true), 3u) << "Ctrl wins";
  EXPECT_EQ(openModeForModifiers(false, true), 1u);
  EXPECT_EQ(openModeForModifiers(false, false), 0u);
  EXPECT_EQ(openModeFromMenuCommand("8"), 8u);
  EXPECT_EQ(openModeFromMenuCommand("3"), 3u);
  EXPECT_FALSE(openModeFromMenuCommand("2"));
  EXPECT_EQ(openModeForAutoplay(AutoplayChoice::add, true), 3u);
  EXPECT_EQ(openModeForAutoplay(AutoplayChoice::add, false), 1u);
  EXPECT_EQ(openModeForAutoplay(AutoplayChoice::replace, true), 8u) << "start playing counts only with add";
  EXPECT_EQ(openModeForAutoplay(AutoplayChoice::newPlaylist, true), 0u);
}

TEST(VisData, displayCommandsChangeTheirWordsOnly) {
  VisData d = defaultVisData();
  EXPECT_EQ(d.mode, ZV_VIS_SPECTRUM);
  EXPECT_EQ(d.color, 0xFFFFFFu);
  struct Case {
    const char* command;
    int word;
    int32_t value;
  } cases[] = {
      {"_scope", 2, 0},      {"_off", 2, 2},         {"_spec", 2, 1},         {"_scopefade1", 11, 8},
      {"_scopefade3", 11, 32}, {"_specfall1", 12, 12}, {"_specfall3", 12, 24}, {"_peaks0", 13, 0},
      {"_peaks1", 13, 10},   {"_peaks3", 13, 3},     {"_rx", 15, 1},          {"_ry", 16, 1},
      {"_halfrate", 0, 1},   {"_rx", 15, 0},
  };
  for (const Case& c : cases) {
    VisData before = d;
    ASSERT_TRUE(applyDisplayCommand(d, c.command)) << c.command;
    const int32_t* words = reinterpret_cast<const int32_t*>(&d);
    const int32_t* old = reinterpret_cast<const int32_t*>(&before);
    EXPECT_EQ(words[c.word], c.value) << c.command;
    for (int w = 0; w < 98; ++w)
      if (w != c.word) {
        EXPECT_EQ(words[w], old[w]) << c.command << " touched word " << w;
      }
  }
  VisData before = d;
  for (const char* bad : {"_scopefade0", "_scopefade4", "_peaks4", "_specfall", "_vis:x", "scope"})
    EXPECT_FALSE(applyDisplayCommand(d, bad)) << bad;
  EXPECT_EQ(std::memcmp(&before, &d, sizeof(d)), 0);
}

TEST(VisData, pluginChoice_andTheStoredRecord) {
  auto c = parseVisPluginCommand("vis_a.dll,2");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->name, "vis_a.dll");
  EXPECT_EQ(c->module, 2);
  c = parseVisPluginCommand("vis_a.dll");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->module, 0);
  EXPECT_EQ(parseVisPluginCommand("")->name, "") << "stops the plug-in";
  EXPECT_FALSE(parseVisPluginCommand("a,x"));
  EXPECT_FALSE(parseVisPluginCommand("a,-1"));

  ptest::ensureEngine();
  setConfigString("lastVisC", "");
  EXPECT_FALSE(lastVisPlugin());
  rememberVisPlugin(*parseVisPluginCommand("vis_b.dll,1"));
  rememberVisPlugin(*parseVisPluginCommand(""));  // stopping keeps the last one
  ASSERT_TRUE(lastVisPlugin());
  EXPECT_EQ(lastVisPlugin()->name, "vis_b.dll");
  EXPECT_EQ(lastVisPlugin()->module, 1);

  VisData d = defaultVisData();
  applyDisplayCommand(d, "_scope");
  std::memset(d.skinDir, 'x', sizeof(d.skinDir));  // a record whose text does not end
  storeVisData(d);
  VisData back = readVisData();
  EXPECT_EQ(back.mode, ZV_VIS_SCOPE);
  EXPECT_EQ(back.skinDir[sizeof(back.skinDir) - 1], 0);
}

struct DocLookup : ::testing::Test {
  std::string root;
  void SetUp() override {
    root = zvtest::freshDir("doc");
    for (const char* d : {"\\doc", "\\doc\\en", "\\doc\\ru", "\\doc\\ru\\manual"}) CreateDirectoryA((root + d).c_str(), nullptr);
    put("\\doc\\en\\readme.html", "en");
    put("\\doc\\en\\history.html", "en history");
    put("\\doc\\ru\\readme.html", "ru");
    put("\\doc\\ru\\history.html.link", "manual\\hist.html\r\nignored");
    put("\\doc\\ru\\manual\\hist.html", "ru history");
    put("\\doc\\ru\\website.url.link", "missing.url");
  }
  void put(const std::string& rel, const std::string& text) { zvtest::writeFile(root + rel, text.data(), text.size()); }
};

TEST_F(DocLookup, languageFolderLinkAndEnglishFallBack) {
  struct Case {
    const char* language;
    const char* file;
    const char* expected;  // relative to root; "" = not found
  } cases[] = {
      {"ru", "readme.html", "\\doc\\ru\\readme.html"},
      {"ru", "history.html", "\\doc\\ru\\manual\\hist.html"},
      {"de", "readme.html", "\\doc\\en\\readme.html"},
      {"ru", "website.url", ""},  // a link to nothing, and no English file
      {"en", "mailto.url", ""},
      {"ru", "..\\en\\readme.html", ""},
  };
  for (const Case& c : cases) {
    auto found = findDocument(root, c.language, c.file);
    if (!*c.expected) {
      EXPECT_FALSE(found) << c.file;
    } else {
      EXPECT_EQ(found.value_or("?"), root + c.expected) << c.language << " " << c.file;
    }
  }
  EXPECT_EQ(missingDocumentMessage("readme.html"), "README.HTML not found");
  EXPECT_EQ(missingDocumentMessage("mailto.url"), "MAILTO.URL not found");
}

// The help command's choices: the language's own help file or first page
// before the English ones; only files that are there; a link is followed.
TEST_F(DocLookup, helpPrefersTheLanguagesOwnPagesAndOffersOnlyWhatExists) {
  EXPECT_TRUE(helpCandidates(root, "ru").empty()) << "no help installed at all";
  put("\\doc\\en\\zorvak.chm", "chm");
  put("\\doc\\en\\main.html", "en main");
  using Paths = std::vector<std::string>;
  EXPECT_EQ(helpCandidates(root, "ru"), (Paths{root + "\\doc\\en\\zorvak.chm", root + "\\doc\\en\\main.html"}));
  EXPECT_EQ(helpCandidates(root, "en"), (Paths{root + "\\doc\\en\\zorvak.chm", root + "\\doc\\en\\main.html"}));
  put("\\doc\\ru\\main.html.link", "manual\\start.html");
  put("\\doc\\ru\\manual\\start.html", "ru main");
  EXPECT_EQ(helpCandidates(root, "ru"), (Paths{root + "\\doc\\ru\\manual\\start.html", root + "\\doc\\en\\zorvak.chm",
                                               root + "\\doc\\en\\main.html"}));
  // A language value that leaves the documentation folder finds nothing of its own.
  EXPECT_FALSE(findOwnDocument(root, "..\\doc\\ru", "main.html"));
  EXPECT_EQ(findOwnDocument(root, "ru", "readme.html").value_or("?"), root + "\\doc\\ru\\readme.html");
  EXPECT_FALSE(findOwnDocument(root, "ru", "zorvak.chm")) << "no fall-back to English";
}

}  // namespace
