// Tags of files named beyond code page 1252, under the UTF-8 active code
// page (this program has the player's manifest): zvid3 opens such names,
// reads ID3v2 texts as UTF-8, reads an ID3v1 record that a Western player
// wrote in 1252 as its characters, writes ID3v1 in 1252 where that holds
// the text and UTF-8 where it does not, and saves ID3v2 texts that no
// legacy code page holds; the engine's getTagInfo reads the same files.
// The media are made by Debian's tools (fixture-setup.sh).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "testkit.h"
#include "zv_desc.h"
#include "zvid3.h"

namespace {

const std::string kJapaneseFile = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xE6\x9B\xB2.mp3";  // "日本語 曲.mp3"
const std::string kGreekEmojiFile = "\xCE\xA9\xCE\xB4\xCE\xAE \xF0\x9F\x8E\xB5.mp3";           // "Ωδή 🎵.mp3"
const std::string kNightSong = "\xE5\xA4\x9C\xE3\x81\xAE\xE6\xAD\x8C \xF0\x9F\x8E\xB8";      // "夜の歌 🎸"
const std::string kGreek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";  // "Ελληνικά"
const std::string kCyrillicAlbum = "\xD0\x90\xD0\xBB\xD1\x8C\xD0\xB1\xD0\xBE\xD0\xBC";         // "Альбом"

struct TagDeleter {
  void operator()(ZvId3v2TagData* tag) const { id3v2Free(tag); }
};
using Tag = std::unique_ptr<ZvId3v2TagData, TagDeleter>;

std::string media(const std::string& name) { return zvtest::testDir() + "\\tagmedia\\" + name; }

// A copy of a media file under `name` in a folder named in Greek, Japanese
// and with an emoji.
std::string copyAs(const std::string& from, const std::string& name) {
  const std::string dir = zvtest::freshDir("tags") + "\\\xCE\x9C\xCE\xBF\xCF\x85\xCF\x83\xCE\xB9\xCE\xBA\xCE\xAE "
                                                     "\xE9\x9F\xB3\xE6\xA5\xBD \xF0\x9F\x8E\xB5";
  EXPECT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  const std::string to = dir + "\\" + name;
  EXPECT_TRUE(CopyFileA(media(from).c_str(), to.c_str(), FALSE)) << "media missing: " << from;
  return to;
}

std::string content(ZvId3v2TagData* tag, const char* id) {
  ZvId3v2Frame frame = id3v2FindFrame(tag, id);
  char text[512] = "<none>";
  if (frame) id3v2GetStringField(frame, "content", text, sizeof text);
  return text;
}

Tag load(const std::string& path) {
  Tag tag(id3v2Create());
  EXPECT_EQ(id3v2Load(tag.get(), path.c_str()), ZV_ID3_OK) << path;
  return tag;
}

std::string fileBytes(const std::string& path) {
  auto bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

std::wstring utf16(const std::string& utf8) {
  std::wstring w(utf8.size(), L'\0');
  w.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), w.data(), int(w.size()))));
  return w;
}

class Utf8Tags : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest sets UTF-8"; }
};

TEST_F(Utf8Tags, id3v2TextsOfAJapaneseNamedFileReadAsUtf8) {
  Tag tag = load(media(kJapaneseFile));
  EXPECT_EQ(content(tag.get(), "tit2"), kNightSong);
  EXPECT_EQ(content(tag.get(), "tpe1"), kGreek);
  EXPECT_EQ(content(tag.get(), "talb"), kCyrillicAlbum);
}

TEST_F(Utf8Tags, engineTagInformationOfSuchNames) {
  struct Row {
    std::string file, title, artist;
  };
  const Row rows[] = {
      {kJapaneseFile, kNightSong, kGreek},
      {kGreekEmojiFile, "Caf\xC3\xA9 \xE2\x82\xAC na\xC3\xAFve", "Bj\xC3\xB6rk"},  // the 1252 ID3v1 record
  };
  for (const Row& r : rows) {
    char info[ZV_DESC_SIZE] = {};
    ASSERT_TRUE(getTagInfo(copyAs(r.file, r.file).c_str(), info)) << r.file;
    char title[256] = {}, artist[256] = {}, album[256] = {}, year[256] = {};
    int32_t track = 0;
    ASSERT_TRUE(decodeTagInfo(info, title, artist, album, year, &track));
    EXPECT_EQ(std::string(title), r.title) << r.file;
    EXPECT_EQ(std::string(artist), r.artist) << r.file;
  }
}

