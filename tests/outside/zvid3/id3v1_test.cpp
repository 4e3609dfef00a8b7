// The ID3v1.1 record calls on files tagged by id3lib's id3v2 tool and on
// files written here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tag_media.h"
#include "testkit.h"
#include "win32/owners.h"
#include "zvid3.h"

using namespace tagtest;

namespace {

struct Decoded {
  char title[31], artist[31], album[31], year[5], comment[31];
  int32_t track = -1, genre = -1;
};

Decoded decode(const ZvId3v1Tag& tag) {
  Decoded d;
  decodeTag(&tag, d.title, d.artist, d.album, d.year, d.comment, &d.track, &d.genre);
  return d;
}

TEST(Id3v1, readsTheRecordDebiansToolWrote) {
  ZvId3v1Tag tag;
  ASSERT_EQ(readTag(media("v1.mp3").c_str(), &tag), ZV_ID3_OK);
  EXPECT_EQ(std::memcmp(tag.magic, "TAG", 3), 0);
  Decoded d = decode(tag);
  EXPECT_STREQ(d.title, "V1 Title");
  EXPECT_STREQ(d.artist, "V1 Artist");
  EXPECT_STREQ(d.album, "V1 Album");
  EXPECT_STREQ(d.year, "1999");
  EXPECT_STREQ(d.comment, "V1 comment");
  EXPECT_EQ(d.track, 7);
  EXPECT_EQ(d.genre, 17);
}

TEST(Id3v1, resultsForFilesWithoutARecord) {
  ZvId3v1Tag tag;
  std::memset(&tag, 0x55, sizeof tag);
  EXPECT_EQ(readTag(media("audio.mp3").c_str(), &tag), ZV_ID3_NO_TAG);
  EXPECT_EQ(tag.magic[0], 0) << "the record is cleared";
  EXPECT_EQ(readTag(media("utf16-v23.mp3").c_str(), &tag), ZV_ID3_NO_TAG) << "ID3v2 only";
  EXPECT_EQ(readTag((zvtest::testDir() + "\\no such file.mp3").c_str(), &tag), ZV_ID3_IO_ERROR);
  EXPECT_EQ(readTag(nullptr, &tag), ZV_ID3_BAD_ARGUMENT);
  EXPECT_EQ(readTag(media("audio.mp3").c_str(), nullptr), ZV_ID3_BAD_ARGUMENT);
}

TEST(Id3v1, containersWithTagsOfTheirOwnAreFileTypesWithoutTags) {
  std::string dir = zvtest::freshDir("containers");
  const char* heads[] = {"OggS\0\x02", "fLaC\0\0\0\x22", "RIFF\x24\0\0\0WAVE", "\0\0\0\x20" "ftypM4A "};
  const size_t sizes[] = {6, 8, 12, 12};
  ZvId3v1Tag tag;
  encodeTag(&tag, "t", "a", "", "", "", 1, 2);
  for (int i = 0; i < 4; ++i) {
    std::string path = dir + "\\c" + std::to_string(i) + ".bin";
    std::string bytes(heads[i], sizes[i]);
    bytes += std::string(300, 'x') + std::string(reinterpret_cast<const char*>(&tag), 128);
    writeBytes(path, bytes);
    ZvId3v1Tag read;
    EXPECT_EQ(readTag(path.c_str(), &read), ZV_ID3_NO_TAGS_HERE) << i;
    EXPECT_EQ(writeTag(path.c_str(), &tag), ZV_ID3_NO_TAGS_HERE) << i;
    EXPECT_EQ(removeTag(path.c_str()), ZV_ID3_NO_TAGS_HERE) << i;
    EXPECT_EQ(readBytes(path), bytes) << "left alone: " << i;
  }
  ZvId3v1Tag read;
  EXPECT_EQ(readTag("D:\\track01.cda", &read), ZV_ID3_NO_TAGS_HERE);
  EXPECT_EQ(readTag("CD:\\0A0B0C0D\\track01.cda", &read), ZV_ID3_NO_TAGS_HERE);
}

TEST(Id3v1, encodeFillsTheFieldsAtTheirOffsets) {
  ZvId3v1Tag tag;
  encodeTag(&tag, "A title that is much longer than thirty bytes", "Artist", "Album", "20041", "Comment", 12, 80);
  const char* raw = reinterpret_cast<const char*>(&tag);
  EXPECT_EQ(std::string(raw, 3), "TAG");
  EXPECT_EQ(std::string(raw + 3, 30), "A title that is much longer th");
  EXPECT_EQ(std::string(raw + 33, 7), std::string("Artist\0", 7));
  EXPECT_EQ(std::string(raw + 63, 5), "Album");
  EXPECT_EQ(std::string(raw + 93, 4), "2004");
  EXPECT_EQ(std::string(raw + 97, 8), std::string("Comment\0", 8));
  EXPECT_EQ(raw[125], 0);
  EXPECT_EQ(uint8_t(raw[126]), 12);
  EXPECT_EQ(uint8_t(raw[127]), 80);

  encodeTag(&tag, nullptr, nullptr, nullptr, nullptr, nullptr, 0, -1);
  EXPECT_EQ(tag.track, 0);
  EXPECT_EQ(tag.genre, ZV_ID3_GENRE_NONE);
  encodeTag(&tag, "", "", "", "", "", 256, 255);
  EXPECT_EQ(tag.track, 0) << "a track that does not fit is none";
  EXPECT_EQ(tag.genre, ZV_ID3_GENRE_NONE);
}

TEST(Id3v1, decodeTrimsAndTellsOldCommentsFromTracks) {
  ZvId3v1Tag tag;
  std::memset(&tag, ' ', sizeof tag);  // some writers pad with blanks
  std::memcpy(tag.magic, "TAG", 3);
  std::memcpy(tag.title, "Padded", 6);
  tag.zero = 'x';  // ID3v1.0: a 30-byte comment, no track
  tag.track = 'y';
  tag.genre = 3;
  Decoded d = decode(tag);
  EXPECT_STREQ(d.title, "Padded");
  EXPECT_STREQ(d.artist, "");
  EXPECT_EQ(d.track, 0);
  EXPECT_EQ(d.genre, 3);

  // Only the outputs asked for are written.
  int32_t track = -1;
  tag.zero = 0;
  tag.track = 9;
  decodeTag(&tag, nullptr, nullptr, nullptr, nullptr, nullptr, &track, nullptr);
  EXPECT_EQ(track, 9);
}

TEST(Id3v1, writeAppendsReplacesAndRemovesKeepingTheAudio) {
  std::string path = copyOf("audio.mp3", "write");
  std::string audio = readBytes(path);
  ZvId3v1Tag tag;
  encodeTag(&tag, "First", "Someone", "Record", "2010", "note", 4, 12);
  ASSERT_EQ(writeTag(path.c_str(), &tag), ZV_ID3_OK);
  std::string bytes = readBytes(path);
  ASSERT_EQ(bytes.size(), audio.size() + 128);
  EXPECT_EQ(bytes.substr(0, audio.size()), audio);
  EXPECT_EQ(bytes.substr(audio.size()), std::string(reinterpret_cast<char*>(&tag), 128));

  encodeTag(&tag, "Second", "", "", "", "", 0, 255);
  ASSERT_EQ(writeTag(path.c_str(), &tag), ZV_ID3_OK);
  ZvId3v1Tag read;
  ASSERT_EQ(readTag(path.c_str(), &read), ZV_ID3_OK);
  EXPECT_STREQ(decode(read).title, "Second");
  EXPECT_EQ(readBytes(path).size(), audio.size() + 128) << "replaced, not appended";

  EXPECT_EQ(removeTag(path.c_str()), ZV_ID3_OK);
  EXPECT_EQ(readBytes(path), audio);
  EXPECT_EQ(removeTag(path.c_str()), ZV_ID3_NO_TAG);
  EXPECT_EQ(filesIn(zvtest::testDir() + "\\write").size(), 1u) << "no temporary file left";
}

TEST(Id3v1, ansiTextsKeepTheirBytesAndNonAsciiPathsWork) {
  std::string dir = zvtest::freshDir("v1 \xC4\xF6");  // "Äö" in code page 1252
  std::string path = dir + "\\t\xE9st.mp3";
  writeBytes(path, readBytes(media("audio.mp3")));
  ZvId3v1Tag tag;
  encodeTag(&tag, "Caf\xE9 \x80", "\xC6r\xF8", "", "", "", 1, 0);
  ASSERT_EQ(writeTag(path.c_str(), &tag), ZV_ID3_OK);
  ZvId3v1Tag read;
  ASSERT_EQ(readTag(path.c_str(), &read), ZV_ID3_OK);
  Decoded d = decode(read);
  EXPECT_STREQ(d.title, "Caf\xE9 \x80");
  EXPECT_STREQ(d.artist, "\xC6r\xF8");
}

TEST(Id3v1, failedWritesLeaveTheFileAsItWas) {
  std::string path = copyOf("v1-only.mp3", "readonly");
  std::string before = readBytes(path);
  ZvId3v1Tag tag;
  encodeTag(&tag, "New", "", "", "", "", 0, 255);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(writeTag(path.c_str(), &tag), ZV_ID3_IO_ERROR);
  EXPECT_EQ(removeTag(path.c_str()), ZV_ID3_IO_ERROR);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(readBytes(path), before);

  zv::UniqueFile held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  EXPECT_EQ(writeTag(path.c_str(), &tag), ZV_ID3_IO_ERROR);
  held.reset();
  EXPECT_EQ(readBytes(path), before);
  EXPECT_EQ(filesIn(zvtest::testDir() + "\\readonly").size(), 1u) << "no temporary file left";
  EXPECT_EQ(writeTag((zvtest::testDir() + "\\missing.mp3").c_str(), &tag), ZV_ID3_IO_ERROR);
}

TEST(Id3v1, genreNamesAndNumbers) {
  char name[256];
  ASSERT_EQ(getGenre(17, name), ZV_TRUE);
  EXPECT_STREQ(name, "Rock");
  ASSERT_EQ(getGenre(0, name), ZV_TRUE);
  EXPECT_STREQ(name, "Blues");
  EXPECT_EQ(getGenre(255, name), ZV_FALSE);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(getGenre(-1, name), ZV_FALSE);
  EXPECT_EQ(genreIdx("Rock"), 17);
  EXPECT_EQ(genreIdx("  hip-HOP "), 7);
  EXPECT_EQ(genreIdx("No such genre"), -1);
  EXPECT_EQ(genreIdx(""), -1);
  EXPECT_EQ(genreIdx(nullptr), -1);
  for (int i = 0; getGenre(i, name); ++i) EXPECT_EQ(genreIdx(name), i) << name;
}

}  // namespace
