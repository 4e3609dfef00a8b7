// Tag information and descriptions from files tagged by Debian's id3v2 tool
// (made by fixture-setup.sh) and by zvid3 itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "meta_fixture.h"
#include "testkit.h"
#include "zv_desc.h"
#include "zvid3.h"

namespace {

std::string tagged(const char* name) { return zvtest::testDir() + "\\tagged\\" + name; }

std::string tagInfo(const std::string& path, bool* produced) {
  char out[ZV_TAGINFO_SIZE];
  *produced = getTagInfo(path.c_str(), out) != 0;
  return out;
}

std::string descOf(const std::string& path) {
  char out[ZV_DESC_SIZE];
  EXPECT_TRUE(desc(path.c_str(), out));
  return out;
}

// A copy of a fixture in a fresh folder of this test, for tests that write.
std::string copyOf(const char* name, const char* folder) {
  std::string to = zvtest::freshDir(folder) + "\\" + name;
  EXPECT_TRUE(CopyFileA(tagged(name).c_str(), to.c_str(), FALSE));
  return to;
}

}  // namespace

TEST(TagInfo, fromFilesTaggedByTheId3v2Tool) {
  ASSERT_NE(GetFileAttributesA(tagged("full.mp3").c_str()), INVALID_FILE_ATTRIBUTES) << "fixture files missing";
  const struct {
    const char* file;
    bool produced;
    const char* text;
  } cases[] = {
      {"full.mp3", true, "title=Title\nartist=Artist\nalbum=Album\nyear=1999\ntrack=5"},
      // ID3v2 gives the title, ID3v1 the still-missing artist and track.
      {"split.mp3", true, "title=T\nartist=A\nalbum=\nyear=\ntrack=5"},
      // "3/12" is no number; the ID3v1 track fills it.
      {"slash.mp3", true, "title=Slash\nartist=S\nalbum=\nyear=\ntrack=7"},
      {"v1only.mp3", true, "title=Old\nartist=Timer\nalbum=Record\nyear=1987\ntrack=3"},
      {"untagged.mp3", false, ""},
      {"absent.mp3", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    bool produced = !c.produced;
    EXPECT_EQ(tagInfo(tagged(c.file), &produced), c.text);
    EXPECT_EQ(produced, c.produced);
  }
}

TEST(TagInfo, descriptionsUseTheDefaultFormat) {
  std::string dir = zvtest::freshDir("formatted");
  for (const char* f : {"full.mp3", "split.mp3", "untagged.mp3"})
    ASSERT_TRUE(CopyFileA(tagged(f).c_str(), (dir + "\\" + f).c_str(), FALSE));
  EXPECT_EQ(descOf(dir + "\\full.mp3"), "5. Artist \"Title\"");
  EXPECT_EQ(descOf(dir + "\\split.mp3"), "5. A \"T\"");
  EXPECT_EQ(descOf(dir + "\\untagged.mp3"), "untagged");
}

TEST(TagInfo, retaggedFileReplacesItsCachedDescription) {
  std::string path = copyOf("full.mp3", "retag");
  EXPECT_EQ(descOf(path), "5. Artist \"Title\"");
  char out[ZV_DESC_SIZE];
  EXPECT_TRUE(cachedDesc(path.c_str(), out));
  // Let the clock move past the record's stamp before the file changes.
  Sleep(50);
  ZvId3v2Tag tag = id3v2Create();
  ASSERT_EQ(id3v2Load(tag, path.c_str()), ZV_ID3_OK);
  ASSERT_TRUE(id3v2SetStringField(id3v2FindFrame(tag, "tit2"), "content", "Renamed"));
  ASSERT_EQ(id3v2Save(tag, path.c_str(), 0, nullptr), ZV_ID3_OK);
  id3v2Free(tag);
  EXPECT_FALSE(cachedDesc(path.c_str(), out)) << "the record predates the new tag";
  EXPECT_EQ(descOf(path), "5. Artist \"Renamed\"");
  EXPECT_TRUE(cachedDesc(path.c_str(), out));
  EXPECT_STREQ(out, "5. Artist \"Renamed\"");
}

TEST(TagInfo, tagsWrittenByZvid3AreRead) {
  std::string path = copyOf("untagged.mp3", "zvid3tags");
  ZvId3v1Tag v1;
  encodeTag(&v1, "One", "Two", "Three", "2004", "", 9, ZV_ID3_GENRE_NONE);
  ASSERT_EQ(writeTag(path.c_str(), &v1), ZV_ID3_OK);
  ZvId3v2Tag tag = id3v2Create();
  id3v2Load(tag, path.c_str());
  ASSERT_TRUE(id3v2SetStringField(id3v2AddFrame(tag, "tit2"), "content", "V2 Title"));
  ASSERT_TRUE(id3v2SetStringField(id3v2AddFrame(tag, "trck"), "content", "11"));
  ASSERT_EQ(id3v2Save(tag, path.c_str(), 0, nullptr), ZV_ID3_OK);
  id3v2Free(tag);
  bool produced = false;
  EXPECT_EQ(tagInfo(path, &produced), "title=V2 Title\nartist=Two\nalbum=Three\nyear=2004\ntrack=11");
  EXPECT_TRUE(produced);
}

TEST(TagInfo, scannerFormatsTagsAndStoresTheResult) {
  std::string path = copyOf("full.mp3", "scantags");
  queryInfo(path.c_str(), ZvTarget(GetCurrentThreadId()), 3, 4);
  std::vector<ZvQueryResult> got;
  ASSERT_TRUE(metatest::collectAnswers(1, &got));
  EXPECT_STREQ(got[0].description, "5. Artist \"Title\"");
  size_t bytes = zvtest::readFile(path).size();
  ASSERT_NE(bytes % 1024, 512u);
  EXPECT_EQ(got[0].sizeKb, int32_t((bytes + 512) / 1024));
  // With no playback plug-in to report a format and length, the
  // information text stays empty.
  EXPECT_STREQ(got[0].info, "");
  char out[ZV_DESC_SIZE];
  EXPECT_TRUE(cachedDesc(path.c_str(), out));
  EXPECT_STREQ(out, "5. Artist \"Title\"");
}
