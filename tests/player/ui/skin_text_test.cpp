// The lexical layer of the skin file language: numbers, colours, words,
// attributes, and reading files into logical lines with includes.
#include <gtest/gtest.h>

#include <map>

#include "skin_text.h"
#include "testkit.h"
#include "ui_fixture.h"

using namespace zv::ui;

struct NumberCase {
  const char* text;
  int value;
  bool farEdge;
};

TEST(SkinNumber, readsEveryFormOfTheLanguage) {
  const NumberCase cases[] = {
      {"12", 12, false},        {"  12  ", 12, false},   {"!4", 4, true},       {"!0", 0, true},
      {"#1F", 31, false},       {"$ff", 255, false},     {"0x10", 16, false},   {"0X10", 16, false},
      {"!#10", 16, true},       {"-7", -7, false},       {"+7", 7, false},      {"abc", 0, false},
      {"12px", 0, false},       {"", 0, false},          {"!", 0, true},        {"#", 0, false},
      {"0x", 0, false},         {"#xyz", 0, false},      {"1.5", 0, false},
      // Numbers that do not fit read as 0; large ones are kept within the
      // coordinate limit.
      {"99999999999999999999", 0, false}, {"#123456789", 0, false},
      {"2147483648", 0, false}, {"2147483647", kSkinCoordLimit, false}, {"-99999", -kSkinCoordLimit, false},
      {"#7FFFFFFF", kSkinCoordLimit, false},
  };
  for (const auto& c : cases) {
    SkinNumber n = parseSkinNumber(c.text);
    EXPECT_EQ(n.value, c.value) << "'" << c.text << "'";
    EXPECT_EQ(n.farEdge, c.farEdge) << "'" << c.text << "'";
  }
}

