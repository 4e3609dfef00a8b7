// Legacy texts carried into the active code page (legacy_text.h). The test
// programs run in the legacy code page (no manifest), so the UTF-8 paths
// are reached by passing 65001 as the active code page; the legacy code
// page is the test prefix's system locale's, 1252.
#include "foundation/legacy_text.h"
#include "foundation/text_util.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(LegacyText, validUtf8Table) {
  struct Row {
    const char* what;
    std::string bytes;
    bool valid;
  };
  const Row rows[] = {
      {"empty", "", true},
      {"ascii", "C:\\Music\\a.mp3", true},
      {"two-byte (e acute)", "caf\xC3\xA9", true},
      {"three-byte (Japanese)", "\xE6\x97\xA5\xE6\x9C\xAC", true},
      {"four-byte (emoji)", "\xF0\x9F\x8E\xB5", true},
      {"1252 e acute", "caf\xE9", false},
      {"1252 en dash between letters", "a\x96z", false},
      {"lone continuation byte", "\x80", false},
      {"overlong slash", "\xC0\xAF", false},
      {"overlong three-byte", "\xE0\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"F5 lead", "\xF5\x80\x80\x80", false},
      {"cut at the end", "ab\xE6\x97", false},
      {"lead followed by ascii", "\xC3" "a", false},
  };
  for (const Row& r : rows) EXPECT_EQ(zv::isValidUtf8(r.bytes), r.valid) << r.what;
}

TEST(LegacyText, legacyCodePagesAreTheSystemLocales) {
  wchar_t digits[8] = {};
  ASSERT_TRUE(GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, digits, 8));
  EXPECT_EQ(zv::legacyAnsiCodePage(), static_cast<unsigned>(_wtoi(digits)));
  EXPECT_EQ(zv::legacyAnsiCodePage(), 1252u) << "the test prefix's system locale";
  EXPECT_EQ(zv::legacyOemCodePage(), 437u);
}

TEST(LegacyText, convertThroughWide) {
  EXPECT_EQ(zv::convertCodePage("caf\xE9 \x96 \x80", 1252, CP_UTF8), "caf\xC3\xA9 \xE2\x80\x93 \xE2\x82\xAC");
  EXPECT_EQ(zv::convertCodePage("\xC3\xA9\xE2\x80\x93", CP_UTF8, 1252), "\xE9\x96");
  EXPECT_EQ(zv::convertCodePage("\x8E\xE0", 866, CP_UTF8), "\xD0\x9E\xD1\x80") << "DOS Cyrillic";
  EXPECT_EQ(zv::convertCodePage("unchanged \xE9", 1252, 1252), "unchanged \xE9");
  EXPECT_EQ(zv::convertCodePage("", 1252, CP_UTF8), "");
}

