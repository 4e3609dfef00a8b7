// Sorting, searching and the quick description through the exports: keys
// of every mode and option, reverse, shuffle, moving lines with their texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "files_fixture.h"
#include "testkit.h"
#include "zv_desc.h"

using pltest::OwnedPl;
using V = std::vector<std::string>;

namespace {

struct L {
  const char* name;
  const char* desc;
  uint32_t flags;
};

void fill(Playlist pl, std::initializer_list<L> lines) {
  for (const L& l : lines) {
    PlaylistLine r = {};
    r.flags = l.flags;
    plAddLine(pl, &r, l.name, l.desc, nullptr);
  }
}

// Names of the lines in the order the index gives after sorting.
V sortedNames(Playlist pl, int32_t mode) {
  std::vector<int32_t> index(size_t(plGetCount(pl)));
  std::iota(index.begin(), index.end(), 0);
  plSortIndex(pl, mode, index.data(), -1);
  V out;
  for (int32_t i : index) out.push_back(plGetName(pl, i));
  return out;
}

// An ID3v1 trailer after some audio bytes.
void writeTagged(const std::string& path, const char* title, const char* artist, const char* album,
                 const char* year, int track) {
  std::string bytes(300, 'a');
  std::string tag(128, '\0');
  std::memcpy(&tag[0], "TAG", 3);
  std::memcpy(&tag[3], title, std::strlen(title));
  std::memcpy(&tag[33], artist, std::strlen(artist));
  std::memcpy(&tag[63], album, std::strlen(album));
  std::memcpy(&tag[93], year, std::strlen(year));
  tag[126] = char(track);
  pltest::writeText(path, bytes + tag);
}

}  // namespace

TEST(PlaylistSort, keysOfTheNameAndDescModes) {
  OwnedPl pl;
  fill(pl, {{"C:\\z\\b.mp3", "2", 0}, {"C:\\a\\c.mp3", "1", 0}, {"C:\\y\\B.mp3", "1", 0}, {"D:\\a.mp3", "", 0}});
  EXPECT_EQ(sortedNames(pl, plSortFileName), (V{"D:\\a.mp3", "C:\\y\\B.mp3", "C:\\z\\b.mp3", "C:\\a\\c.mp3"}))
      << "file name, a blank, the desc; case ignored";
  EXPECT_EQ(sortedNames(pl, plSortFullName), (V{"C:\\a\\c.mp3", "C:\\y\\B.mp3", "C:\\z\\b.mp3", "D:\\a.mp3"}));
  // An empty desc gives the file name without its extension: "a" before "1"? No:
  // digits sort before letters, so "1", "1", "2", then "a".
  V byDesc = sortedNames(pl, plSortDesc);
  EXPECT_EQ(byDesc.back(), "D:\\a.mp3");
  EXPECT_EQ(byDesc[2], "C:\\z\\b.mp3");
}

TEST(PlaylistSort, kindGroupsAndLeadingNumbers) {
  OwnedPl pl;
  fill(pl, {{"C:\\c.m3u", "", lfPlaylist | lfGroup}, {"C:\\a", "", lfDirectory | lfGroup}, {"C:\\b.mp3", "", 0}});
  EXPECT_EQ(sortedNames(pl, plSortFilesFirst), (V{"C:\\b.mp3", "C:\\a", "C:\\c.m3u"}));
  EXPECT_EQ(sortedNames(pl, plSortDirsFirst), (V{"C:\\a", "C:\\c.m3u", "C:\\b.mp3"}));
  EXPECT_EQ(sortedNames(pl, plSortDirsFirst | plSortFilesFirst), (V{"C:\\a", "C:\\c.m3u", "C:\\b.mp3"}))
      << "directories first wins";

  OwnedPl nums;
  fill(nums, {{"x", "02 - Beta", 0}, {"y", "10 - Alpha", 0}, {"z", "3) Gamma", 0}, {"w", "Delta", 0}});
  EXPECT_EQ(sortedNames(nums, plSortDesc | plSortNoLeadingNumber), (V{"y", "x", "w", "z"}));
  EXPECT_EQ(sortedNames(nums, plSortDesc), (V{"x", "y", "z", "w"})) << "text order: 02 < 10 < 3) < Delta";
  // The number goes after the prefix: a file "5. b" and a folder "1 a".
  OwnedPl mixed;
  fill(mixed, {{"d", "1 a", lfDirectory}, {"f", "5. b", 0}, {"g", "9-.) c", 0}});
  EXPECT_EQ(sortedNames(mixed, plSortDesc | plSortFilesFirst | plSortNoLeadingNumber), (V{"f", "g", "d"}));
}

