// The player's fixed Windows-1252 texts in the active code page
// (text/program_text.h).
#include "text/program_text.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

TEST(ProgramText, dashesBecomeTheirCharactersUnderUtf8Only) {
  struct Row {
    const char* what;
    std::string bytes;
    unsigned active;
    std::string expected;
  };
  const Row rows[] = {
      {"time placeholder, UTF-8", "\x96\x96:\x96\x96", CP_UTF8, "\xE2\x80\x93\xE2\x80\x93:\xE2\x80\x93\xE2\x80\x93"},
      {"group label's em dash, UTF-8", "a  \x01\x97\x02  b", CP_UTF8, "a  \x01\xE2\x80\x94\x02  b"},
      {"menu key name, UTF-8", "(Num\x96) Groups|\\l1menu\n", CP_UTF8, "(Num\xE2\x80\x93) Groups|\\l1menu\n"},
      {"ascii, UTF-8", "MnuExit###Exit|close\n", CP_UTF8, "MnuExit###Exit|close\n"},
      {"empty, UTF-8", "", CP_UTF8, ""},
      {"time placeholder, 1252", "\x96\x96:\x96\x96", 1252, "\x96\x96:\x96\x96"},
  };
  for (const Row& r : rows) EXPECT_EQ(zv::programText(r.bytes, r.active), r.expected) << r.what;
  // This test program has no manifest: the default keeps the bytes.
  EXPECT_EQ(zv::programText("\x97"), GetACP() == CP_UTF8 ? "\xE2\x80\x94" : "\x97");
}