TEST(LegacyText, storedFieldsTable) {
  struct Row {
    const char* what;
    std::string field;
    unsigned active;
    std::string expected;
  };
  const Row rows[] = {
      {"legacy active: 1252 kept", "Bj\xF6rk", 1252, "Bj\xF6rk"},
      {"legacy active: UTF-8 bytes kept", "Bj\xC3\xB6rk", 1252, "Bj\xC3\xB6rk"},
      {"UTF-8 active: 1252 converted", "Bj\xF6rk \x96 Live", CP_UTF8, "Bj\xC3\xB6rk \xE2\x80\x93 Live"},
      {"UTF-8 active: UTF-8 kept", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1", CP_UTF8,
       "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1"},
      {"UTF-8 active: ascii kept", "C:\\a.mp3", CP_UTF8, "C:\\a.mp3"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(zv::storedTextToActive(r.field, r.active), r.expected) << r.what;
    std::string inPlace = r.field;
    EXPECT_EQ(zv::convertStoredText(inPlace, r.active), r.expected != r.field) << r.what;
    EXPECT_EQ(inPlace, r.expected) << r.what;
  }
  // A converted field is valid UTF-8, so a second reading leaves it alone.
  std::string once = zv::storedTextToActive("\xE9\xE8", CP_UTF8);
  EXPECT_EQ(zv::storedTextToActive(once, CP_UTF8), once);
}

TEST(LegacyText, wholeFilesTable) {
  using zv::TextOrigin;
  struct Row {
    const char* what;
    std::string bytes;
    bool declaredUtf8;
    unsigned legacy;
    unsigned active;
    std::string expected;
    TextOrigin origin;
  };
  const std::string mark = "\xEF\xBB\xBF";
  const Row rows[] = {
      {"legacy active: unchanged, mark and all", mark + "a\xE9", false, 0, 1252, mark + "a\xE9", TextOrigin::asIs},
      {"legacy active: .m3u8 unchanged", "\xC3\xA9", true, 0, 1252, "\xC3\xA9", TextOrigin::asIs},
      {"mark dropped, rest UTF-8", mark + "\xC3\xA9.mp3", false, 0, CP_UTF8, "\xC3\xA9.mp3", TextOrigin::utf8Marked},
      {"declared UTF-8 kept even when malformed", "a\xE9", true, 0, CP_UTF8, "a\xE9", TextOrigin::declaredUtf8},
      {"valid UTF-8 kept", "\xE6\x97\xA5.mp3\r\n", false, 0, CP_UTF8, "\xE6\x97\xA5.mp3\r\n", TextOrigin::asIs},
      {"1252 converted", "caf\xE9.mp3\r\n", false, 0, CP_UTF8, "caf\xC3\xA9.mp3\r\n", TextOrigin::legacy},
      {"OEM code page named", "\x8E\xE0.mp3", false, 866, CP_UTF8, "\xD0\x9E\xD1\x80.mp3", TextOrigin::legacy},
  };
  for (const Row& r : rows) {
    zv::ActiveText got = zv::fileTextToActive(r.bytes, r.declaredUtf8, r.legacy, r.active);
    EXPECT_EQ(got.text, r.expected) << r.what;
    EXPECT_EQ(got.origin, r.origin) << r.what;
  }
}

TEST(LegacyText, testProgramsRunInTheLegacyCodePage) {
  // Without the manifest nothing is converted: the defaults take GetACP.
  ASSERT_NE(GetACP(), static_cast<UINT>(CP_UTF8));
  EXPECT_EQ(zv::storedTextToActive("a\xE9"), "a\xE9");
  EXPECT_EQ(zv::fileTextToActive("a\xE9").text, "a\xE9");
}

}  // namespace

namespace {

TEST(LegacyText, utf8MarkOnlyForTextBeyondAsciiUnderUtf8) {
  struct Row {
    const char* what;
    std::string text;
    unsigned active;
    bool mark;
  };
  const Row rows[] = {
      {"ascii under UTF-8", "C:\\a.mp3\r\n", CP_UTF8, false},
      {"Greek under UTF-8", "\xCE\x91.mp3\r\n", CP_UTF8, true},
      {"1252 under 1252", "caf\xE9.mp3\r\n", 1252, false},
      {"empty", "", CP_UTF8, false},
  };
  for (const Row& r : rows) EXPECT_EQ(zv::wantsUtf8Mark(r.text, r.active), r.mark) << r.what;
}

TEST(LegacyText, languagesCodePages) {
  struct Row {
    uint32_t languageId;
    unsigned codePage;
  };
  const Row rows[] = {
      {0x0409, 1252},  // English (United States)
      {0x0419, 1251},  // Russian
      {0x0408, 1253},  // Greek
      {0x0411, 932},   // Japanese
      {0, 0},          // none given
      {0x12345, 0},    // not a language identifier
  };
  for (const Row& r : rows) EXPECT_EQ(zv::ansiCodePageOfLanguage(r.languageId), r.codePage) << std::hex << r.languageId;
}

}  // namespace

namespace {

TEST(LegacyText, boundedCopiesNeverCutAUtf8Character) {
  struct Row {
    std::string text;
    size_t size;
    unsigned codePage;
    std::string expected;
  };
  const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC";  // two characters of three bytes
  const Row rows[] = {
      {nihon, 7, CP_UTF8, nihon},
      {nihon, 6, CP_UTF8, "\xE6\x97\xA5"},
      {nihon, 4, CP_UTF8, "\xE6\x97\xA5"},
      {nihon, 3, CP_UTF8, ""},
      {"a\xF0\x9F\x8E\xB5", 4, CP_UTF8, "a"},
      {"abc", 3, CP_UTF8, "ab"},
      {"caf\xE9", 4, 1252, "caf"},
      {"\xE6\x97\xA5\xE6", 3, 1252, "\xE6\x97"} /* a legacy code page cuts by bytes, as before */,
  };
  for (const Row& r : rows) {
    char out[16];
    zv::copyBounded(out, r.size, r.text, r.codePage);
    EXPECT_EQ(std::string(out), r.expected) << r.size << " bytes";
  }
}

}  // namespace
