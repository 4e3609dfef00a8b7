// Reading ID3v2 tags: files tagged by eyeD3 and mutagen, tags built byte by
// byte, and damaged tags that must never crash the reader.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tag_media.h"
#include "testkit.h"
#include "zvid3.h"

using namespace tagtest;

namespace {

struct TagDeleter {
  void operator()(ZvId3v2TagData* tag) const { id3v2Free(tag); }
};
using Tag = std::unique_ptr<ZvId3v2TagData, TagDeleter>;

Tag load(const std::string& path, int expected = ZV_ID3_OK) {
  Tag tag(id3v2Create());
  EXPECT_EQ(id3v2Load(tag.get(), path.c_str()), expected) << path;
  return tag;
}

std::string field(ZvId3v2Frame frame, const char* name) {
  char text[512];
  id3v2GetStringField(frame, name, text, sizeof text);
  return text;
}

std::string content(ZvId3v2TagData* tag, const char* id) {
  ZvId3v2Frame frame = id3v2FindFrame(tag, id);
  return frame ? field(frame, "content") : "<none>";
}

std::vector<std::string> ids(ZvId3v2TagData* tag) {
  std::vector<std::string> out;
  for (int i = 0; i < id3v2FrameCount(tag); ++i) {
    char id[8];
    id3v2FrameType(id3v2GetFrame(tag, i), id, nullptr, nullptr);
    out.push_back(id);
  }
  return out;
}

TEST(Id3v2Read, utf16TagOfVersion23ComesInTheAnsiCodePage) {
  Tag tag = load(media("utf16-v23.mp3"));
  // Code page 1252 holds every character but the omega.
  EXPECT_EQ(content(tag.get(), "tit2"), "Caf\xE9 \xDC" "berflu\xDF \x96 \x80 ?");
  EXPECT_EQ(content(tag.get(), "tpe1"), "\xC6r\xF8");
  EXPECT_EQ(content(tag.get(), "talb"), "Stra\xDF" "e");
  EXPECT_EQ(id3v2GetIntField(id3v2FindFrame(tag.get(), "tit2"), "encoding"), 1);
  // eyeD3 stores its frames sorted by id; they come in that order.
  EXPECT_EQ(ids(tag.get()), (std::vector<std::string>{"talb", "tit2", "tpe1"}));
}

TEST(Id3v2Read, utf8TagOfVersion24WithCommentAndPicture) {
  Tag tag = load(media("utf8-v24.mp3"));
  EXPECT_EQ(content(tag.get(), "tit2"), "Na\xEFve fa\xE7" "ade \x96 \x80");
  EXPECT_EQ(content(tag.get(), "tpe1"), "Zo\xEB");
  EXPECT_EQ(content(tag.get(), "trck"), "5/12");
  EXPECT_EQ(content(tag.get(), "tyer"), "2004") << "the year frame of version 2.4 goes by its 2.3 id";
  EXPECT_EQ(id3v2GetIntField(id3v2FindFrame(tag.get(), "tit2"), "encoding"), 3);

  ZvId3v2Frame comm = id3v2FindFrame(tag.get(), "COMM");
  ASSERT_NE(comm, nullptr);
  EXPECT_EQ(field(comm, "desc"), "Notes");
  EXPECT_EQ(field(comm, "content"), "Plain comment");
  EXPECT_EQ(field(comm, "language"), "eng");

  ZvId3v2Frame apic = id3v2FindFrame(tag.get(), "apic");
  ASSERT_NE(apic, nullptr);
  EXPECT_EQ(field(apic, "mimetype"), "image/png");
  EXPECT_EQ(field(apic, "desc"), "Front");
  EXPECT_EQ(id3v2GetIntField(apic, "pictype"), 3);
  int32_t length = 0;
  const void* data = id3v2GetBinaryField(apic, "data", &length);
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::string(static_cast<const char*>(data), length), readBytes(media("cover.png")));
  EXPECT_EQ(field(apic, "content"), "") << "a picture has no content field";
}

