// makeRel / decodeRel through the engine's exports: the forms a playlist file
// stores, the locations they read back to, and the bounds of the buffers.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "zv_paths.h"

namespace {

const char kBase[] = "C:\\Music\\Lists\\all.m3u";

std::string made(const char* base, const char* path) {
  char out[261];
  std::memset(out, 'x', sizeof(out));
  makeRel(base, path, out);
  return out;
}

std::string decoded(const char* base, const char* rel) {
  char out[261];
  std::memset(out, 'x', sizeof(out));
  decodeRel(base, rel, out);
  return out;
}

struct Case {
  const char* base;
  const char* input;
  const char* expected;
};

}  // namespace

TEST(MakeRel, storesTheFormRelativeToThePlaylistFolder) {
  const Case cases[] = {
      {kBase, "C:\\Music\\Lists\\a.mp3", "a.mp3"},
      {kBase, "C:\\Music\\Rock\\a.mp3", "..\\Rock\\a.mp3"},
      {kBase, "C:\\Music\\Lists\\Sub\\Deep\\a.mp3", "Sub\\Deep\\a.mp3"},
      {kBase, "C:\\a.mp3", "..\\..\\a.mp3"},
      {kBase, "C:\\Other\\x\\a.mp3", "..\\..\\Other\\x\\a.mp3"},
      {kBase, "c:\\MUSIC\\lists\\a.mp3", "a.mp3"},
      {kBase, "C:\\Music\\Lists\\Sub\\", "Sub\\"},
      {kBase, "C:\\Music\\", "..\\"},
      {"C:\\all.m3u", "C:\\b.mp3", "b.mp3"},
      {"C:\\all.m3u", "C:\\x\\b.mp3", "x\\b.mp3"},
      {"C:\\M\xFCsik\\Lists\\l.m3u", "C:\\M\xDCSIK\\\xC9t\xE9\\a.mp3", "..\\\xC9t\xE9\\a.mp3"},
      {"\\\\srv\\share\\lists\\all.m3u", "\\\\srv\\share\\x\\a.mp3", "..\\x\\a.mp3"},
      {"\\\\srv1\\a\\l.m3u", "\\\\srv2\\b\\f.mp3", "..\\..\\srv2\\b\\f.mp3"},
      {"Lists\\all.m3u", "Lists\\a.mp3", "a.mp3"},
  };
  for (const Case& c : cases) EXPECT_EQ(made(c.base, c.input), c.expected) << c.base << " | " << c.input;
}

