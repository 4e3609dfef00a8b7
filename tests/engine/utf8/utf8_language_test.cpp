// Language files under the UTF-8 active code page (this program has the
// player's manifest): a file in its language's code page (Russian: 1251,
// Greek: 1253) and one in UTF-8 translate as their characters, and keys
// the file learns are written back in UTF-8 behind the byte order mark.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "foundation/language_state.h"
#include "testkit.h"

namespace {

std::string makeLangDir(const std::string& name, const char* lang, const char* id, const std::string& content) {
  std::string dir = zvtest::freshDir(name);
  std::string langDir = dir + "\\" + lang;
  CreateDirectoryA(langDir.c_str(), nullptr);
  WritePrivateProfileStringA("Common", "ID", id, (langDir + "\\info.dat").c_str());
  zvtest::writeFile(langDir + "\\messages.dat", content.data(), content.size());
  return dir;
}

TEST(Utf8Language, filesInTheirLanguagesCodePageOrUtf8) {
  ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
  struct Row {
    const char* what;
    const char* lang;
    const char* id;
    std::string file;
    std::string expected;
  };
  const Row rows[] = {
      {"Russian in 1251", "ru", "419", "Track=\xD2\xF0\xE5\xEA\r\n", "\xD0\xA2\xD1\x80\xD0\xB5\xD0\xBA"},
      {"Greek in 1253", "el", "408", "Track=\xCA\xEF\xEC\xEC\xDC\xF4\xE9\r\n",
       "\xCE\x9A\xCE\xBF\xCE\xBC\xCE\xBC\xCE\xAC\xCF\x84\xCE\xB9"},
      {"German in 1252", "de", "407", "Track=St\xFC\x63k\r\n", "St\xC3\xBC\x63k"},
      {"Russian in UTF-8", "ru", "419", "Track=\xD0\xA2\xD1\x80\xD0\xB5\xD0\xBA\r\n", "\xD0\xA2\xD1\x80\xD0\xB5\xD0\xBA"},
      {"Greek behind the UTF-8 mark", "el", "408", "\xEF\xBB\xBFTrack=\xCE\x9A\r\n", "\xCE\x9A"},
  };
  for (const Row& r : rows) {
    std::string dir = makeLangDir("utf8lang", r.lang, r.id, r.file);
    zv::LanguageState lang(dir);
    lang.setLanguage(dir, r.lang, "messages.dat");
    EXPECT_EQ(lang.translate("Track###Track"), r.expected) << r.what;
  }
}

TEST(Utf8Language, learntKeysAreWrittenBackInUtf8) {
  std::string dir = makeLangDir("utf8learn", "ru", "419", "Track=\xD2\xF0\xE5\xEA\r\n");
  {
    zv::LanguageState lang(dir);
    lang.setLanguage(dir, "ru", "messages.dat");
    EXPECT_EQ(lang.translate("New###\xCE\x9D\xCE\xAD\xCE\xBF"), "\xCE\x9D\xCE\xAD\xCE\xBF");
    lang.writeBack();
  }
  auto bytes = zvtest::readFile(dir + "\\ru\\messages.dat");
  const std::string saved(bytes.begin(), bytes.end());
  EXPECT_EQ(saved.rfind("\xEF\xBB\xBF", 0), 0u) << "the mark in front";
  EXPECT_NE(saved.find("Track=\xD0\xA2\xD1\x80\xD0\xB5\xD0\xBA"), std::string::npos) << "the old key, now in UTF-8";
  EXPECT_NE(saved.find("New=\xCE\x9D\xCE\xAD\xCE\xBF"), std::string::npos);
  // Read again, the file says the same.
  zv::LanguageState again(dir);
  again.setLanguage(dir, "ru", "messages.dat");
  EXPECT_EQ(again.translate("Track###Track"), "\xD0\xA2\xD1\x80\xD0\xB5\xD0\xBA");
}

}  // namespace