TEST(SkinColor, readsRRGGBBInHexadecimalAndSwapsRedAndBlue) {
  struct Case {
    const char* text;
    COLORREF color;
  } cases[] = {
      {"FF0000", RGB(255, 0, 0)},     {"#FF0000", RGB(255, 0, 0)},  {"$0000ff", RGB(0, 0, 255)},
      {"0x123456", 0x563412},         {"123456", 0x563412},         {"808080", RGB(128, 128, 128)},
      {" 5146E5 ", RGB(0x51, 0x46, 0xe5)}, {"red", 0},              {"", 0},
      {"#1FF0000", RGB(255, 0, 0)},   {"12 34", 0},                 {"123456789", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(parseSkinColor(c.text), c.color) << c.text;
}

TEST(SkinWords, splitsAtBlanksAndUnquotesDoubledQuotes) {
  struct Case {
    const char* text;
    std::vector<std::string> words;
  } cases[] = {
      {"1 2  3", {"1", "2", "3"}},
      {"  a\tb ", {"a", "b"}},
      {"\"Segoe UI\" 9 b", {"Segoe UI", "9", "b"}},
      {"\"say \"\"hi\"\"\" x", {"say \"hi\"", "x"}},
      {"\"\"", {""}},
      {"\"unterminated run", {"unterminated run"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(splitSkinWords(c.text), c.words) << c.text;
}

TEST(SkinAttribute, splitsAtTheFirstEqualsSignAndTrims) {
  std::string key, value;
  ASSERT_TRUE(splitSkinAttribute(" action = open:a=b ", key, value));
  EXPECT_EQ(key, "action");
  EXPECT_EQ(value, "open:a=b");
  EXPECT_FALSE(splitSkinAttribute("no equals here", key, value));
  ASSERT_TRUE(splitSkinAttribute("=x", key, value));
  EXPECT_EQ(key, "");
}

namespace {

// An in-memory file set for the reader, with a count of reads.
struct MemoryFiles {
  std::map<std::string, std::string> files;
  int reads = 0;
  SkinFileReader reader() {
    return [this](const std::string& path) -> std::optional<std::string> {
      ++reads;
      auto it = files.find(path);
      if (it == files.end()) return std::nullopt;
      return it->second;
    };
  }
};

}  // namespace

TEST(SkinLines, trimsJoinsContinuationsWithOneBlankAndKeepsEmptyLines) {
  MemoryFiles fs;
  fs.files["s\\main.skn"] = "  name=a  \r\nshape=polygon 0 0 \\\r\n   10 0\\\n  10 10\n\nlast=1";
  SkinLines out = readSkinLines("s\\main.skn", fs.reader());
  ASSERT_TRUE(out.fileRead);
  std::vector<std::string> expected = {"name=a", "shape=polygon 0 0 10 0 10 10", "", "last=1"};
  EXPECT_EQ(out.lines, expected);
}

TEST(SkinLines, continuationAtTheEndOfTheFileEndsTheLine) {
  MemoryFiles fs;
  fs.files["a.skn"] = "key=value \\";
  EXPECT_EQ(readSkinLines("a.skn", fs.reader()).lines, std::vector<std::string>{"key=value"});
}

TEST(SkinLines, includesAreReadFromRealFilesRelativeToTheIncludingFile) {
  std::string dir = zvtest::freshDir("includes");
  CreateDirectoryA((dir + "\\sub").c_str(), nullptr);
  ASSERT_TRUE(uitest::writeText(dir + "\\main.skn", "first=1\nINC:sub\\part.skn\nlast=1\n"));
  ASSERT_TRUE(uitest::writeText(dir + "\\sub\\part.skn", "inner=1\nINC:deeper.skn\n"));
  ASSERT_TRUE(uitest::writeText(dir + "\\sub\\deeper.skn", "deepest=1\n"));
  auto reader = [](const std::string& path) -> std::optional<std::string> {
    std::vector<uint8_t> bytes = zvtest::readFile(path);
    if (bytes.empty()) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
  };
  SkinLines out = readSkinLines(dir + "\\main.skn", reader);
  std::vector<std::string> expected = {"first=1", "inner=1", "deepest=1", "last=1"};
  EXPECT_EQ(out.lines, expected);
  EXPECT_TRUE(out.problems.empty());
}

TEST(SkinLines, anIncludeCycleIsRefusedAndReadingGoesOn) {
  MemoryFiles fs;
  fs.files["d\\a.skn"] = "a=1\nINC:b.skn\na2=1";
  fs.files["d\\b.skn"] = "b=1\nINC:.\\A.SKN\nb2=1";  // the same file in another spelling
  SkinLines out = readSkinLines("d\\a.skn", fs.reader());
  std::vector<std::string> expected = {"a=1", "b=1", "b2=1", "a2=1"};
  EXPECT_EQ(out.lines, expected);
  ASSERT_EQ(out.problems.size(), 1u);
  EXPECT_NE(out.problems[0].find("cycle"), std::string::npos);
}

TEST(SkinLines, aVeryDeepIncludeChainStopsAtTheDepthLimit) {
  MemoryFiles fs;
  for (int i = 0; i < 200; ++i)
    fs.files["f" + std::to_string(i) + ".skn"] = "level=" + std::to_string(i) + "\nINC:f" + std::to_string(i + 1) + ".skn";
  SkinLines out = readSkinLines("f0.skn", fs.reader());
  EXPECT_EQ(out.lines.size(), static_cast<size_t>(kSkinIncludeDepth + 1));
  EXPECT_LE(fs.reads, kSkinIncludeDepth + 1);
  ASSERT_FALSE(out.problems.empty());
  EXPECT_NE(out.problems[0].find("deep"), std::string::npos);
}

TEST(SkinLines, aFileIncludingAnotherManyTimesCannotBlowUp) {
  // Each level includes the next ten times: ten to the sixteenth lines if
  // nothing stopped it.
  MemoryFiles fs;
  for (int i = 0; i < 20; ++i) {
    std::string text = "x=1\n";
    for (int k = 0; k < 10; ++k) text += "INC:g" + std::to_string(i + 1) + ".skn\n";
    fs.files["g" + std::to_string(i) + ".skn"] = text;
  }
  SkinLines out = readSkinLines("g0.skn", fs.reader());
  EXPECT_EQ(out.lines.size(), kSkinLineLimit);
}

TEST(SkinLines, aMissingTopFileIsReportedAndAMissingIncludeIsSkipped) {
  MemoryFiles fs;
  EXPECT_FALSE(readSkinLines("none.skn", fs.reader()).fileRead);
  fs.files["a.skn"] = "INC:missing.skn\nk=v";
  SkinLines out = readSkinLines("a.skn", fs.reader());
  EXPECT_TRUE(out.fileRead);
  EXPECT_EQ(out.lines, std::vector<std::string>{"k=v"});
  EXPECT_EQ(out.problems.size(), 1u);
}

TEST(SkinLines, veryLongLinesAndContinuationsAreBounded) {
  MemoryFiles fs;
  std::string huge(1 << 20, 'x');
  std::string text = "long=" + huge + "\n";
  for (int i = 0; i < 5000; ++i) text += "part" + std::string(100, 'y') + "\\\n";
  text += "end";
  fs.files["l.skn"] = text;
  SkinLines out = readSkinLines("l.skn", fs.reader());
  ASSERT_EQ(out.lines.size(), 2u);
  EXPECT_EQ(out.lines[0].size(), huge.size() + 5);
  EXPECT_LE(out.lines[1].size(), kSkinLogicalLineLimit);
}

TEST(SkinLines, incIsRecognisedOnlyAtTheStartOfATrimmedLine) {
  MemoryFiles fs;
  fs.files["a.skn"] = "   INC:b.skn\nkey=INC:b.skn\ninc:b.skn";
  fs.files["b.skn"] = "from_b=1";
  SkinLines out = readSkinLines("a.skn", fs.reader());
  std::vector<std::string> expected = {"from_b=1", "key=INC:b.skn", "inc:b.skn"};
  EXPECT_EQ(out.lines, expected);
}
