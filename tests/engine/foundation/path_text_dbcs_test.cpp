// The path text helpers under a double-byte code page (Shift-JIS, 932),
// where a trail byte can be 0x5C ('\') or 0x7C ('|'). The test machine runs
// code page 1252, so these call the header-only helpers with 932 directly;
// the exports run the same code with the active code page.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "foundation/path_forms.h"
#include "foundation/text_util.h"

namespace {

constexpr unsigned kShiftJis = 932;
// Two-byte characters whose trail byte looks like ASCII.
const std::string kHyou = "\x95\x5C";  // trail byte '\'
const std::string kSo = "\x83\x5C";    // trail byte '\'
const std::string kPo = "\x83\x7C";    // trail byte '|'
const std::string kKatA = "\x83\x41";  // trail byte 'A'
const std::string kKatSmall = "\x83\x61";  // trail byte 'a': another character

}  // namespace

TEST(PathTextDbcs, codePage932IsAvailable) {
  ASSERT_TRUE(zv::isLeadByte(0x95, kShiftJis));
  ASSERT_FALSE(zv::isLeadByte(0x95, 1252));
}

TEST(PathTextDbcs, separatorsInsideCharactersDoNotSplit) {
  std::string path = "C:\\" + kHyou + "\\" + kSo + "a.mp3";
  EXPECT_EQ(zv::lastSeparator(path, kShiftJis), 5u);
  EXPECT_EQ(zv::lastSeparator(path, 1252), 7u);  // what a byte scan would take
  auto parts = zv::splitPath(path, kShiftJis);
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[1], kHyou);
  EXPECT_EQ(parts[2], kSo + "a.mp3");
  EXPECT_TRUE(zv::endsWithSeparator("C:\\" + kHyou + "\\", kShiftJis));
  EXPECT_FALSE(zv::endsWithSeparator("C:\\" + kHyou, kShiftJis));
  EXPECT_EQ(zv::withoutTrailingSeparators("C:\\" + kHyou + "\\\\", kShiftJis), "C:\\" + kHyou);
}

TEST(PathTextDbcs, makeRelKeepsDoubleByteNamesWhole) {
  const std::string base = "C:\\" + kHyou + "\\Lists\\all.m3u";
  EXPECT_EQ(zv::makeRelForm(base, "C:\\" + kHyou + "\\Lists\\" + kSo + "a.mp3", kShiftJis), kSo + "a.mp3");
  EXPECT_EQ(zv::makeRelForm(base, "C:\\" + kHyou + "\\" + kSo + "\\b.mp3", kShiftJis), "..\\" + kSo + "\\b.mp3");
  // A folder named with a trail byte 0x5C is a folder of its own, not a separator.
  EXPECT_EQ(zv::makeRelForm(base, "C:\\" + kHyou + "\\Lists\\" + kHyou, kShiftJis), kHyou);
}

TEST(PathTextDbcs, caseIsFoldedPerCharacterNotPerByte) {
  // 0x8341 and 0x8361 are different characters although 'A' and 'a' differ only in case.
  const std::string base = "C:\\" + kKatA + "\\all.m3u";
  EXPECT_EQ(zv::makeRelForm(base, "C:\\" + kKatSmall + "\\f.mp3", kShiftJis), "..\\" + kKatSmall + "\\f.mp3");
  EXPECT_FALSE(zv::sameTextIgnoringCase(kKatA, kKatSmall, kShiftJis));
  // Full-width A (0x8260) and full-width a (0x8281) are the same letter.
  EXPECT_TRUE(zv::sameTextIgnoringCase("\x82\x60", "\x82\x81", kShiftJis));
  EXPECT_EQ(zv::makeRelForm("C:\\\x82\x60\\all.m3u", "C:\\\x82\x81\\f.mp3", kShiftJis), "f.mp3");
}

TEST(PathTextDbcs, decodeRelNeverStripsATrailByte) {
  const std::string base = "C:\\Music\\all.m3u";
  EXPECT_EQ(zv::decodeRelForm(base, kHyou, kShiftJis), "C:\\Music\\" + kHyou);
  EXPECT_EQ(zv::decodeRelForm(base, kHyou + "\\", kShiftJis), "C:\\Music\\" + kHyou);
  EXPECT_EQ(zv::decodeRelForm(base, "..\\" + kSo + "\\x.mp3", kShiftJis), "C:\\" + kSo + "\\x.mp3");
  EXPECT_EQ(zv::decodeRelForm("C:\\" + kHyou + "\\all.m3u", "a.mp3", kShiftJis), "C:\\" + kHyou + "\\a.mp3");
}

TEST(PathTextDbcs, roundTripsWithDoubleByteNames) {
  const std::string base = "C:\\" + kSo + "\\" + kHyou + "\\l.m3u";
  const std::string paths[] = {
      "C:\\" + kSo + "\\" + kHyou + "\\" + kPo + ".mp3",
      "C:\\" + kSo + "\\" + kPo + "\\" + kHyou + ".mp3",
      "C:\\" + kHyou + "\\a.mp3",
      "C:\\" + kSo + "\\" + kHyou + "\\" + kHyou,
      "D:\\" + kSo + "\\a.mp3",
  };
  for (const std::string& path : paths) {
    std::string rel = zv::makeRelForm(base, path, kShiftJis);
    EXPECT_EQ(zv::decodeRelForm(base, rel, kShiftJis), path) << rel;
  }
}

TEST(PathTextDbcs, copyBoundedNeverCutsACharacter) {
  char out[8];
  std::string text = "ab" + kHyou + kSo + kPo;  // 8 bytes
  zv::copyBounded(out, 6, text, kShiftJis);   // room for 5: "ab" + one character
  EXPECT_EQ(std::string(out), "ab" + kHyou);
  zv::copyBounded(out, 5, text, kShiftJis);
  EXPECT_EQ(std::string(out), "ab" + kHyou);
  zv::copyBounded(out, 4, text, kShiftJis);   // the character would need the 4th byte
  EXPECT_EQ(std::string(out), "ab");
  zv::copyBounded(out, 4, text, 1252);        // single-byte: simply cut
  EXPECT_EQ(std::string(out), "ab\x95");
}

TEST(NameSanitiser, replacesReservedCharactersButNotTrailBytes) {
  EXPECT_EQ(zv::sanitizeName("Artist: Best of <1999>? *|x"), "Artist- Best of -1999-- --x");
  EXPECT_EQ(zv::sanitizeName("AC/DC/Live"), "AC\\DC\\Live");
  EXPECT_EQ(zv::sanitizeName(""), "");
  EXPECT_EQ(zv::sanitizeName("\xC9t\xE9 \"q\""), "\xC9t\xE9 \"q\"");
  EXPECT_EQ(zv::sanitizeName(kPo + "|" + kPo, kShiftJis), kPo + "-" + kPo);
  EXPECT_EQ(zv::sanitizeName(kPo, 1252), "\x83-");  // what a byte scan would break
}
