// Localised strings against real language files: the shared lookup both
// deliverables use, and the engine's own state behind setEngineLang.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "foundation/language_state.h"
#include "testkit.h"
#include "zv_lang.h"
#include "win32/owners.h"

namespace {

std::string text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A language directory with "<lang>\info.dat" and optionally a language file.
std::string makeLangDir(const std::string& name, const char* lang, const char* id, const char* file,
                        const std::string& content) {
  std::string dir = zvtest::freshDir(name);
  std::string langDir = dir + "\\" + lang;
  CreateDirectoryA(langDir.c_str(), nullptr);
  if (id) WritePrivateProfileStringA("Common", "ID", id, (langDir + "\\info.dat").c_str());
  if (file) zvtest::writeFile(langDir + "\\" + file, content.data(), content.size());
  return dir;
}

// 200 new keys per thread, and a known one between them.
DWORD WINAPI translateMany(void* p) {
  auto* l = static_cast<zv::LanguageState*>(p);
  DWORD self = GetCurrentThreadId();
  for (int i = 0; i < 200; ++i) {
    std::string key = "K" + std::to_string(self) + "_" + std::to_string(i);
    if (l->translate(key + "###v") != "v") return 1;
    if (l->translate("A###x") != "a") return 1;
  }
  return 0;
}

}  // namespace

TEST(Language, translatesFromTheFile) {
  std::string dir = makeLangDir("lang_translate", "de", "407", "messages.dat",
                                "Track=Titel\r\nTrackList=Titelliste\r\nCD=Scheibe\r\nNoEquals\r\nEmpty=\r\nLast=Ende");
  zv::LanguageState lang(dir);
  lang.setLanguage(dir, "de", "messages.dat");
  EXPECT_EQ(lang.languageId(), 0x407u);
  struct Row {
    const char* in;
    const char* out;
  } rows[] = {
      {"Track###Track", "Titel"},
      {"TrackList###Track list", "Titelliste"},
      {"CD###CD", "Scheibe"},
      {"Empty###not empty", ""},
      {"Last###Last", "Ende"},          // the last line has no line end
      {"Plain text", "Plain text"},    // not localised
      {"Track###Track###x", "Titel"},  // split at the first "###"
  };
  for (const Row& r : rows) EXPECT_EQ(lang.translate(r.in), r.out) << r.in;
  // Head or tail of another key, or a key in another case, never matches.
  EXPECT_EQ(lang.translate("Trac###dflt1"), "dflt1");
  EXPECT_EQ(lang.translate("List###dflt2"), "dflt2");
  EXPECT_EQ(lang.translate("track###dflt3"), "dflt3");
  EXPECT_EQ(lang.translate("NoEquals###dflt4"), "dflt4");
}

TEST(Language, missingKeysAreAddedAtTheNextLanguageChange) {
  const std::string original = "Track=Titel\r\n";
  std::string dir = makeLangDir("lang_append", "de", "407", "engine.dat", original);
  std::string file = dir + "\\de\\engine.dat";
  zv::LanguageState lang(dir);
  lang.setLanguage(dir, "de", "engine.dat");
  EXPECT_EQ(lang.translate("CDUnknown###Unknown"), "Unknown");
  EXPECT_EQ(lang.translate("CDUnknown###Unknown"), "Unknown");  // learnt once
  EXPECT_EQ(lang.translate("Just text"), "Just text");           // never added
  EXPECT_EQ(text(zvtest::readFile(file)), original);             // nothing written yet
  lang.setLanguage(dir, "en", "engine.dat");
  EXPECT_EQ(text(zvtest::readFile(file)), original + "\r\nCDUnknown=Unknown");
  EXPECT_EQ(lang.languageId(), 0u);  // "en" has no info.dat here
  // Back again: the learnt key is now a translation like any other.
  lang.setLanguage(dir, "de", "engine.dat");
  EXPECT_EQ(lang.translate("CDUnknown###other"), "Unknown");
}

