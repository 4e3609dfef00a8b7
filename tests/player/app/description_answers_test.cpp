// Answers of the file scanner written into playlists: an answer to a request
// only into its line while that line still names the file; news about a
// file into every line that names it, whatever its case.
#include <gtest/gtest.h>

#include <cstring>

#include "descriptions/description_answers.h"
#include "player_fixture.h"

using namespace ptest;

namespace {

ZvQueryResult answer(const char* path, int32_t line, const char* description) {
  ZvQueryResult r{};
  std::strncpy(r.path, path, sizeof(r.path) - 1);
  std::strncpy(r.description, description, sizeof(r.description) - 1);
  r.tag = line < 0 ? -1 : 5;
  r.line = line;
  r.sizeKb = -1;
  return r;
}

}  // namespace

TEST(DescriptionAnswers, anAnswerTakesItsLineOnlyWhileTheLineNamesTheFile) {
  ensureEngine();
  OwnedPl pl;
  fill(pl, {"G c:\\m@0", "c:\\m\\a.mp3@1", "c:\\m\\b.mp3@1"});
  ZvQueryResult r = answer("C:\\M\\A.MP3", 1, "Artist - Song");
  r.lengthMs = 61000;
  r.sizeKb = 900;
  std::strcpy(r.info, "bitrate=128");
  EXPECT_EQ(zv::applyDescriptionAnswer(pl, r), std::vector<int32_t>{1});
  EXPECT_STREQ(plGetDesc(pl, 1), "Artist - Song");
  EXPECT_STREQ(plGetInfo(pl, 1), "bitrate=128");
  EXPECT_EQ(plGetRec(pl, 1)->time, 61000);
  EXPECT_EQ(plGetRec(pl, 1)->size, 900);

  // The lines moved while the scanner worked: line 2 names another file.
  const ZvQueryResult late = answer("c:\\m\\a.mp3", 2, "Stale");
  EXPECT_TRUE(zv::applyDescriptionAnswer(pl, late).empty());
  EXPECT_STREQ(plGetDesc(pl, 2), "");
  EXPECT_TRUE(zv::applyDescriptionAnswer(pl, answer("c:\\m\\a.mp3", 3, "Past the end")).empty());
}

TEST(DescriptionAnswers, newsAboutAFileReachesEveryLineNamingIt_andKeepsWhatItDoesNotCarry) {
  ensureEngine();
  OwnedPl pl;
  fill(pl, {"G c:\\m@0", "c:\\m\\a.mp3@1", "c:\\m\\b.mp3@1", "C:\\m\\A.mp3@0"});
  ZvQueryResult first = answer("c:\\m\\a.mp3", 1, "Old title");
  first.lengthMs = 5000;
  zv::applyDescriptionAnswer(pl, first);

  // A description typed for the file: sent to all without a line, no length.
  const ZvQueryResult news = answer("c:\\m\\a.mp3", -1, "Typed title");
  EXPECT_TRUE(zv::isFileNews(news));
  EXPECT_EQ(zv::applyDescriptionAnswer(pl, news), (std::vector<int32_t>{1, 3}));
  EXPECT_STREQ(plGetDesc(pl, 1), "Typed title");
  EXPECT_STREQ(plGetDesc(pl, 3), "Typed title");
  EXPECT_EQ(plGetRec(pl, 1)->time, 5000) << "a length the news does not carry stays";
  EXPECT_STREQ(plGetDesc(pl, 2), "");
  EXPECT_STREQ(plGetDesc(pl, 0), "");

  // The end marker of a batch names no file and writes nothing.
  const ZvQueryResult end = answer("", 0, "");
  EXPECT_FALSE(zv::isFileNews(end));
  EXPECT_TRUE(zv::applyDescriptionAnswer(pl, end).empty());
  EXPECT_TRUE(zv::applyDescriptionAnswer(nullptr, news).empty());
}
