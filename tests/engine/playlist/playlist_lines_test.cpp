// The playlist line interface through its exports: the four lists kept in
// step, absent texts, insert positions, copies within one playlist, marks.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "playlist/playlist_model.h"
#include "zv_memory.h"
#include "zv_playlist.h"

namespace {

PlaylistLine rec(int32_t level, uint32_t flags = 0, int32_t time = 0) {
  PlaylistLine r = {};
  r.flags = flags;
  r.level = level;
  r.time = time;
  return r;
}

// "name/desc/info@level" for every line.
std::vector<std::string> dump(Playlist pl) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < plGetCount(pl); ++i)
    out.push_back(std::string(plGetName(pl, i)) + "/" + plGetDesc(pl, i) + "/" + plGetInfo(pl, i) + "@" +
                  std::to_string(plGetRec(pl, i)->level));
  return out;
}

Playlist names(std::initializer_list<const char*> items, int32_t level = 0) {
  Playlist pl = createPlaylist(-1);
  for (const char* n : items) {
    PlaylistLine r = rec(level);
    plAddLine(pl, &r, n, (std::string("d") + n).c_str(), (std::string("i") + n).c_str());
  }
  return pl;
}

// The four lists of the handle must always agree.
void expectInStep(Playlist pl) {
  EXPECT_EQ(slCount(pl->names), aCount(pl->lines));
  EXPECT_EQ(slCount(pl->descs), aCount(pl->lines));
  EXPECT_EQ(slCount(pl->infos), aCount(pl->lines));
}

}  // namespace

TEST(PlaylistLines, newPlaylistIsEmptyAndTagged) {
  Playlist pl = createPlaylist(-1);
  ASSERT_NE(pl, nullptr);
  EXPECT_EQ(plGetCount(pl), 0);
  EXPECT_EQ(plFindMark(pl, 0), -1);
  EXPECT_STREQ(reinterpret_cast<const ZvBlockHeader*>(reinterpret_cast<char*>(pl) - sizeof(ZvBlockHeader))->tag,
               "Playlist");
  EXPECT_EQ(pl->lines->itemSize, 28);
  freePlaylist(pl);
}

TEST(PlaylistLines, addCopiesRecordAndTextsAndAbsentTextsReadEmpty) {
  Playlist pl = createPlaylist(-1);
  PlaylistLine r = rec(2, 0x4400, 1234);
  r.user = 77;
  char name[] = "C:\\music\\a.mp3";
  EXPECT_EQ(plAddLine(pl, &r, name, nullptr, "info"), 0);
  name[0] = 'D';
  r.level = 9;
  PlaylistLine* stored = nullptr;
  const char *n = nullptr, *d = nullptr, *i = nullptr;
  plGetLine(pl, 0, &stored, &n, &d, &i);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->level, 2);
  EXPECT_EQ(stored->flags, 0x4400u);
  EXPECT_EQ(stored->time, 1234);
  EXPECT_EQ(stored->user, 77);
  EXPECT_STREQ(n, "C:\\music\\a.mp3");
  ASSERT_NE(d, nullptr);
  EXPECT_STREQ(d, "");
  EXPECT_STREQ(i, "info");
  EXPECT_EQ(slGet(pl->descs, 0), nullptr);  // stored as absent, not as ""
  EXPECT_EQ(plAddLine(pl, nullptr, nullptr, nullptr, nullptr), 1);
  EXPECT_STREQ(plGetName(pl, 1), "");
  EXPECT_EQ(plGetRec(pl, 1)->flags, 0u);
  freePlaylist(pl);
}

TEST(PlaylistLines, insertOutsideTheRangeAppends) {
  Playlist pl = names({"a", "b"});
  PlaylistLine r = rec(0);
  EXPECT_EQ(plInsLine(pl, -1, &r, "c", "dc", "ic"), 2);
  EXPECT_EQ(plInsLine(pl, plGetCount(pl), &r, "d", "dd", "id"), 3);
  EXPECT_EQ(plInsLine(pl, 0, &r, "z", "dz", "iz"), 0);
  EXPECT_EQ(plInsLine(pl, 2, &r, "y", nullptr, "iy"), 2);
  EXPECT_EQ(dump(pl), (std::vector<std::string>{"z/dz/iz@0", "a/da/ia@0", "y//iy@0", "b/db/ib@0", "c/dc/ic@0",
                                                "d/dd/id@0"}));
  expectInStep(pl);
  freePlaylist(pl);
}