TEST(Id3v2Read, framesComeInTagOrderWithTheirNamesAndKinds) {
  std::string path = zvtest::freshDir("order") + "\\order.mp3";
  writeBytes(path, tag23({frame23("TALB", std::string("\0Album", 6)),
                          frame23("COMM", std::string("\0engDesc\0Text", 13)),
                          frame23("TIT2", std::string("\0First", 6)),
                          frame23("TXXX", std::string("\0Mood\0Calm", 10)),
                          frame23("TIT2", std::string("\0Second", 7)),
                          frame23("WXXX", std::string("\0Home\0http://x.y/", 17)),
                          frame23("PRIV", std::string("owner\0\x01\x02", 8))},
                         64) +
                       readBytes(media("audio.mp3")));
  Tag tag = load(path);
  EXPECT_EQ(ids(tag.get()), (std::vector<std::string>{"talb", "comm", "tit2", "txxx", "tit2", "wxxx", "priv"}));
  EXPECT_EQ(content(tag.get(), "tit2"), "First") << "FindFrame gives the first";
  EXPECT_EQ(field(id3v2GetFrame(tag.get(), 4), "content"), "Second");
  EXPECT_EQ(field(id3v2GetFrame(tag.get(), 3), "desc"), "Mood");
  EXPECT_EQ(field(id3v2GetFrame(tag.get(), 3), "content"), "Calm");
  EXPECT_EQ(field(id3v2GetFrame(tag.get(), 5), "content"), "http://x.y/");

  char id[8], name[256];
  int32_t kind = -1;
  ASSERT_EQ(id3v2FrameType(id3v2GetFrame(tag.get(), 1), id, name, &kind), ZV_TRUE);
  EXPECT_STREQ(id, "comm");
  EXPECT_STREQ(name, "Comment");
  EXPECT_EQ(kind, ZV_ID3_KIND_LANGTEXT);
  ASSERT_EQ(id3v2FrameType(id3v2GetFrame(tag.get(), 6), id, name, &kind), ZV_TRUE);
  EXPECT_STREQ(id, "priv");
  EXPECT_EQ(kind, ZV_ID3_KIND_OTHER);
  int32_t length = 0;
  const char* raw = static_cast<const char*>(id3v2GetBinaryField(id3v2GetFrame(tag.get(), 6), "data", &length));
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(std::string(raw, length), std::string("owner\0\x01\x02", 8)) << "an unknown frame keeps its body";
  EXPECT_EQ(id3v2GetFrame(tag.get(), 7), nullptr);
  EXPECT_EQ(id3v2GetFrame(tag.get(), -1), nullptr);
}

TEST(Id3v2Read, knownTypesListTheFramesCallersUse) {
  std::vector<std::string> listed;
  for (int i = 0; i < id3v2TypeCount(); ++i) {
    char id[8], name[256];
    int32_t kind;
    ASSERT_EQ(id3v2GetType(i, id, name, &kind), ZV_TRUE);
    EXPECT_STRNE(name, "") << id;
    listed.push_back(id);
  }
  for (const char* used : {"tit2", "tpe1", "talb", "tyer", "trck", "txxx", "wxxx", "apic", "geob", "ipls", "comm",
                           "uslt", "user", "tcon", "tflt", "tmed", "tofn"})
    EXPECT_NE(std::find(listed.begin(), listed.end(), used), listed.end()) << used;
  EXPECT_EQ(listed[0], "tit2") << "the title leads the display order";
  EXPECT_EQ(id3v2GetType(id3v2TypeCount(), nullptr, nullptr, nullptr), ZV_FALSE);
}

TEST(Id3v2Read, filesWithoutATagAndBadArguments) {
  Tag tag = load(media("audio.mp3"), ZV_ID3_NO_TAG);
  EXPECT_EQ(id3v2FrameCount(tag.get()), 0);
  load(media("v1-only.mp3"), ZV_ID3_NO_TAG);
  load(zvtest::testDir() + "\\missing.mp3", ZV_ID3_IO_ERROR);
  std::string ogg = zvtest::freshDir("ogg") + "\\a.ogg";
  writeBytes(ogg, "OggS" + std::string(100, '\0'));
  load(ogg, ZV_ID3_NO_TAGS_HERE);
  EXPECT_EQ(id3v2Load(nullptr, "x"), ZV_ID3_BAD_ARGUMENT);
  EXPECT_EQ(id3v2FrameCount(nullptr), 0);
  EXPECT_EQ(id3v2FindFrame(nullptr, "tit2"), nullptr);

  // A load replaces what the handle held.
  Tag reused = load(media("utf16-v23.mp3"));
  EXPECT_EQ(id3v2Load(reused.get(), media("audio.mp3").c_str()), ZV_ID3_NO_TAG);
  EXPECT_EQ(id3v2FrameCount(reused.get()), 0);
}

