// The installed language files (<root>\lang): every text the settings and
// resources usage windows show has its key in the English window files (a
// window adds what its file lacks when it goes, so an unchanged file is a
// complete one), and Russian loads through the same machinery with its own
// plural rule and code page.
#include <gtest/gtest.h>

#include <windows.h>

#include "debugstat/debug_stat_window.h"
#include "foundation/language_state.h"
#include "menus/list_status.h"
#include "settings_fixture.h"
#include "setup/setup_window.h"
#include "testkit.h"

using namespace zv;

namespace {

std::string installedLang() { return zvtest::rootDir() + "\\lang"; }

std::string readAll(const std::string& path) {
  std::vector<uint8_t> bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// A private copy of one language's files, so that growth touches only it.
std::string copyLanguage(const std::string& language, const std::vector<std::string>& windows) {
  const std::string dir = zvtest::freshDir("lang_" + language);
  CreateDirectoryA((dir + "\\" + language).c_str(), nullptr);
  CreateDirectoryA((dir + "\\" + language + "\\windows").c_str(), nullptr);
  const std::string from = installedLang() + "\\" + language;
  CopyFileA((from + "\\info.dat").c_str(), (dir + "\\" + language + "\\info.dat").c_str(), FALSE);
  for (const std::string& w : windows) {
    const std::string file = "\\windows\\" + w + ".lng";
    EXPECT_TRUE(CopyFileA((from + file).c_str(), (dir + "\\" + language + file).c_str(), FALSE)) << language << file;
  }
  return dir;
}

TEST(LanguageFiles, everyWindowTextHasItsKeyInTheEnglishWindowFiles) {
  if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
  settingstest::ensureEngine();
  const std::vector<std::string> windows = {"SetupWnd", "AdvSetupWnd", "DebugStatWnd"};
  for (const char* language : {"en", "ru"}) {
    const std::string dir = copyLanguage(language, windows);
    {
      SetupContext context;
      context.root = zvtest::rootDir();
      context.langDir = dir;
      context.language = language;
      context.playerExe = "C:\\Zorvak\\bin\\zorvak.exe";
      TSetupWnd setup(std::move(context));
      ASSERT_TRUE(setup.open(nullptr));
      setup.openAdvanced();
      ASSERT_NE(setup.advancedWindow(), nullptr);
      TDebugStatWnd debug(zvtest::rootDir(), DebugStatSource{[] { return std::string(); }, [] { return MallocStat{}; },
                                                             [] { return int64_t{0}; }},
                          dir, language);
      ASSERT_TRUE(debug.open(nullptr));
      pump();
    }
    for (const std::string& w : windows) {
      const std::string file = "\\" + std::string(language) + "\\windows\\" + w + ".lng";
      EXPECT_EQ(readAll(dir + file), readAll(installedLang() + file)) << file << ": keys were missing and got added";
    }
  }
}

TEST(LanguageFiles, russianTranslatesWithItsPluralRuleAndCodePage) {
  LanguageState ru(installedLang());
  ru.setLanguage(installedLang(), "ru", "messages.dat");
  EXPECT_EQ(ru.languageId(), 0x419u);
  // "файл", "файла", "файлов" in code page 1251.
  const std::string one = "\xF4\xE0\xE9\xEB", few = "\xF4\xE0\xE9\xEB\xE0", many = "\xF4\xE0\xE9\xEB\xEE\xE2";
  auto translate = [&](const char* text) { return ru.translate(text); };
  const struct {
    int files;
    std::string word;
  } rows[] = {{1, one}, {2, few}, {4, few}, {5, many}, {11, many}, {21, one}, {22, few}, {111, many}};
  for (const auto& r : rows) {
    ListEntry group;
    group.group = true;
    group.directFiles = r.files;
    EXPECT_EQ(listStatusText(group, false, "ru", translate), std::to_string(r.files) + " " + r.word) << r.files;
  }
  LanguageState en(installedLang());
  en.setLanguage(installedLang(), "en", "messages.dat");
  EXPECT_EQ(en.languageId(), 0x409u);
  ListEntry two;
  two.group = true;
  two.directFiles = 2;
  EXPECT_EQ(listStatusText(two, false, "en", [&](const char* t) { return en.translate(t); }), "2 files");
}

TEST(LanguageFiles, installedFilesEndLinesWithCrLfAndUseTheLanguagesCodePage) {
  for (const char* file : {"\\en\\messages.dat", "\\en\\engine.dat", "\\ru\\messages.dat", "\\ru\\engine.dat",
                           "\\ru\\windows\\SetupWnd.lng", "\\en\\id3\\tmed.id3"}) {
    const std::string text = readAll(installedLang() + file);
    ASSERT_FALSE(text.empty()) << file;
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << file << " at " << i;
      }
  }
  // The en dash of the groups item is one byte of code page 1252.
  EXPECT_NE(readAll(installedLang() + "\\en\\messages.dat").find("MnuGroups=(Num\x96) Groups\r\n"), std::string::npos);
}

}  // namespace