TEST(PlaylistSort, tagKeysComeFromTheFilesTrailer) {
  std::string d = zvtest::freshDir("tags");
  writeTagged(d + "\\1.mp3", "Zeta", "Bravo", "Mid", "1999", 2);
  writeTagged(d + "\\2.mp3", "  Alpha  ", "Charlie", "Low", "2005", 10);
  writeTagged(d + "\\3.mp3", "Mu", "  alpha", "High", "1970", 1);
  pltest::writeText(d + "\\4.mp3", "no tag here");
  OwnedPl pl;
  for (const char* n : {"1", "2", "3", "4"}) plAddLine(pl, nullptr, (d + "\\" + n + ".mp3").c_str(), n, nullptr);
  auto names = [&](int32_t mode) {
    V out;
    for (const std::string& s : sortedNames(pl, mode)) out.push_back(s.substr(d.size() + 1, 1));
    return out;
  };
  EXPECT_EQ(names(plSortTitle), (V{"4", "2", "3", "1"})) << "no tag: a blank and the desc, first";
  EXPECT_EQ(names(plSortArtist), (V{"4", "3", "1", "2"}));
  EXPECT_EQ(names(plSortAlbum), (V{"4", "3", "2", "1"}));
  EXPECT_EQ(names(plSortYear), (V{"4", "3", "1", "2"}));
  EXPECT_EQ(names(plSortTrack), (V{"4", "3", "2", "1"})) << "track numbers as text: 10 before 2";
}

TEST(PlaylistSort, reverseShuffleAndTinyInputs) {
  OwnedPl pl;
  fill(pl, {{"a", "", 0}, {"b", "", 0}, {"c", "", 0}, {"d", "", 0}, {"e", "", 0}});
  int32_t index[5] = {0, 1, 2, 3, 4};
  plSortIndex(pl, plSortReverse, index, 5);
  EXPECT_EQ(std::vector<int32_t>(index, index + 5), (std::vector<int32_t>{4, 3, 2, 1, 0}));
  plSortIndex(pl, plSortReverse, index, 4);
  EXPECT_EQ(std::vector<int32_t>(index, index + 5), (std::vector<int32_t>{1, 2, 3, 4, 0}));

  // Shuffling keeps every entry; over many rounds every entry reaches the front.
  std::vector<int32_t> seenFirst(5, 0);
  for (int round = 0; round < 200; ++round) {
    plSortIndex(pl, plSortShuffle, index, 5);
    std::vector<int32_t> sorted(index, index + 5);
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(sorted, (std::vector<int32_t>{0, 1, 2, 3, 4}));
    ++seenFirst[size_t(index[0])];
  }
  for (int32_t n : seenFirst) EXPECT_GT(n, 10);

  int32_t one[1] = {0};
  plSortIndex(pl, plSortReverse, one, 1);
  EXPECT_EQ(one[0], 0);
  plSortIndex(pl, plSortFileName, nullptr, 5);
  OwnedPl empty;
  plSort(empty, 0, -1, -1);
  EXPECT_EQ(plGetCount(empty), 0);
  // Index entries that name no line sort without harm.
  int32_t odd[4] = {3, 99, -5, 0};
  plSortIndex(pl, plSortFullName, odd, 4);
  std::vector<int32_t> got(odd, odd + 4);
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, (std::vector<int32_t>{-5, 0, 3, 99}));
}

TEST(PlaylistSort, plSortMovesRecordsAndTextsTogether) {
  OwnedPl pl;
  const char* names[] = {"q", "d", "c", "b", "a", "p"};
  for (int i = 0; i < 6; ++i) {
    PlaylistLine r = {};
    r.user = 100 + i;
    std::string n = names[i];
    plAddLine(pl, &r, n.c_str(), ("desc " + n).c_str(), ("info " + n).c_str());
  }
  plSort(pl, plSortFullName, 1, 4);
  V got;
  for (int i = 0; i < 6; ++i)
    got.push_back(std::string(plGetName(pl, i)) + "," + plGetDesc(pl, i) + "," + plGetInfo(pl, i) + "," +
                  std::to_string(plGetRec(pl, i)->user));
  EXPECT_EQ(got, (V{"q,desc q,info q,100", "a,desc a,info a,104", "b,desc b,info b,103", "c,desc c,info c,102",
                    "d,desc d,info d,101", "p,desc p,info p,105"}));
  plSort(pl, plSortFullName, -1, 3);
  EXPECT_STREQ(plGetName(pl, 0), "a");
  EXPECT_STREQ(plGetName(pl, 5), "q");
  plSort(pl, plSortReverse, 4, 2);  // an empty range
  EXPECT_STREQ(plGetName(pl, 0), "a");
}

TEST(PlaylistSort, findGivesTheRunOfEqualNames) {
  OwnedPl pl;
  fill(pl, {{"C:\\b", "", 0}, {"C:\\A", "", 0}, {"c:\\b", "", 0}, {"C:\\c", "", 0}, {"C:\\B", "", 0}, {"C:\\a", "", 0}});
  std::vector<int32_t> index(6);
  std::iota(index.begin(), index.end(), 0);
  plSortIndex(pl, plSortFullName, index.data(), -1);
  int32_t lo = 7, hi = 7;
  plFind(pl, "C:\\B", index.data(), &lo, &hi);
  EXPECT_EQ(lo, 2);
  EXPECT_EQ(hi, 4);
  plFind(pl, "c:\\a", index.data(), &lo, &hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 1);
  plFind(pl, "C:\\c", index.data(), &lo, &hi);
  EXPECT_EQ(lo, 5);
  EXPECT_EQ(hi, 5);
  plFind(pl, "C:\\bb", index.data(), &lo, &hi);
  EXPECT_EQ(lo, -1);
  EXPECT_EQ(hi, -1);
  lo = hi = 7;
  plFind(pl, "C:\\b", nullptr, &lo, &hi);
  EXPECT_EQ(lo, -1);
  EXPECT_EQ(hi, -1);
  OwnedPl empty;
  plFind(empty, "x", index.data(), &lo, &hi);
  EXPECT_EQ(lo, -1);
}