TEST(Id3v2Read, damagedTagsNeverCrash) {
  std::string dir = zvtest::freshDir("damaged");
  std::string audio = readBytes(media("audio.mp3"));
  std::string good = tag23({frame23("TIT2", std::string("\0Title", 6)), frame23("TPE1", std::string("\0Art", 4))});
  std::vector<std::string> damaged = {
      good.substr(0, 15),                                      // cut inside the first frame
      good.substr(0, 10),                                      // a header alone
      std::string("ID3\x03\0\0\x7F\x7F\x7F\x7F", 10) + audio,  // size far past the end
      tag23({frame23("TIT2", std::string("\0Title", 6))}).replace(14, 4, std::string("\x7F\xFF\xFF\xFF", 4)) +
          audio,                                                             // frame size lies
      tag23({frame23("TIT2", "")}) + audio,                                  // empty frame
      tag23({frame23("APIC", std::string("\x01", 1))}) + audio,              // picture cut short
      tag23({frame23("COMM", std::string("\x01" "en", 3))}) + audio,         // comment cut short
      tag23({frame23("TXXX", std::string("\x01\xFF\xFE", 3))}) + audio,      // odd UTF-16
      tag23({frame23("\x01\x02\x03\x04", "junk")}) + audio,                  // an id of control bytes
      std::string("ID3\x04\0\x40\0\0\0\x20", 10) + std::string(32, '\xFF') + audio,  // extended header of junk
  };
  for (size_t i = 0; i < damaged.size(); ++i) {
    std::string path = dir + "\\d" + std::to_string(i) + ".mp3";
    writeBytes(path, damaged[i]);
    Tag tag(id3v2Create());
    int result = id3v2Load(tag.get(), path.c_str());
    EXPECT_TRUE(result == ZV_ID3_OK || result == ZV_ID3_NO_TAG) << i << ": " << result;
    for (int f = 0; f < id3v2FrameCount(tag.get()); ++f) {
      ZvId3v2Frame frame = id3v2GetFrame(tag.get(), f);
      for (const char* name : {"content", "desc", "mimetype", "filename", "language", "encoding", "pictype"})
        field(frame, name);
      int32_t length;
      id3v2GetBinaryField(frame, "data", &length);
    }
    ZvId3v1Tag v1;
    readTag(path.c_str(), &v1);
  }
}

TEST(Id3v2Read, anEncodingByteOutsideTheFourReadsAsLatin1) {
  std::string path = zvtest::freshDir("encoding") + "\\encoding.mp3";
  writeBytes(path, tag23({frame23("TIT2", std::string("\xD4Title", 6)), frame23("COMM", std::string("\x07engD\0Text", 10)),
                          frame23("TPE1", std::string("\x01\xFF\xFE" "A\0r\0t\0", 9))}) +
                       readBytes(media("audio.mp3")));
  Tag tag = load(path);
  ASSERT_EQ(id3v2FrameCount(tag.get()), 3);
  EXPECT_EQ(id3v2GetIntField(id3v2FindFrame(tag.get(), "tit2"), "encoding"), 0);
  EXPECT_EQ(id3v2GetIntField(id3v2FindFrame(tag.get(), "comm"), "encoding"), 0);
  EXPECT_EQ(id3v2GetIntField(id3v2FindFrame(tag.get(), "tpe1"), "encoding"), 1) << "a known one is kept";
  EXPECT_EQ(content(tag.get(), "tpe1"), "Art");
}

TEST(Id3v2Read, stringFieldsAreBoundedAndNeverOverrun) {
  Tag tag = load(media("utf16-v23.mp3"));
  ZvId3v2Frame title = id3v2FindFrame(tag.get(), "tit2");
  char small[8];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(id3v2GetStringField(title, "content", small, 5), 4);
  EXPECT_STREQ(small, "Caf\xE9");
  EXPECT_EQ(small[5], 'x');
  EXPECT_EQ(id3v2GetStringField(title, "content", small, 0), 0);
  EXPECT_EQ(id3v2GetStringField(title, "nosuchfield", small, sizeof small), 0);
  EXPECT_STREQ(small, "");
  EXPECT_EQ(id3v2GetStringField(nullptr, "content", small, sizeof small), 0);
}

}  // namespace
