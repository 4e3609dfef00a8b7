// The cdaudio kind's answers for CD locations: file checks, discs as
// playlists, and saving a disc's play order.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cd_fixture.h"
#include "testkit.h"
#include "zv_cdaudio.h"
#include "zv_cddb.h"
#include "zv_memory.h"
#include "zv_playback.h"
#include "zv_playlist.h"
#include "zv_plugins.h"

using cdtest::InfoGuard;

namespace {

const ZvPluginRec& cdKind() {
  cdtest::ensurePlugins();
  const ZvPluginRec* kind = pluginInfoByName("cdaudio");
  EXPECT_NE(kind, nullptr);
  return *kind;
}

// A disc of three tracks: 0:02:00, 1:00:00 and 2:00:00, the lead-out at 3:00:00.
void storeDisc(uint32_t id, const char* title, std::vector<int32_t> order = {}) {
  InfoGuard g;
  g.info.trackCount = 3;
  g.info.frameOffsets[0] = 150;
  g.info.frameOffsets[1] = 4500;
  g.info.frameOffsets[2] = 9000;
  g.info.leadOut = 13500;
  g.info.discLengthSeconds = 180;
  std::strcpy(g.info.discTitle, title);
  g.info.trackTitles[0] = _stralloc("Opening");
  g.info.trackTitles[2] = _stralloc("Closing");
  g.info.playOrderCount = int32_t(order.size());
  for (size_t i = 0; i < order.size(); ++i) g.info.playOrder[i] = order[i];
  ASSERT_EQ(cddbSetInfo(id, &g.info), -1);
}

struct Check {
  int32_t result;
  std::vector<char> space = std::vector<char>(sizeof(ZvFileCheckRec));
  ZvFileCheckRec& rec() { return *reinterpret_cast<ZvFileCheckRec*>(space.data()); }
};

Check check(const char* path, uint32_t request) {
  Check c;
  c.rec().fileName = path;
  c.rec().request = request;
  c.result = cdKind().inCheckFile(&c.rec());
  return c;
}

TEST(CdCheckFile, answersTypeInfoAndLengthFromTheDatabase) {
  storeDisc(0x5B000001, "Checked / Disc");
  const uint32_t all = ZV_CHECK_PLAYABLE | ZV_CHECK_TYPE_NAME | ZV_CHECK_INFO_TEXT | ZV_CHECK_LENGTH;
  Check disc = check("CD:\\5B000001.m3u", all);
  ASSERT_EQ(disc.result, ZV_PLUGIN_DONE);
  EXPECT_STREQ(disc.rec().typeName, "Audio CD");
  EXPECT_STREQ(disc.rec().infoText, "\001CD information\nDisc ID: 5B000001");
  EXPECT_EQ(disc.rec().lengthMs, 178000u);  // the playing time, first track to lead-out
  EXPECT_EQ(disc.rec().cacheFlags & ZV_CHECK_NO_CACHE, uint32_t(ZV_CHECK_NO_CACHE));

  Check middle = check("CD:\\5b000001\\track02.cda", all);
  ASSERT_EQ(middle.result, ZV_PLUGIN_DONE);
  EXPECT_STREQ(middle.rec().typeName, "Audio CD track");
  EXPECT_EQ(middle.rec().lengthMs, 60000u);
  Check last = check("CD:\\5B000001\\Track03.cda", ZV_CHECK_LENGTH);
  EXPECT_EQ(last.rec().lengthMs, 60000u);  // up to the lead-out
  Check beyond = check("CD:\\5B000001\\track09.cda", ZV_CHECK_LENGTH);
  EXPECT_EQ(beyond.result, ZV_PLUGIN_DONE);
  EXPECT_EQ(beyond.rec().lengthMs, 0u);

  Check list = check("CD:\\*.m3u", ZV_CHECK_TYPE_NAME);
  EXPECT_STREQ(list.rec().typeName, "CD database");
  Check unknown = check("CD:\\5B0000FF.m3u", ZV_CHECK_LENGTH);
  EXPECT_EQ(unknown.result, ZV_PLUGIN_DONE);
  EXPECT_EQ(unknown.rec().lengthMs, 0u);
}

TEST(CdCheckFile, leavesOtherPathsToOthers) {
  for (const char* path : {"cd:\\1a2b.m3u", "Z:\\music\\track01.cda", "C:\\windows", ""})
    EXPECT_EQ(check(path, ZV_CHECK_TYPE_NAME).result, ZV_PLUGIN_NOT_MINE) << path;
}

struct PlaylistGuard {
  Playlist pl = createPlaylist(0);
  ~PlaylistGuard() { freePlaylist(pl); }
};

std::string nameAt(Playlist pl, int i) { return plGetName(pl, i); }
std::string descAt(Playlist pl, int i) { return plGetDesc(pl, i); }

TEST(CdPlaylists, aKnownDiscListsItsTracksInPlayOrder) {
  storeDisc(0x5B000002, "Ordered / Disc", {2, 7, 0});
  PlaylistGuard p;
  ASSERT_EQ(plLoad(p.pl, "CD:\\5B000002.m3u", 0), plResultOk);
  ASSERT_EQ(plGetCount(p.pl), 2);  // track 8 is not on the disc
  EXPECT_EQ(nameAt(p.pl, 0), "CD:\\5B000002\\track03.cda");
  EXPECT_EQ(descAt(p.pl, 0), "Closing");
  EXPECT_EQ(plGetRec(p.pl, 0)->time, 60000);
  EXPECT_EQ(plGetRec(p.pl, 0)->flags, 0x100u);
  EXPECT_EQ(nameAt(p.pl, 1), "CD:\\5B000002\\track01.cda");
  EXPECT_EQ(plGetRec(p.pl, 1)->time, 58000);

  storeDisc(0x5B000003, "Plain / Disc");
  ASSERT_EQ(plLoad(p.pl, "CD:\\5B000003.m3u", 0), plResultOk);
  ASSERT_EQ(plGetCount(p.pl), 3);
  EXPECT_EQ(descAt(p.pl, 1), "Track 2");  // no title of its own
  EXPECT_EQ(nameAt(p.pl, 2), "CD:\\5B000003\\track03.cda");

  ASSERT_EQ(plLoad(p.pl, "CD:\\5B0000FE.m3u", 0), plResultOk);
  EXPECT_EQ(plGetCount(p.pl), 0);  // an unknown disc has no lines
}

TEST(CdPlaylists, theDiscListHoldsEveryDatabaseFile) {
  storeDisc(0x5B000004, "Listed / Disc");
  zvtest::writeFile(cdtest::cddbFolder() + "\\garbage.cdb", "x", 1);
  CreateDirectoryA((cdtest::cddbFolder() + "\\folder.cdb").c_str(), nullptr);
  int files = 0;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((cdtest::cddbFolder() + "\\*.cdb").c_str(), &data);
  do files += (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
  while (FindNextFileA(find, &data));
  FindClose(find);

  PlaylistGuard p;
  ASSERT_EQ(plLoad(p.pl, "CD:\\*.m3u", 0), plResultOk);
  ASSERT_EQ(plGetCount(p.pl), files);
  int listed = -1, garbage = -1;
  for (int i = 0; i < plGetCount(p.pl); ++i) {
    if (nameAt(p.pl, i) == "CD:\\5B000004.m3u") listed = i;
    if (nameAt(p.pl, i) == "CD:\\garbage.m3u") garbage = i;
    EXPECT_EQ(plGetRec(p.pl, i)->flags, 0x2480u);
  }
  ASSERT_GE(listed, 0);
  EXPECT_EQ(descAt(p.pl, listed), "Listed / Disc");
  EXPECT_EQ(plGetRec(p.pl, listed)->time, 178000);
  ASSERT_GE(garbage, 0);
  EXPECT_EQ(descAt(p.pl, garbage), "Unknown");
  EXPECT_EQ(plGetRec(p.pl, garbage)->time, 0);
}

TEST(CdPlaylists, savingADiscStoresItsPlayOrderAndAnnouncesIt) {
  storeDisc(0x5B000005, "Saved / Disc");
  PlaylistGuard p;
  ASSERT_EQ(plLoad(p.pl, "CD:\\5B000005.m3u", 0), plResultOk);
  ASSERT_EQ(plGetCount(p.pl), 3);
  plDelLine(p.pl, 1);  // tracks 1 and 3 remain
  PlaylistLine line = {};
  plInsLine(p.pl, 0, &line, "CD:\\5B000005\\track02.cda", "", "");
  {
    cdtest::MessageCatcher changes({msgFileChanged});
    ASSERT_EQ(plSave(p.pl, "CD:\\5B000005.m3u", 0), plResultOk);
    auto seen = changes.take(msgFileChanged, 300);
    ASSERT_EQ(seen.size(), 1u);  // from the database, none from the save itself
    EXPECT_STREQ(seen[0].c_str(), "CD:\\5B000005.m3u");
  }
  InfoGuard g;
  ASSERT_EQ(cddbGetInfo(0x5B000005, &g.info), -1);
  ASSERT_EQ(g.info.playOrderCount, 3);
  EXPECT_EQ(g.info.playOrder[0], 1);
  EXPECT_EQ(g.info.playOrder[1], 0);
  EXPECT_EQ(g.info.playOrder[2], 2);
  EXPECT_EQ(g.info.revision, 2);

  ASSERT_EQ(plLoad(p.pl, "CD:\\5B000005.m3u", 0), plResultOk);
  plClear(p.pl);
  for (int t = 1; t <= 3; ++t) {
    std::string name = "CD:\\5B000005\\track0" + std::to_string(t) + ".cda";
    plAddLine(p.pl, &line, name.c_str(), "", "");
  }
  ASSERT_EQ(plSave(p.pl, "CD:\\5B000005.m3u", 0), plResultOk);
  InfoGuard back;
  ASSERT_EQ(cddbGetInfo(0x5B000005, &back.info), -1);
  EXPECT_EQ(back.info.playOrderCount, 0);  // the disc's own order needs no list
}

TEST(CdFsControl, answersTheCacheFolderAndRefusesTracksAsPlaylists) {
  cdtest::ensurePlugins();
  ZvFsRequest rec = {};
  rec.path = "CD:\\5B000006.m3u";
  rec.operation = ZV_FS_CACHE_DIR;
  ASSERT_EQ(fsControl(&rec), ZV_PLUGIN_DONE);
  EXPECT_EQ(lstrcmpiA(rec.cachePath, (cdtest::cddbFolder() + "\\audiocd\\5B000006").c_str()), 0) << rec.cachePath;
  PlaylistGuard p;
  ZvFsRequest load = {};
  load.path = "CD:\\5B000006\\track01.cda";
  load.operation = ZV_FS_LOAD_PLAYLIST;
  load.playlist = p.pl;
  EXPECT_EQ(cdKind().fsControl(&load), ZV_PLUGIN_NOT_MINE);
  load.path = "Z:\\not\\a\\disc.m3u";
  EXPECT_EQ(cdKind().fsControl(&load), ZV_PLUGIN_NOT_MINE);
  load.path = "CD:\\*.m3u";
  load.options = 0;
  EXPECT_EQ(cdKind().fsControl(&load), ZV_PLUGIN_DONE);
  EXPECT_EQ(load.options & plLoadNoCache, plLoadNoCache);  // a disc list is never cached
}

TEST(CddbChangeNotify, announcesTheDisc) {
  cdtest::ensurePlugins();
  cdtest::MessageCatcher changes({msgFileChanged});
  cddbChangeNotify(0x5B000007);
  auto seen = changes.take(msgFileChanged, 300);
  ASSERT_GE(seen.size(), 1u);
  EXPECT_STREQ(seen[0].c_str(), "CD:\\5B000007.m3u");
  EXPECT_EQ(seen[0].size(), 260u);
}

}  // namespace
