// The configuration file's text edited in memory (profile_text.h): where a
// value lands, what stays untouched, and the texts that cannot be edited.
#include "foundation/profile_text.h"

#include <gtest/gtest.h>

#include <string>

TEST(ProfileText, setTable) {
  struct Row {
    const char* what;
    const char* before;
    const char* section;
    const char* key;
    const char* value;
    const char* after;
  };
  const Row rows[] = {
      {"empty file", "", "s", "k", "v", "[s]\r\nk=v\r\n"},
      {"key replaced in place", "[s]\r\na=1\r\nk=old\r\nb=2\r\n", "s", "k", "v", "[s]\r\na=1\r\nk=v\r\nb=2\r\n"},
      {"names ignore case and blanks", "  [ S ]\r\n  K  =  old  \r\n", "s", "k", "v", "  [ S ]\r\nk=v\r\n"},
      {"added behind the section's last line", "[s]\r\na=1\r\n\r\n[t]\r\nk=x\r\n", "s", "k", "v",
       "[s]\r\na=1\r\nk=v\r\n\r\n[t]\r\nk=x\r\n"},
      {"section appended after a text without line end", "[t]\r\nx=1", "s", "k", "v", "[t]\r\nx=1\r\n[s]\r\nk=v\r\n"},
      {"unix line ends kept", "[s]\nk=1\nz=2\n", "s", "k", "v", "[s]\nk=v\nz=2\n"},
      {"last line of the file without its end", "[s]\nz=2", "s", "k", "v", "[s]\nz=2\r\nk=v\r\n"},
      {"first of two same sections", "[s]\r\na=1\r\n[s]\r\nk=2\r\n", "s", "k", "v", "[s]\r\na=1\r\nk=v\r\n[s]\r\nk=2\r\n"},
      {"a line break ends the value", "", "s", "k", "one\r\n[s]\r\nevil=1", "[s]\r\nk=one\r\n"},
      {"byte order mark stays in front", "\xEF\xBB\xBF[s]\r\nk=1\r\n", "s", "k", "v", "\xEF\xBB\xBF[s]\r\nk=v\r\n"},
      {"key with '=' refused", "[s]\r\n", "s", "a=b", "v", "[s]\r\n"},
      {"key with a line break refused", "[s]\r\n", "s", "a\nb", "v", "[s]\r\n"},
      {"section with ']' refused", "", "s]x", "k", "v", ""},
      {"empty key refused", "[s]\r\n", "s", " ", "v", "[s]\r\n"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(zv::withProfileValue(r.before, r.section, r.key, r.value), r.after) << r.what;
  }
}

TEST(ProfileText, valuesReadBackAndOthersStay) {
  const std::string text = "[a]\r\nk=1\r\n[s]\r\nother = keep \r\nflag\r\n";
  std::string after = zv::withProfileValue(text, "s", "k", "new value");
  EXPECT_EQ(zv::profileValue(after, "s", "k"), "new value");
  EXPECT_EQ(zv::profileValue(after, "S", "OTHER"), "keep");
  EXPECT_EQ(zv::profileValue(after, "a", "k"), "1");
  EXPECT_EQ(zv::profileValue(after, "s", "flag"), "");
  EXPECT_FALSE(zv::profileValue(after, "s", "absent").has_value());
  EXPECT_FALSE(zv::profileValue(after, "absent", "k").has_value());
}

TEST(ProfileText, wideFilesAreRecognised) {
  EXPECT_TRUE(zv::isWideProfileText(std::string("\xFF\xFE[\0s\0]\0", 8)));
  EXPECT_TRUE(zv::isWideProfileText("\xFE\xFF"));
  EXPECT_FALSE(zv::isWideProfileText("\xEF\xBB\xBF[s]"));
  EXPECT_FALSE(zv::isWideProfileText("[s]"));
}
