// The decision units of the tag windows, without a window: the lyrics file
// rules, the ID3 page's conversions, the shipped lists, the CD track list
// and the pictures of APIC frames.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <random>

#include "cd_track_list.h"
#include "id3_values.h"
#include "lyrics_locator.h"
#include "picture_decode.h"
#include "testkit.h"
#include "zv_cdaudio.h"
#include "zvid3.h"

using namespace zv::info;
using zv::cddb::CdTrackItem;
using zv::cddb::CdTrackList;

namespace {

// A 24-bit BMP of w x h in one colour.
std::vector<uint8_t> bmpBytes(int w, int h) {
  const int row = (w * 3 + 3) & ~3;
  std::vector<uint8_t> b(54 + size_t(row) * h, 0);
  auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
  b[0] = 'B', b[1] = 'M';
  put32(2, uint32_t(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, uint32_t(w));
  put32(22, uint32_t(h));
  b[26] = 1, b[28] = 24;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b[54 + size_t(y) * row + x * 3 + 2] = 200;  // red
  return b;
}

}  // namespace

TEST(LyricsName, hostileTagTextStaysInsideItsFolder) {
  const struct {
    const char* formatted;
    const char* expected;
  } cases[] = {
      {"Artist - Title.txt", "Artist - Title.txt"},
      {"..\\..\\Windows - x.txt", "Windows - x.txt"},
      {"../../etc/passwd.txt", "etc\\passwd.txt"},
      {"\\\\server\\share\\a.txt", "server\\share\\a.txt"},
      {"C:\\Windows\\a.txt", "C-\\Windows\\a.txt"},
      {"a*b?c<d>e|f:g.txt", "a-b-c-d-e-f-g.txt"},
      {"Band/Album/Song.txt", "Band\\Album\\Song.txt"},
      {". . \\ .. \\x.txt", "x.txt"},
      {"..", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(safeLyricsName(c.formatted), c.expected) << c.formatted;
}

TEST(LyricsName, databaseNameComesFromTheTagsAndSourceNameFromTheFile) {
  LyricsSettings s;
  s.dir = "C:\\lyr";
  LyricsTags tags{"Song", "..\\..\\Evil", "", "", 0};
  LyricsCandidates c = lyricsCandidates("D:\\music\\track.mp3", &tags, s, "D:\\music\\cache");
  EXPECT_EQ(c.database, "C:\\lyr\\Evil - Song.txt");
  EXPECT_EQ(c.source, "D:\\music\\cache\\track.mp3.txt");
  LyricsTags noArtist{"Song", "", "", "", 0};
  c = lyricsCandidates("D:\\music\\track.mp3", &noArtist, s, "D:\\music\\cache");
  EXPECT_EQ(c.database, "C:\\lyr\\track.txt");
  c = lyricsCandidates("D:\\music\\track.mp3", nullptr, s, "D:\\cache\\");
  EXPECT_EQ(c.database, "");
  EXPECT_EQ(c.source, "D:\\cache\\track.mp3.txt");
}

TEST(LyricsName, theChoiceFollowsWhichFilesExist) {
  const LyricsCandidates both{"db.txt", "src.txt"};
  const struct {
    bool dbExists, srcExists, inDb;
    const char* expected;
  } cases[] = {
      {true, true, false, "db.txt"},   {true, false, false, "db.txt"}, {false, true, true, "src.txt"},
      {false, false, true, "db.txt"},  {false, false, false, "src.txt"},
  };
  for (const auto& c : cases) {
    auto exists = [&](const std::string& p) { return p == "db.txt" ? c.dbExists : c.srcExists; };
    EXPECT_EQ(chooseLyricsPath(both, c.inDb, exists), c.expected) << c.dbExists << c.srcExists << c.inDb;
  }
  // Without tags only the source counts, even when a database file exists.
  EXPECT_EQ(chooseLyricsPath({"", "src.txt"}, true, [](const std::string&) { return true; }), "src.txt");
}

TEST(Id3Values, trackTextIsReadSafely) {
  const struct {
    const char* text;
    int track;
  } cases[] = {{"", 0}, {"7", 7}, {" 12 ", 12}, {"abc", 0}, {"3a", 0}, {"999", 255}, {"-4", 0}, {"0", 0}};
  for (const auto& c : cases) EXPECT_EQ(trackFromText(c.text), c.track) << c.text;
  EXPECT_EQ(trackText(0), "");
  EXPECT_EQ(trackText(9), "9");
}

TEST(Id3Values, unknownOrNoGenreIsStoredAsNone) {
  EXPECT_EQ(storedGenre(-1), 255);
  EXPECT_EQ(storedGenre(300), 255);
  EXPECT_EQ(storedGenre(0), 0);
  EXPECT_EQ(storedGenre(17), 17);
  Id3Values v;
  v.title = "T";
  v.genre = -1;
  const ZvId3v1Tag tag = tagOfValues(v);
  EXPECT_EQ(tag.genre, 255);
  EXPECT_EQ(valuesOfTag(tag, 148).genre, -1);
  v.genre = 8;
  v.track = 12;
  const Id3Values back = valuesOfTag(tagOfValues(v), 148);
  EXPECT_EQ(back.genre, 8);
  EXPECT_EQ(back.track, 12);
  EXPECT_EQ(back.title, "T");
  // A number beyond the list shows no genre.
  v.genre = 100;
  EXPECT_EQ(valuesOfTag(tagOfValues(v), 50).genre, -1);
}

TEST(ShippedLists, everyGenreLineSitsAtTheNumberTheTagLibraryGivesIt) {
  const std::string path = zvtest::rootDir() + "\\lang\\en\\id3\\genres.id3";
  const std::vector<std::string> genres = readIdList(path);
  ASSERT_GE(genres.size(), 148u) << path;
  int matched = 0;
  for (size_t i = 0; i < genres.size(); ++i) {
    const int32_t number = genreIdx(genres[i].c_str());
    // Names the library spells otherwise are not found; a name it knows
    // must be found at its own line, or the page stores another genre.
    if (number >= 0) {
      EXPECT_EQ(number, int32_t(i)) << genres[i];
      ++matched;
    }
  }
  EXPECT_GT(matched, 120);
  for (const char* list : {"tcon.id3", "tflt.id3", "tmed.id3"})
    EXPECT_FALSE(readIdList(idListPath(zvtest::rootDir(), "xx", list)).empty()) << list;
}

TEST(CdTrackList, editsMoveItemsAndMarkTheListDirty) {
  CdTrackList list;
  list.assign({{1, "One", 1000}, {2, "Two", 2000}, {3, "Three", 3000}});
  EXPECT_FALSE(list.dirty());
  EXPECT_EQ(list.moveUp(0), -1);
  EXPECT_EQ(list.moveDown(2), -1);
  EXPECT_FALSE(list.dirty());
  EXPECT_EQ(list.moveDown(0), 1);
  EXPECT_TRUE(list.dirty());
  auto numbers = [&] {
    std::string s;
    for (const auto& i : list.items()) s += std::to_string(i.track);
    return s;
  };
  EXPECT_EQ(numbers(), "213");
  EXPECT_EQ(list.moveTo(2, 0), 0);
  EXPECT_EQ(numbers(), "321");
  list.sortByName();
  EXPECT_EQ(numbers(), "132");
  list.sortByNumber();
  EXPECT_EQ(numbers(), "123");
  list.reverse();
  EXPECT_EQ(numbers(), "321");
  EXPECT_EQ(list.remove(2), 1);
  EXPECT_EQ(numbers(), "32");
  EXPECT_EQ(list.remove(5), -1);
  list.append({1, "One", 1000});
  EXPECT_EQ(numbers(), "321");
  std::mt19937 random(7);
  list.shuffle(random);
  EXPECT_EQ(list.size(), 3u);
  list.rename(2, "Deux");
  for (const auto& i : list.items())
    if (i.track == 2) {
      EXPECT_EQ(i.name, "Deux");
    }
}

TEST(CdTrackList, trackPathsAreReadBackAsTheirOwnDiscAndTrack) {
  const std::string path = zv::cddb::trackPath(0x8A09BC0B, 5);
  EXPECT_EQ(path, "CD:\\8A09BC0B\\track05.cda");
  uint32_t kind = 0, disc = 0;
  int32_t track = -1;
  ASSERT_TRUE(checkCDA(path.c_str(), &kind, nullptr, &disc, &track));
  EXPECT_EQ(kind, uint32_t(cdaKnownTrack));
  EXPECT_EQ(disc, 0x8A09BC0Bu);
  EXPECT_EQ(track, 4);
  EXPECT_EQ(zv::cddb::discPath(0xAB), "CD:\\000000AB.m3u");
  EXPECT_EQ(zv::cddb::formatTime(0), "");
  EXPECT_EQ(zv::cddb::formatTime(61500), "1:01");
  EXPECT_EQ(zv::cddb::formatTime(3723000), "1:02:03");
}

TEST(Picture, fitsTheBoxAtItsRealAspect) {
  int w = 0, h = 0;
  fitInto(200, 100, 64, 64, w, h);
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 32);
  fitInto(100, 400, 64, 64, w, h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 64);
  fitInto(20, 10, 64, 64, w, h);
  EXPECT_EQ(w, 20);
  EXPECT_EQ(h, 10);
  fitInto(5000, 1, 64, 64, w, h);
  EXPECT_EQ(w, 64);
  EXPECT_EQ(h, 1);
}

TEST(Picture, aPictureDecodesAndDamagedBytesGiveNothing) {
  const std::vector<uint8_t> bmp = bmpBytes(120, 60);
  DecodedPicture p;
  ASSERT_TRUE(decodePicture(bmp.data(), bmp.size(), 60, 60, p));
  EXPECT_EQ(p.width, 60);
  EXPECT_EQ(p.height, 30);
  EXPECT_EQ(p.sourceWidth, 120);
  EXPECT_EQ(p.bgra[size_t(15) * 60 + 30] & 0xFFFFFF, 0xC80000u);
  // Cut short, a wrong header, random bytes, nothing.
  std::vector<uint8_t> cut(bmp.begin(), bmp.begin() + 60);
  EXPECT_FALSE(decodePicture(cut.data(), cut.size(), 60, 60, p));
  std::vector<uint8_t> huge = bmp;
  const uint32_t side = 1u << 30;
  std::memcpy(&huge[18], &side, 4);
  EXPECT_FALSE(decodePicture(huge.data(), huge.size(), 60, 60, p));
  std::vector<uint8_t> noise(500);
  std::mt19937 random(3);
  for (auto& b : noise) b = uint8_t(random());
  EXPECT_FALSE(decodePicture(noise.data(), noise.size(), 60, 60, p));
  EXPECT_FALSE(decodePicture(nullptr, 0, 60, 60, p));
  EXPECT_TRUE(p.bgra.empty());
}
