// Description formats: the formats the player passes, with and without each
// value, and malformed formats that must still give a bounded text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zvid3.h"

namespace {

struct Values {
  const char* path;
  const char* title;
  const char* artist;
  const char* album;
  const char* year;
  int track;
};

std::string format(const char* fmt, const Values& v) {
  char out[ZV_DESC_SIZE + 16];
  std::memset(out, 'x', sizeof out);
  int n = formatDesc(fmt, v.path, v.title, v.artist, v.album, v.year, v.track, out);
  EXPECT_EQ(out[ZV_DESC_SIZE], 'x') << "wrote past the 256-byte buffer";
  EXPECT_EQ(n, static_cast<int>(std::strlen(out)));
  return out;
}

const Values full = {"C:\\Music\\Band - Song.mp3", "Song", "Band", "Album", "2004", 3};
const Values noTrack = {"C:\\Music\\Band - Song.mp3", "Song", "Band", "Album", "2004", 0};
const Values noArtist = {"C:\\Music\\x.y\\take 1.flac", "Song", "", "Album", "2004", 3};
const Values noTitle = {"C:\\Music\\x.y\\take 1.flac", "", "Band", "", "", 0};
const Values nothing = {"D:\\noext", "", "", "", "", 0};

struct Case {
  const char* name;
  const char* fmt;
  const Values* values;
  const char* expected;
};

const Case cases[] = {
    // The default description format.
    {"default, all", "@[%a%t][@[%n][%n. ]%a \"%t\"]", &full, "3. Band \"Song\""},
    {"default, no track", "@[%a%t][@[%n][%n. ]%a \"%t\"]", &noTrack, "Band \"Song\""},
    {"default, no artist", "@[%a%t][@[%n][%n. ]%a \"%t\"]", &noArtist, ""},
    {"default, no title", "@[%a%t][@[%n][%n. ]%a \"%t\"]", &noTitle, ""},
    {"default, nothing", "@[%a%t][@[%n][%n. ]%a \"%t\"]", &nothing, ""},
    // The settings window's second choice.
    {"short, all", "@[%a%t][%a \"%t\"]", &full, "Band \"Song\""},
    {"short, no artist", "@[%a%t][%a \"%t\"]", &noArtist, ""},
    // Lyrics database and source names.
    {"lyrics db, tags", "@[%a%t][%a - %t.txt]![%a%t][%f.txt]", &full, "Band - Song.txt"},
    {"lyrics db, no artist", "@[%a%t][%a - %t.txt]![%a%t][%f.txt]", &noArtist, "take 1.txt"},
    {"lyrics db, nothing", "@[%a%t][%a - %t.txt]![%a%t][%f.txt]", &nothing, "noext.txt"},
    {"lyrics source", "%f.%e.txt", &full, "Band - Song.mp3.txt"},
    {"lyrics source, dotted folder", "%f.%e.txt", &noArtist, "take 1.flac.txt"},
    {"lyrics source, no extension", "%f.%e.txt", &nothing, "noext..txt"},
    // Every placeholder, literals and escapes.
    {"all placeholders", "%a|%t|%l|%y|%n|%f|%e", &full, "Band|Song|Album|2004|3|Band - Song|mp3"},
    {"whole path", "<%p>", &nothing, "<D:\\noext>"},
    {"escapes", "100%% %@%!%[%]", &full, "100% @![]"},
    {"plain text", "just text", &nothing, "just text"},
    {"brackets as text", "[%y] (%l)", &full, "[2004] (Album)"},
    {"brackets inside a block", "@[%t][[%t]]", &full, "[Song]"},
    {"block without fields", "@[][always]![][never]", &nothing, "always"},
    {"negation with one set value", "![%a%t][missing]", &noArtist, "missing"},
    {"nested three deep", "@[%a][A@[%t][T@[%n][N%n]]]", &full, "ATN3"},
    {"nested, inner fails", "@[%a][A@[%t][T@[%n][N%n]]]", &noTrack, "AT"},
    {"empty format", "", &full, ""},
    // Malformed formats never fail.
    {"lone percent at end", "50%", &full, "50%"},
    {"unknown placeholder", "%q%t", &full, "%qSong"},
    {"unclosed fields", "x@[%a%t", &full, "x"},
    {"unclosed text", "@[%a][open %t", &full, "open Song"},
    {"unclosed text, condition false", "@[%a][open %t", &noArtist, ""},
    {"block without text", "@[%a]tail", &full, "tail"},
    {"at sign as text", "a@b !c", &full, "a@b !c"},
    {"stray closing bracket", "a]b", &full, "a]b"},
};

TEST(FormatDesc, casesTable) {
  for (const Case& c : cases) EXPECT_EQ(format(c.fmt, *c.values), c.expected) << c.name;
}

TEST(FormatDesc, longOutputIsCutToTheBuffer) {
  std::string longTitle(200, 't');
  Values v = {"C:\\a.mp3", longTitle.c_str(), "artist", "", "", 0};
  std::string out = format("%t %t %t", v);
  EXPECT_EQ(out.size(), size_t(ZV_DESC_SIZE - 1));
  EXPECT_EQ(out.substr(0, 200), longTitle);
}

TEST(FormatDesc, deepNestingAndHugeFormatsStayBounded) {
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "@[%a][";
  deep += "end";
  std::string out = format(deep.c_str(), full);
  EXPECT_LT(out.size(), size_t(ZV_DESC_SIZE));
  std::string many(100000, 'x');
  EXPECT_EQ(format(many.c_str(), full).size(), size_t(ZV_DESC_SIZE - 1));
}

TEST(FormatDesc, nullArgumentsCountAsEmpty) {
  char out[ZV_DESC_SIZE];
  EXPECT_EQ(formatDesc("@[%a][x]![%a][%f]", nullptr, nullptr, nullptr, nullptr, nullptr, 0, out), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(formatDesc(nullptr, "C:\\a.mp3", "t", "a", "", "", 1, out), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(formatDesc("%t", "C:\\a.mp3", "t", "a", "", "", 1, nullptr), 0);
}

}  // namespace