TEST(PlaylistSort, largeSortMatchesTheLocaleOrder) {
  OwnedPl pl;
  std::vector<std::string> names;
  uint32_t seed = 12345;
  for (int i = 0; i < 3000; ++i) {
    seed = seed * 1103515245 + 12345;
    std::string n = "C:\\m\\" + std::to_string(seed % 1000) + "x" + std::to_string(i % 7) + ".mp3";
    names.push_back(n);
    plAddLine(pl, nullptr, n.c_str(), nullptr, nullptr);
  }
  plSort(pl, plSortFullName, -1, -1);
  for (int32_t i = 1; i < plGetCount(pl); ++i) {
    std::string a = std::string(plGetName(pl, i - 1)) + " ", b = std::string(plGetName(pl, i)) + " ";
    CharLowerBuffA(a.data(), DWORD(a.size()));
    CharLowerBuffA(b.data(), DWORD(b.size()));
    ASSERT_LE(CompareStringA(LOCALE_USER_DEFAULT, 0, a.c_str(), -1, b.c_str(), -1), CSTR_EQUAL) << i;
  }
}

TEST(FastDesc, fileNameWithoutItsExtension) {
  const struct {
    const char* path;
    const char* out;
  } rows[] = {{"C:\\music\\Song.Name.mp3", "Song.Name"}, {"C:\\music\\noext", "noext"}, {"plain.wav", "plain"},
              {"C:\\dir.x\\", "C:\\dir.x\\"},  // nothing behind the last separator: the whole path, with no dot behind that separator
              {"CD:\\1A2B.m3u", "1A2B"}, {"", ""}};
  for (const auto& r : rows) {
    char out[256] = "junk";
    EXPECT_EQ(fastDesc(r.path, out), ZV_TRUE);
    EXPECT_STREQ(out, r.out) << r.path;
  }
  std::string longName = "C:\\" + std::string(400, 'n') + ".mp3";
  char out[300];
  std::memset(out, 'z', sizeof(out));
  fastDesc(longName.c_str(), out);
  EXPECT_EQ(std::strlen(out), 255u);
  EXPECT_EQ(out[256], 'z') << "256 bytes at most";
}

namespace {

// The sort procedure written out plainly: partition around the entry in the
// middle (followed as it moves), recurse into the left part, loop on the
// right one.
void referenceQuicksort(std::vector<int32_t>& index, const std::vector<std::string>& keys, int32_t l, int32_t r) {
  int32_t i = 0;
  do {
    i = l;
    int32_t j = r, p = (l + r) / 2;
    do {
      while (keys[size_t(index[size_t(i)])] < keys[size_t(index[size_t(p)])]) ++i;
      while (keys[size_t(index[size_t(j)])] > keys[size_t(index[size_t(p)])]) --j;
      if (i <= j) {
        std::swap(index[size_t(i)], index[size_t(j)]);
        if (p == i) p = j;
        else if (p == j) p = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (l < j) referenceQuicksort(index, keys, l, j);
    l = i;
  } while (i < r);
}

}  // namespace

TEST(PlaylistSort, equalKeysEndInTheOrderTheSortProcedureLeavesThem) {
  // Few distinct keys among many lines: most comparisons are between equal
  // keys, where any other quicksort (or a stable sort) leaves another order.
  for (int32_t count : {2, 3, 7, 64, 1000}) {
    SCOPED_TRACE(count);
    OwnedPl pl;
    std::vector<std::string> keys;
    uint32_t seed = 777u + uint32_t(count);
    for (int32_t i = 0; i < count; ++i) {
      seed = seed * 1103515245 + 12345;
      std::string key(1, char('a' + (seed >> 16) % 4));
      keys.push_back(key);
      std::string name = "C:\\m\\" + std::to_string(i) + ".mp3";
      plAddLine(pl, nullptr, name.c_str(), key.c_str(), nullptr);
    }
    const size_t n = static_cast<size_t>(count);
    std::vector<int32_t> index(n), expected(n);
    std::iota(index.begin(), index.end(), 0);
    std::iota(expected.begin(), expected.end(), 0);
    plSortIndex(pl, plSortDesc, index.data(), count);
    referenceQuicksort(expected, keys, 0, count - 1);
    EXPECT_EQ(index, expected);
    std::vector<int32_t> stable(n);
    std::iota(stable.begin(), stable.end(), 0);
    std::stable_sort(stable.begin(), stable.end(), [&](int32_t a, int32_t b) { return keys[a] < keys[b]; });
    if (count >= 64) {
      EXPECT_NE(index, stable) << "the case would not tell a stable sort from this one";
    }
  }
}