TEST(PlaylistLines, deleteAndSetKeepTheListsInStep) {
  Playlist pl = names({"a", "b", "c", "d"});
  plDelLine(pl, 1);
  plDelLine(pl, 7);  // out of range: nothing
  EXPECT_EQ(dump(pl), (std::vector<std::string>{"a/da/ia@0", "c/dc/ic@0", "d/dd/id@0"}));
  PlaylistLine r = rec(3);
  plSetLine(pl, 1, &r, "x", "dx", nullptr);
  plSetName(pl, 2, "renamed");
  plSetDesc(pl, 2, nullptr);
  plSetInfo(pl, 0, "new info");
  EXPECT_EQ(dump(pl), (std::vector<std::string>{"a/da/new info@0", "x/dx/@3", "renamed//id@0"}));
  r.level = 5;
  plSetRec(pl, 0, &r);
  EXPECT_EQ(plGetRec(pl, 0)->level, 5);
  plGetRec(pl, 0)->user = 8;  // records are changed in place through the pointer
  EXPECT_EQ(plGetRec(pl, 0)->user, 8);
  plDelRange(pl, 0, 2);
  EXPECT_EQ(dump(pl), (std::vector<std::string>{"renamed//id@0"}));
  expectInStep(pl);
  plClear(pl);
  EXPECT_EQ(plGetCount(pl), 0);
  expectInStep(pl);
  freePlaylist(pl);
}

TEST(PlaylistLines, copyIsExactAndIndependent) {
  Playlist src = names({"a", "b"});
  plSetDesc(src, 1, nullptr);
  Playlist dst = names({"old"});
  plCopy(dst, src);
  EXPECT_EQ(dump(dst), dump(src));
  EXPECT_EQ(slGet(dst->descs, 1), nullptr);
  plSetName(src, 0, "changed");
  EXPECT_STREQ(plGetName(dst, 0), "a");
  plCopy(dst, dst);
  EXPECT_EQ(dump(dst), (std::vector<std::string>{"a/da/ia@0", "b//ib@0"}));
  freePlaylist(src);
  freePlaylist(dst);
}

TEST(PlaylistLines, lineCopiesWithinOnePlaylistReadTheSourceBeforeWriting) {
  Playlist pl = names({"a", "b", "c"});
  // Texts long enough that storing the copy grows (moves) the storage the
  // source lives in.
  std::string big(30000, 'n');
  plSetName(pl, 2, big.c_str());
  plSetInfo(pl, 2, big.c_str());
  EXPECT_EQ(plAddFrom(pl, pl, 2), 3);
  EXPECT_EQ(plGetName(pl, 3), big);
  EXPECT_EQ(plGetInfo(pl, 3), big);
  EXPECT_EQ(plInsFrom(pl, 0, pl, 3), 0);  // the source moves to 4 on insertion
  EXPECT_EQ(plGetName(pl, 0), big);
  EXPECT_STREQ(plGetDesc(pl, 0), "dc");
  plSetFrom(pl, 1, pl, 0);
  EXPECT_EQ(plGetName(pl, 1), big);
  plSetFrom(pl, 2, pl, 2);  // onto itself
  EXPECT_STREQ(plGetName(pl, 2), "b");
  plSetName(pl, 2, plGetName(pl, 4));  // a text pointer from the same playlist
  EXPECT_EQ(plGetName(pl, 2), big);
  expectInStep(pl);
  freePlaylist(pl);
}

TEST(PlaylistLines, copiesAcrossPlaylistsKeepAbsentTexts) {
  Playlist src = createPlaylist(-1);
  PlaylistLine r = rec(1, 0x10, 5);
  plAddLine(src, &r, nullptr, "Heading", nullptr);
  Playlist dst = names({"x"});
  EXPECT_EQ(plInsFrom(dst, 0, src, 0), 0);
  EXPECT_EQ(slGet(dst->names, 0), nullptr);
  EXPECT_EQ(slGet(dst->infos, 0), nullptr);
  EXPECT_STREQ(plGetDesc(dst, 0), "Heading");
  EXPECT_EQ(plGetRec(dst, 0)->flags, 0x10u);
  plSetFrom(dst, 1, src, 0);
  EXPECT_EQ(slGet(dst->names, 1), nullptr);
  EXPECT_EQ(plAddFrom(dst, src, 5), -1);  // no such line
  EXPECT_EQ(plGetCount(dst), 2);
  freePlaylist(src);
  freePlaylist(dst);
}

TEST(PlaylistLines, marksFollowALine) {
  Playlist pl = names({"a", "b", "c"});
  PlaylistLine* r = plMarkLine(pl, 2, 1);
  ASSERT_EQ(r, plGetRec(pl, 2));
  EXPECT_EQ(r->mark, 1);
  EXPECT_EQ(plFindMark(pl, 1), 2);
  plDelLine(pl, 0);
  EXPECT_EQ(plFindMark(pl, 1), 1);
  plMarkLine(pl, 0, 1);
  EXPECT_EQ(plFindMark(pl, 1), 0);  // the first one
  plDelMarks(pl);
  EXPECT_EQ(plFindMark(pl, 1), -1);
  EXPECT_EQ(plFindMark(pl, 0), 0);
  EXPECT_EQ(plMarkLine(pl, 9, 1), nullptr);
  freePlaylist(pl);
}