TEST(MakeRel, keepsLocationsThatCannotBeRelated) {
  const Case cases[] = {
      {kBase, "D:\\x\\a.mp3", "D:\\x\\a.mp3"},
      {kBase, "\\\\srv\\share\\a.mp3", "\\\\srv\\share\\a.mp3"},
      {"\\\\srv\\share\\l.m3u", "C:\\a.mp3", "C:\\a.mp3"},
      {kBase, "a.mp3", "a.mp3"},
      {"all.m3u", "C:\\Music\\a.mp3", "C:\\Music\\a.mp3"},
      {kBase, "CD:\\1A2B3C4D\\track03.cda", "CD:\\1A2B3C4D\\track03.cda"},
      {kBase, "CD:\\*.m3u", "CD:\\*.m3u"},
      {"CD:\\1A2B3C4D.m3u", "CD:\\1A2B3C4D\\track01.cda", "CD:\\1A2B3C4D\\track01.cda"},
      {kBase, "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(made(c.base, c.input), c.expected) << c.base << " | " << c.input;
}

// Forms that would not read back to the same location are not written.
TEST(MakeRel, neverWritesAFormThatReadsBackElsewhere) {
  const Case cases[] = {
      // The playlist's own folder: an empty line would be dropped on reading.
      {kBase, "C:\\Music\\Lists\\", "C:\\Music\\Lists\\"},
      // A doubled separator would leave "\a.mp3", read as C:\a.mp3.
      {kBase, "C:\\Music\\Lists\\\\a.mp3", "C:\\Music\\Lists\\\\a.mp3"},
      // A folder name with ':' would leave a drive form "x:\a.mp3".
      {kBase, "C:\\Music\\Lists\\x:\\a.mp3", "C:\\Music\\Lists\\x:\\a.mp3"},
      // ... or a pseudo-location "ab:\a.mp3".
      {kBase, "C:\\Music\\Lists\\ab:\\a.mp3", "C:\\Music\\Lists\\ab:\\a.mp3"},
  };
  for (const Case& c : cases) EXPECT_EQ(made(c.base, c.input), c.expected) << c.base << " | " << c.input;
}

TEST(MakeRel, keepsTheLocationWhenTheRelativeFormWouldNotFit) {
  std::string base = "C:";
  for (int i = 0; i < 100; ++i) base += "\\d";
  base += "\\all.m3u";  // 100 levels: the form back to C:\ needs 300 bytes of "..\"
  EXPECT_EQ(made(base.c_str(), "C:\\x.mp3"), "C:\\x.mp3");
  // A shallower one still fits and is written relative.
  std::string shallow = "C:";
  for (int i = 0; i < 50; ++i) shallow += "\\d";
  std::string expected;
  for (int i = 0; i < 50; ++i) expected += "..\\";
  EXPECT_EQ(made((shallow + "\\all.m3u").c_str(), "C:\\x.mp3"), expected + "x.mp3");
}

TEST(DecodeRel, readsStoredFormsBackToLocations) {
  const Case cases[] = {
      {kBase, "a.mp3", "C:\\Music\\Lists\\a.mp3"},
      {kBase, "..\\Rock\\a.mp3", "C:\\Music\\Rock\\a.mp3"},
      {kBase, "..\\..\\..\\..\\a.mp3", "C:\\a.mp3"},
      {kBase, "..\\..\\..\\..\\x\\..\\a.mp3", "C:\\x\\..\\a.mp3"},
      {kBase, "\\Other\\a.mp3", "C:\\Other\\a.mp3"},
      {kBase, ".\\a.mp3", "C:\\Music\\Lists\\.\\a.mp3"},
      {kBase, "Sub\\", "C:\\Music\\Lists\\Sub"},
      {kBase, "", "C:\\Music\\Lists"},
      {kBase, "D:\\x\\a.mp3", "D:\\x\\a.mp3"},
      {kBase, "D:\\x\\\\", "D:\\x"},
      {kBase, "\\\\srv\\s\\f.mp3", "\\\\srv\\s\\f.mp3"},
      {kBase, "CD:\\1A2B3C4D\\track03.cda", "CD:\\1A2B3C4D\\track03.cda"},
      {kBase, "CD:\\1A2B3C4D\\", "CD:\\1A2B3C4D\\"},  // pseudo-locations stand untouched
      {kBase, "CD:\\*.m3u", "CD:\\*.m3u"},
      {"\\\\srv\\share\\lists\\all.m3u", "\\x\\a.mp3", "\\\\srv\\share\\x\\a.mp3"},
      {"\\\\srv\\share\\lists\\all.m3u", "a.mp3", "\\\\srv\\share\\lists\\a.mp3"},
      {"\\\\srv1\\a\\l.m3u", "..\\..\\srv2\\b\\f.mp3", "\\\\srv2\\b\\f.mp3"},
      {"\\root\\l.m3u", "a.mp3", "\\root\\a.mp3"},
      {"\\root\\l.m3u", "\\x.mp3", "\\x.mp3"},
      // A playlist without a folder leaves the form as it is (no "\a.mp3").
      {"all.m3u", "a.mp3", "a.mp3"},
      {"all.m3u", "\\x\\a.mp3", "\\x\\a.mp3"},
  };
  for (const Case& c : cases) EXPECT_EQ(decoded(c.base, c.input), c.expected) << c.base << " | " << c.input;
}

// What makeRel writes, decodeRel reads back to the same location (trailing
// '\' dropped; where makeRel compared ignoring case, the base's spelling wins).
TEST(RelativeForms, roundTripToTheSameLocation) {
  const struct {
    const char* base;
    const char* path;
    const char* back;  // null: exactly `path`
  } cases[] = {
      {kBase, "C:\\Music\\Lists\\a.mp3", nullptr},
      {kBase, "C:\\Music\\Lists\\Sub\\b.ogg", nullptr},
      {kBase, "C:\\Music\\Rock\\Old\\a.mp3", nullptr},
      {kBase, "C:\\x.mp3", nullptr},
      {kBase, "D:\\x\\a.mp3", nullptr},
      {kBase, "\\\\srv\\share\\a.mp3", nullptr},
      {kBase, "CD:\\1A2B3C4D\\track03.cda", nullptr},
      {kBase, "CD:\\*.m3u", nullptr},
      {kBase, "CD:\\8A09BC0B.m3u", nullptr},
      {kBase, "C:\\Music\\Lists\\Sub\\", "C:\\Music\\Lists\\Sub"},
      {kBase, "C:\\Music\\Lists\\", "C:\\Music\\Lists"},
      {kBase, "C:\\Music\\", "C:\\Music"},
      {kBase, "c:\\music\\ROCK\\a.mp3", "C:\\Music\\ROCK\\a.mp3"},
      {kBase, "C:\\Music\\Lists\\\\a.mp3", nullptr},
      {kBase, "C:\\Music\\\\a.mp3", nullptr},
      {kBase, "C:\\Music\\Lists\\x:\\a.mp3", nullptr},
      {"C:\\Music\\Lists\\", "C:\\Music\\Lists\\a.mp3", nullptr},
      {"C:\\l.m3u", "C:\\Music\\a.mp3", nullptr},
      {"C:\\M\xFCsik\\\xC9t\xE9\\l.m3u", "C:\\M\xFCsik\\\xC4rger\\\xDF.mp3", nullptr},
      {"C:\\M\xFCsik\\\xC9t\xE9\\l.m3u", "C:\\M\xDCSIK\\\xC9T\xC9\\a.mp3", "C:\\M\xFCsik\\\xC9t\xE9\\a.mp3"},
      {"\\\\srv\\share\\lists\\all.m3u", "\\\\srv\\share\\other\\a.mp3", nullptr},
      {"\\\\srv1\\a\\l.m3u", "\\\\srv2\\b\\f.mp3", nullptr},
      {"\\\\srv1\\a\\l.m3u", "\\\\srv1\\a\\f.mp3", nullptr},
      {"\\\\srv1\\a\\l.m3u", "C:\\f.mp3", nullptr},
      {"CD:\\1A2B3C4D.m3u", "C:\\f.mp3", nullptr},
  };
  for (const auto& c : cases) {
    std::string rel = made(c.base, c.path);
    EXPECT_EQ(decoded(c.base, rel.c_str()), c.back ? c.back : c.path) << c.base << " | " << c.path << " -> " << rel;
  }
}

TEST(RelativeForms, outputIsBoundedTo260BytesPlusNul) {
  char out[300];
  const std::string longPath = "D:\\" + std::string(400, 'a') + ".mp3";
  std::memset(out, '#', sizeof(out));
  makeRel(kBase, longPath.c_str(), out);
  EXPECT_EQ(std::strlen(out), 260u);
  EXPECT_EQ(std::string(out), longPath.substr(0, 260));
  EXPECT_EQ(out[261], '#');  // nothing written past the 261 bytes

  std::memset(out, '#', sizeof(out));
  decodeRel(kBase, std::string(400, 'b').c_str(), out);
  EXPECT_EQ(std::strlen(out), 260u);
  EXPECT_EQ(std::string(out), ("C:\\Music\\Lists\\" + std::string(400, 'b')).substr(0, 260));
  EXPECT_EQ(out[261], '#');
}

TEST(RelativeForms, nullTextsCountAsEmpty) {
  EXPECT_EQ(made(nullptr, "C:\\a.mp3"), "C:\\a.mp3");
  EXPECT_EQ(made(kBase, nullptr), "");
  EXPECT_EQ(decoded(nullptr, "a.mp3"), "a.mp3");
  EXPECT_EQ(decoded(kBase, nullptr), "C:\\Music\\Lists");
  makeRel(kBase, "C:\\a.mp3", nullptr);  // no buffer: nothing happens
  decodeRel(kBase, "a.mp3", nullptr);
}