TEST(Language, aReadOnlyFileIsNeitherRewrittenNorMadeWritable) {
  const std::string original = "Track=Titel\r\n";
  std::string dir = makeLangDir("lang_readonly", "de", "407", "engine.dat", original);
  std::string file = dir + "\\de\\engine.dat";
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
  FILETIME before = {}, after = {};
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
  before = data.ftLastWriteTime;
  {
    zv::LanguageState lang(dir);
    lang.setLanguage(dir, "de", "engine.dat");
    EXPECT_EQ(lang.translate("CDUnknown###Unknown"), "Unknown");
    lang.setLanguage(dir, "en", "engine.dat");
    lang.writeBack();
  }  // and the unload's write-back
  EXPECT_EQ(text(zvtest::readFile(file)), original);
  DWORD attributes = GetFileAttributesA(file.c_str());
  EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u) << "still read-only";
  ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
  after = data.ftLastWriteTime;
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
  EXPECT_EQ(GetFileAttributesA((file + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);  // freshDir must be able to clear it next run
}

TEST(Language, noFileMeansDefaultsAndNoWrites) {
  std::string dir = makeLangDir("lang_nofile", "fr", "40c", nullptr, "");
  std::string file = dir + "\\fr\\engine.dat";
  {
    zv::LanguageState lang(dir);
    lang.setLanguage(dir, "fr", "engine.dat");
    EXPECT_EQ(lang.languageId(), 0x40cu);
    EXPECT_EQ(lang.translate("Track###Track"), "Track");
    lang.setLanguage(dir, "en", "engine.dat");
    lang.writeBack();
  }
  EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((dir + "\\en\\engine.dat").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Language, languageIdRules) {
  struct Row {
    const char* id;  // null: no info.dat
    uint32_t expected;
  } rows[] = {{"409", 0x409}, {"0C0A", 0xC0A}, {"xyz", 0}, {"", 0}, {nullptr, 0}, {"123456789", 0}};
  int n = 0;
  for (const Row& r : rows) {
    std::string dir = makeLangDir("lang_id" + std::to_string(n++), "xx", r.id, nullptr, "");
    zv::LanguageState lang(dir);
    lang.setLanguage(dir, "xx", "engine.dat");
    EXPECT_EQ(lang.languageId(), r.expected) << (r.id ? r.id : "(none)");
  }
}

TEST(Language, concurrentTranslationsAllLand) {
  std::string dir = makeLangDir("lang_threads", "de", "407", "engine.dat", "A=a\r\n");
  std::string file = dir + "\\de\\engine.dat";
  zv::LanguageState lang(dir);
  lang.setLanguage(dir, "de", "engine.dat");
  zv::UniqueKernelHandle t[4];
  for (auto& h : t) h.reset(CreateThread(nullptr, 0, translateMany, &lang, 0, nullptr));
  for (const auto& h : t) {
    EXPECT_EQ(WaitForSingleObject(h.get(), 30000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeThread(h.get(), &code);
    EXPECT_EQ(code, 0u);
  }
  lang.writeBack();
  std::string content = text(zvtest::readFile(file));
  size_t lines = 0;
  for (size_t p = content.find("\r\nK"); p != std::string::npos; p = content.find("\r\nK", p + 1)) ++lines;
  EXPECT_EQ(lines, 800u);
}

TEST(Language, engineWritesBackOnlyExistingFiles) {
  // Through the export: loading and switching away neither creates a missing
  // file nor changes an existing one that learnt nothing.
  const std::string original = "Track=Spur\r\nFileScanner=Dateisucher\r\n";
  std::string dir = makeLangDir("lang_engine", "de", "407", "engine.dat", original);
  CreateDirectoryA((dir + "\\fr").c_str(), nullptr);
  setEngineLang(dir.c_str(), "de", "engine.dat");
  setEngineLang(dir.c_str(), "fr", "engine.dat");
  setEngineLang(dir.c_str(), "de", "engine.dat");
  setEngineLang(dir.c_str(), "en", "engine.dat");
  EXPECT_EQ(text(zvtest::readFile(dir + "\\de\\engine.dat")), original);
  EXPECT_EQ(GetFileAttributesA((dir + "\\fr\\engine.dat").c_str()), INVALID_FILE_ATTRIBUTES);
  setEngineLang(nullptr, nullptr, nullptr);  // no crash on missing texts
}
