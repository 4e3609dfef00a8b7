// Adding locations with real folders and playlists: groups, contents only,
// self-including playlists, grouped playlists, reloading and deleting.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "files_fixture.h"
#include "testkit.h"

using pltest::dump;
using pltest::OwnedPl;
using V = std::vector<std::string>;

TEST(PlaylistAdd, directoryBecomesAGroupAndEmptyGroupsVanish) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("dir");
  pltest::makeTree(d, {"a.mp3", "b.mp3", "empty\\", "deep\\", "deep\\hollow\\", "deep\\e.m3u"});
  pltest::writeText(d + "\\deep\\e.m3u", "#nothing\r\n");
  OwnedPl pl;
  plAddFile(pl, d.c_str(), 0);
  EXPECT_EQ(dump(pl, true), (V{d + "@0#408", d + "\\a.mp3@1#0", d + "\\b.mp3@1#0"}));
  OwnedPl only;
  plAddFile(only, d.c_str(), plAddContentsOnly);
  EXPECT_EQ(dump(only), (V{d + "\\a.mp3@0", d + "\\b.mp3@0"}));
  OwnedPl file;
  plAddFile(file, (d + "\\a.mp3").c_str(), plAddContentsOnly);
  EXPECT_EQ(plGetCount(file), 0) << "a plain file has no contents";
  plAddFile(file, (d + "\\a.mp3").c_str(), 0);
  plAddFile(file, (d + "\\missing.mp3").c_str(), 0);
  EXPECT_EQ(dump(file, true), (V{d + "\\a.mp3@0#0", d + "\\missing.mp3@0#800"}));
  plAddFile(file, (d + "\\empty").c_str(), 0);
  EXPECT_EQ(plGetCount(file), 2);
}

TEST(PlaylistAdd, selfIncludingPlaylistsEndAndFoldersMayRepeatInTwoBranches) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("self");
  pltest::makeTree(d, {"x.mp3", "music\\", "music\\m.mp3"});
  pltest::writeText(d + "\\self.m3u", "x.mp3\r\nself.m3u\r\nmusic\r\nother.m3u\r\n");
  pltest::writeText(d + "\\other.m3u", "self.m3u\r\nmusic\r\n");
  OwnedPl pl;
  plAddFile(pl, (d + "\\self.m3u").c_str(), 0);
  EXPECT_EQ(dump(pl), (V{d + "\\self.m3u@0", d + "\\x.mp3@1", d + "\\music@1", d + "\\music\\m.mp3@2",
                         d + "\\other.m3u@1", d + "\\music@2", d + "\\music\\m.mp3@3"}));
}

TEST(PlaylistAdd, groupedPlaylistKeepsItsLevelsAndIsNotExpanded) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("grouped");
  pltest::makeTree(d, {"sub\\", "sub\\s.mp3", "a.mp3"});
  pltest::writeText(d + "\\g.z3u", "0:>Side A\r\n1:a.mp3\r\n1:sub\r\n0:>Empty heading\r\n");
  OwnedPl pl;
  plAddFile(pl, (d + "\\g.z3u").c_str(), 0);
  EXPECT_EQ(dump(pl, true), (V{d + "\\g.z3u@0#10404", ">Side A@1#8410", d + "\\a.mp3@2#c000",
                               d + "\\sub@2#c408", ">Empty heading@1#8410"}));
}

TEST(PlaylistAdd, insertShiftsAndReloadReplacesEveryBranch) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("insert");
  pltest::makeTree(d, {"f\\", "f\\1.mp3"});
  OwnedPl pl;
  for (int i = 0; i < 6; ++i) plAddLine(pl, nullptr, ("L" + std::to_string(i)).c_str(), nullptr, nullptr);
  std::string f = d + "\\f";
  plInsFile(pl, 5, f.c_str(), 0, 2);
  EXPECT_EQ(dump(pl), (V{"L0@0", "L1@0", "L2@0", "L3@0", "L4@0", f + "@2", f + "\\1.mp3@3", "L5@0"}));

  // Two branches of the same folder, one nested deeper; the folder grew.
  plInsFile(pl, 1, f.c_str(), 0, 0);
  pltest::makeTree(f, {"2.mp3"});
  std::string upper = f;
  CharUpperBuffA(upper.data(), DWORD(upper.size()));
  plReloadFile(pl, upper.c_str());
  EXPECT_EQ(dump(pl), (V{"L0@0", upper + "@0", upper + "\\1.mp3@1", upper + "\\2.mp3@1", "L1@0", "L2@0", "L3@0", "L4@0",
                         upper + "@2", upper + "\\1.mp3@3", upper + "\\2.mp3@3", "L5@0"}))
      << "each branch now holds the one fresh expansion of the location as given, under its head's level";
  // Reloading one branch; then the folder empties and reloading removes it.
  DeleteFileA((f + "\\2.mp3").c_str());
  plReloadBranch(pl, 1);
  EXPECT_EQ(plGetCount(pl), 11);
  DeleteFileA((f + "\\1.mp3").c_str());
  plReloadFile(pl, f.c_str());
  EXPECT_EQ(dump(pl), (V{"L0@0", "L1@0", "L2@0", "L3@0", "L4@0", "L5@0"}));
  plReloadBranch(pl, 99);
  EXPECT_EQ(plGetCount(pl), 6);
}

