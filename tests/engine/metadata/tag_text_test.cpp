// The tag information text helpers and the description-file parser, table
// driven, through the exports where there is one.
#include <gtest/gtest.h>

#include <string>

#include "metadata/desc_file.h"
#include "zv_desc.h"

TEST(TagInfoKey, valuesByKeyTable) {
  const struct {
    const char* text;
    const char* key;
    bool found;
    const char* value;
  } cases[] = {
      {"title=A\ntitle=B", "title", true, "B"},  // a later line wins over the first
      {"xtitle=A", "title", false, ""},
      {"title=A", "title", true, "A"},
      {"artist=X\ntitle=", "title", true, ""},
      {"Title=A", "title", false, ""},  // keys are case-sensitive
      {"a=1\nformat=MP3 128\nb=2", "format", true, "MP3 128"},
      {"title=A\nsubtitle=C", "title", true, "A"},
      {"", "title", false, ""},
      {"title", "title", false, ""},
      {"\ntitle=lead", "title", true, "lead"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    char out[ZV_DESC_SIZE] = "junk";
    EXPECT_EQ(getTagInfoKey(c.text, c.key, out) != 0, c.found);
    EXPECT_STREQ(out, c.value);
  }
}

TEST(TagInfoKey, longValueIsCutTo255) {
  std::string text = "title=" + std::string(400, 'v');
  char out[ZV_DESC_SIZE];
  out[255] = 'x';
  EXPECT_TRUE(getTagInfoKey(text.c_str(), "title", out));
  EXPECT_EQ(std::string(out), std::string(255, 'v'));
}

TEST(DecodeTagInfo, fiveValuesTable) {
  const struct {
    const char* text;
    bool any;
    const char *title, *artist, *album, *year;
    int32_t track;
  } cases[] = {
      {"title=T\nartist=A\nalbum=L\nyear=1999\ntrack=5", true, "T", "A", "L", "1999", 5},
      {"track=0", true, "", "", "", "", 0},  // a track line alone counts
      {"track=3/12", true, "", "", "", "", 0},
      {"track=x", true, "", "", "", "", 0},
      {"format=WAV", false, "", "", "", "", 0},
      {"", false, "", "", "", "", 0},
      {"title=\nartist=", false, "", "", "", "", 0},
      {"year=2001\ntrack=12", true, "", "", "", "2001", 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    char title[256], artist[256], album[256], year[256];
    int32_t track = -7;
    EXPECT_EQ(decodeTagInfo(c.text, title, artist, album, year, &track) != 0, c.any);
    EXPECT_STREQ(title, c.title);
    EXPECT_STREQ(artist, c.artist);
    EXPECT_STREQ(album, c.album);
    EXPECT_STREQ(year, c.year);
    EXPECT_EQ(track, c.track);
  }
}

TEST(DescriptionListing, linesTable) {
  const char* listing =
      "  \r\n"
      "\"My Song.mp3\"   A quoted name  \r\n"
      "plain.mp3\tTabbed\tdescription\r\n"
      "lonely.mp3\r\n"
      "\"unclosed.mp3 never\r\n"
      "dup.mp3 first\n"
      "DUP.MP3 second\n"
      "\"\" empty name\n"
      "last.mp3 end without line feed";
  const struct {
    const char* name;
    bool found;
    const char* description;
  } cases[] = {
      {"my song.mp3", true, "A quoted name"},
      {"plain.mp3", true, "Tabbed description"},  // control characters become blanks
      {"lonely.mp3", false, ""},                  // no separator: no name
      {"unclosed.mp3", false, ""},
      {"dup.mp3", true, "first"},
      {"last.mp3", true, "end without line feed"},
      {"absent.mp3", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out;
    EXPECT_EQ(zv::descriptionFromListing(listing, c.name, &out), c.found);
    if (c.found) {
      EXPECT_EQ(out, c.description);
    }
  }
}

TEST(FastDesc, fileNameWithoutExtension) {
  const struct {
    const char* path;
    const char* expected;
  } cases[] = {
      {"C:\\Music\\song.mp3", "song"}, {"C:\\a.b\\noext", "noext"}, {"x.tar.gz", "x.tar"},
      {"C:\\dir\\", "C:\\dir\\"},      {"C:song.mp3", "C:song"},
  };
  for (const auto& c : cases) {
    char out[ZV_DESC_SIZE];
    EXPECT_TRUE(fastDesc(c.path, out));
    EXPECT_STREQ(out, c.expected) << c.path;
  }
}