TEST_F(Utf8Tags, legacyId3v1RecordDecodesAsItsCharacters) {
  ZvId3v1Tag rec;
  ASSERT_EQ(readTag(media(kGreekEmojiFile).c_str(), &rec), ZV_ID3_OK);
  char title[31] = {}, artist[31] = {}, album[31] = {}, year[5] = {};
  int32_t track = 0, genre = 0;
  decodeTag(&rec, title, artist, album, year, nullptr, &track, &genre);
  EXPECT_EQ(std::string(title), "Caf\xC3\xA9 \xE2\x82\xAC na\xC3\xAFve");
  EXPECT_EQ(std::string(artist), "Bj\xC3\xB6rk");
  EXPECT_EQ(std::string(album), "Gr\xC3\xBC\xC3\x9F" "e");
  EXPECT_EQ(std::string(year), "1997");
  EXPECT_EQ(track, 3);
  EXPECT_EQ(genre, 17);
}

TEST_F(Utf8Tags, id3v1FieldsDecodeByWhatTheyHold) {
  struct Row {
    const char* what;
    std::string stored, decoded;
  };
  const std::string japanese10 = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE6\x9B\xB2\xE5\xA4\x9C\xE3\x81\xAE\xE6\xAD\x8C"
                                 "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";  // ten characters, 30 bytes
  const Row rows[] = {
      {"ASCII", "Plain title", "Plain title"},
      {"1252", "Stra\xDF" "e \x96 \xC0 la carte", "Stra\xC3\x9F" "e \xE2\x80\x93 \xC3\x80 la carte"},
      {"UTF-8", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1"},
      {"UTF-8 filling the field", japanese10, japanese10},
      {"UTF-8 cut by the field's width", "A" + japanese10.substr(0, 27) + "\xE8\xAA", "A" + japanese10.substr(0, 27)},
      {"1252 ending in a letter that opens UTF-8", "caf\xE9", "caf\xC3\xA9"},
  };
  for (const Row& r : rows) {
    ZvId3v1Tag rec = {};
    std::memcpy(rec.magic, "TAG", 3);
    std::memcpy(rec.title, r.stored.data(), std::min(r.stored.size(), sizeof rec.title));
    char title[31] = {};
    decodeTag(&rec, title, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(std::string(title), r.decoded) << r.what;
  }
}

TEST_F(Utf8Tags, id3v1WrittenIn1252WhereItHoldsTheTextElseUtf8) {
  struct Row {
    const char* what;
    std::string title, stored, decoded;
  };
  // 31 bytes: the emoji that starts at byte 27 does not fit whole.
  const std::string tooLong = "xxx" + kNightSong + kNightSong;
  const Row rows[] = {
      {"1252 holds it", "Caf\xC3\xA9 \xE2\x82\xAC", "Caf\xE9 \x80", "Caf\xC3\xA9 \xE2\x82\xAC"},
      {"beyond 1252", kGreek, kGreek, kGreek},
      {"beyond 1252, cut before a whole character", tooLong, tooLong.substr(0, 27), tooLong.substr(0, 26)},  // the blank before the cut is trimmed
  };
  const std::string path = copyAs(kGreekEmojiFile, kGreekEmojiFile);
  for (const Row& r : rows) {
    ZvId3v1Tag rec;
    encodeTag(&rec, r.title.c_str(), "A", "B", "2024", "", 1, 0);
    EXPECT_EQ(std::string(rec.title, strnlen(rec.title, sizeof rec.title)), r.stored) << r.what;
    ASSERT_EQ(writeTag(path.c_str(), &rec), ZV_ID3_OK) << r.what;
    ZvId3v1Tag back;
    ASSERT_EQ(readTag(path.c_str(), &back), ZV_ID3_OK);
    EXPECT_EQ(std::memcmp(&back, &rec, sizeof rec), 0) << r.what << ": the record is stored byte for byte";
    char title[31] = {};
    decodeTag(&back, title, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(std::string(title), r.decoded) << r.what << ": reads back as written";
  }
}

TEST_F(Utf8Tags, id3v2SavedTextsBeyondEveryLegacyCodePageComeBack) {
  const std::string path = copyAs(kJapaneseFile, kGreekEmojiFile);
  const std::string title = kGreek + " " + kNightSong;
  {
    Tag tag = load(path);
    ASSERT_TRUE(id3v2SetStringField(id3v2FindFrame(tag.get(), "tit2"), "content", title.c_str()));
    ASSERT_EQ(id3v2Save(tag.get(), path.c_str(), 0, nullptr), ZV_ID3_OK);
  }
  Tag tag = load(path);
  EXPECT_EQ(content(tag.get(), "tit2"), title);
  EXPECT_EQ(content(tag.get(), "tpe1"), kGreek) << "the other frames are kept";
  // ID3v2.3 keeps such texts in UTF-16.
  const std::wstring wide = utf16(title);
  const std::string bytes = fileBytes(path);
  EXPECT_NE(bytes.find(std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2)), std::string::npos);
}

}  // namespace