TEST(PlaylistAdd, deleteRemovesEveryBranchOfALocation) {
  OwnedPl pl;
  PlaylistLine r = {};
  plAddLine(pl, &r, "C:\\p.m3u", nullptr, nullptr);
  plAddLine(pl, &r, "c:\\P.M3U", nullptr, nullptr);
  r.level = 1;
  plAddLine(pl, &r, "C:\\in.mp3", nullptr, nullptr);
  r.level = 0;
  plAddLine(pl, &r, "C:\\keep.mp3", nullptr, nullptr);
  r.level = 1;
  plAddLine(pl, &r, "C:\\p.m3u", nullptr, nullptr);
  r.level = 2;
  plAddLine(pl, &r, "C:\\under.mp3", nullptr, nullptr);
  plDelFile(pl, "C:\\P.m3u");
  EXPECT_EQ(dump(pl), (V{"C:\\keep.mp3@0"}));
  plAddLine(pl, nullptr, "C:\\x", nullptr, nullptr);
  plDelBranch(pl, 0);
  plDelBranch(pl, 5);
  EXPECT_EQ(dump(pl), (V{"C:\\x@0"}));
}

// Three levels of playlists with 200 files, one of them listed twice: the
// bound on the work of one add leaves a real collection whole.
TEST(PlaylistAdd, nestedPlaylistsOfHundredsOfFilesAreExpandedWhole) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("nested");
  V expected = {d + "\\top.m3u@0"};
  std::string top;
  V midBranch0;
  for (int i = 0; i < 4; ++i) {
    const std::string mid = "mid" + std::to_string(i) + ".m3u";
    top += mid + "\r\n";
    V branch = {d + "\\" + mid + "@1"};
    std::string midText;
    for (int j = 0; j < 5; ++j) {
      const std::string low = "low" + std::to_string(i) + std::to_string(j) + ".m3u";
      midText += low + "\r\n";
      branch.push_back(d + "\\" + low + "@2");
      std::string lowText;
      for (int k = 0; k < 10; ++k) {
        const std::string file = "f" + std::to_string(i) + std::to_string(j) + std::to_string(k) + ".mp3";
        lowText += file + "\r\n";
        pltest::writeText(d + "\\" + file, "");
        branch.push_back(d + "\\" + file + "@3");
      }
      pltest::writeText(d + "\\" + low, lowText);
    }
    pltest::writeText(d + "\\" + mid, midText);
    if (i == 0) midBranch0 = branch;
    expected.insert(expected.end(), branch.begin(), branch.end());
  }
  top += "mid0.m3u\r\n";  // listed again: expanded again
  expected.insert(expected.end(), midBranch0.begin(), midBranch0.end());
  pltest::writeText(d + "\\top.m3u", top);
  OwnedPl pl;
  plAddFile(pl, (d + "\\top.m3u").c_str(), 0);
  EXPECT_EQ(dump(pl), expected);
  EXPECT_EQ(plGetCount(pl), 1 + 4 * (1 + 5 * 11) + (1 + 5 * 11));
}

// A playlist listed twice in one add is read once; the next add reads it
// again, so an edit in between shows.
TEST(PlaylistAdd, aPlaylistListedTwiceGivesTheSameLinesAndTheNextAddReadsItAgain) {
  pltest::ensureEngine();
  std::string d = zvtest::freshDir("twice");
  pltest::writeText(d + "\\top.m3u", "part.m3u\r\npart.m3u\r\n");
  pltest::writeText(d + "\\part.m3u", "x.mp3\r\n");
  OwnedPl first;
  plAddFile(first, (d + "\\top.m3u").c_str(), 0);
  EXPECT_EQ(dump(first), (V{d + "\\top.m3u@0", d + "\\part.m3u@1", d + "\\x.mp3@2", d + "\\part.m3u@1",
                            d + "\\x.mp3@2"}));
  pltest::writeText(d + "\\part.m3u", "y.mp3\r\nz.mp3\r\n");
  OwnedPl second;
  plAddFile(second, (d + "\\top.m3u").c_str(), 0);
  EXPECT_EQ(dump(second), (V{d + "\\top.m3u@0", d + "\\part.m3u@1", d + "\\y.mp3@2", d + "\\z.mp3@2",
                             d + "\\part.m3u@1", d + "\\y.mp3@2", d + "\\z.mp3@2"}));
}
