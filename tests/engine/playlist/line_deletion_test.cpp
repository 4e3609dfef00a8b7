// Deleting lines through plDelLine, plDelRange and plDelBranch, in every
// order and mixed with the other calls, leaves what deleting each line out
// of the four lists at once leaves (the containers' own single deletions,
// the rule before deletions were gathered): the same lines, the same texts
// read between the deletions, and byte for byte the same binary file.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "playlist/playlist_model.h"
#include "testkit.h"
#include "zv_containers.h"
#include "zv_playlist.h"

namespace {

// Lines with texts of many lengths (some absent, some long enough that a few
// deletions compact the storage), in groups of one head and up to six lines.
Playlist makeList(int32_t n) {
  Playlist pl = createPlaylist(-1);
  for (int32_t i = 0; i < n; ++i) {
    PlaylistLine r = {};
    r.level = i % 7 == 0 ? 0 : 1 + (i % 3 == 0);
    r.time = i;
    r.mark = i % 5;
    const std::string name = "C:\\Music\\" + std::string(size_t(i % 40), 'n') + std::to_string(i) + ".mp3";
    const std::string desc = "Title " + std::to_string(i) + std::string(size_t(i * 37 % 300), 'd');
    plAddLine(pl, &r, name.c_str(), i % 4 == 0 ? nullptr : desc.c_str(), i % 9 == 0 ? "" : "format=MP3");
  }
  return pl;
}

// One deletion both ways: `gathered` through the exports, `atOnce` line by
// line through the containers.
struct Step {
  enum Kind { Line, Range, Branch } kind;
  int32_t at;
  int32_t count;  // Range only
};

void deleteAtOnce(Playlist pl, int32_t i) {
  aDelete(pl->lines, i);
  slDelete(pl->names, i);
  slDelete(pl->descs, i);
  slDelete(pl->infos, i);
}

void apply(const Step& s, Playlist gathered, Playlist atOnce) {
  const int32_t n = aCount(atOnce->lines);
  if (s.at < 0 || s.at >= n) return;
  int32_t count = s.kind == Step::Line ? 1 : s.kind == Step::Range ? std::min(s.count, n - s.at) : plGetBranch(atOnce, s.at);
  switch (s.kind) {
    case Step::Line: plDelLine(gathered, s.at); break;
    case Step::Range: plDelRange(gathered, s.at, s.count); break;
    case Step::Branch: plDelBranch(gathered, s.at); break;
  }
  for (; count > 0; --count) deleteAtOnce(atOnce, s.at);
}

std::string lineText(Playlist pl, int32_t i) {
  PlaylistLine* r = nullptr;
  const char *name, *desc, *info;
  plGetLine(pl, i, &r, &name, &desc, &info);
  if (!r) return "-";
  return std::to_string(r->level) + "/" + std::to_string(r->time) + "/" + std::to_string(r->mark) + "|" + name +
         "|" + desc + "|" + info;
}

std::vector<uint8_t> savedBinary(Playlist pl, const std::string& file) {
  EXPECT_EQ(plSave(pl, file.c_str(), plSaveBinary | plSaveNoNotify), plResultOk);
  return zvtest::readFile(file);
}

using Sequence = std::function<std::vector<Step>(int32_t n)>;

struct Case {
  const char* what;
  Sequence steps;
  // Between the deletions: reads only (0), or every k-th step a call that
  // changes the playlist otherwise (k).
  int interleave;
};

std::vector<Step> everyOtherFromEnd(int32_t n) {
  std::vector<Step> s;
  for (int32_t i = n - 1; i >= 0; i -= 2) s.push_back({Step::Line, i, 1});
  return s;
}

std::vector<Step> everyOtherFromTop(int32_t n) {
  std::vector<Step> s;
  for (int32_t i = 0; i < n / 2; ++i) s.push_back({Step::Line, i, 1});
  return s;
}

std::vector<Step> randomMix(int32_t n) {
  std::mt19937 rng(20261207);
  std::vector<Step> s;
  int32_t left = n;
  while (left > n / 4) {
    const int32_t at = int32_t(rng() % uint32_t(left));
    const int kind = int(rng() % 6);
    if (kind < 3) {
      s.push_back({Step::Line, at, 1});
      --left;
    } else if (kind < 5) {
      const int32_t count = 1 + int32_t(rng() % 9);
      s.push_back({Step::Range, at, count});
      left -= std::min(count, left - at);
    } else {
      s.push_back({Step::Branch, at, 0});
      left -= 1;  // at least; the exact count does not matter here
    }
  }
  return s;
}

std::vector<Step> nearbyWalk(int32_t n) {
  // Deletions that wander around one place: before, inside and behind the
  // lines already deleted.
  std::vector<Step> s;
  int32_t at = n / 2;
  for (int32_t k = 0; k < n / 3; ++k) {
    s.push_back({k % 5 == 4 ? Step::Range : Step::Line, at, 3});
    at += (k % 3 == 0) ? -4 : (k % 3 == 1 ? 2 : 1);
    if (at < 0) at = n / 3;
  }
  return s;
}

std::vector<Step> branchesFromEnd(int32_t n) {
  std::vector<Step> s;
  for (int32_t i = n - 1; i >= 0; i -= 5) s.push_back({Step::Branch, i, 0});
  return s;
}

}  // namespace

TEST(LineDeletion, gatheredDeletionsLeaveWhatDeletingEachAtOnceLeaves) {
  const Case cases[] = {
      {"every other line from the end", everyOtherFromEnd, 0},
      {"every other line from the top", everyOtherFromTop, 0},
      {"random lines, ranges and branches", randomMix, 0},
      {"random, with other changes between", randomMix, 7},
      {"wandering around one place", nearbyWalk, 0},
      {"wandering, with other changes between", nearbyWalk, 5},
      {"branches from the end", branchesFromEnd, 0},
      {"branches from the end, with other changes between", branchesFromEnd, 3},
  };
  const std::string dir = zvtest::freshDir("line_deletion");
  for (const Case& c : cases) {
    for (int32_t n : {1, 2, 40, 3000}) {
      SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(n) + " lines");
      Playlist gathered = makeList(n), atOnce = makeList(n);
      std::mt19937 rng(n);
      size_t k = 0, readsDiffering = 0;
      for (const Step& s : c.steps(n)) {
        apply(s, gathered, atOnce);
        ++k;
        // Reads between deletions see the lines as they now are.
        ASSERT_EQ(plGetCount(gathered), aCount(atOnce->lines));
        const int32_t count = plGetCount(gathered);
        for (int32_t probe : {0, count - 1, count / 2, int32_t(rng() % uint32_t(count + 1)), count}) {
          readsDiffering += lineText(gathered, probe) != lineText(atOnce, probe);
          if (count > 0 && probe < count)
            readsDiffering += plGetBranch(gathered, probe) != plGetBranch(atOnce, probe);
        }
        if (c.interleave && k % size_t(c.interleave) == 0 && count > 0) {
          // A change of another kind: a text, a record, an inserted line.
          const int32_t at = int32_t(rng() % uint32_t(count));
          const std::string text = "changed " + std::to_string(k) + std::string(k % 50, 'x');
          for (Playlist pl : {gathered, atOnce}) {
            switch (k % 3) {
              case 0: plSetDesc(pl, at, text.c_str()); break;
              case 1: plGetRec(pl, at)->mark = int32_t(k); break;
              default: {
                PlaylistLine r = {};
                r.level = 1;
                plInsLine(pl, at, &r, text.c_str(), nullptr, "info");
              }
            }
          }
        }
      }
      EXPECT_EQ(readsDiffering, 0u);
      std::vector<std::string> a, b;
      for (int32_t i = 0; i < plGetCount(gathered); ++i) a.push_back(lineText(gathered, i));
      for (int32_t i = 0; i < aCount(atOnce->lines); ++i) b.push_back(lineText(atOnce, i));
      EXPECT_EQ(a, b);
      EXPECT_EQ(savedBinary(gathered, dir + "\\gathered.zpl"), savedBinary(atOnce, dir + "\\at_once.zpl"));
      EXPECT_EQ(plFindMark(gathered, 3), plFindMark(atOnce, 3));
      freePlaylist(gathered);
      freePlaylist(atOnce);
    }
  }
}

// Deleted lines that wait to be taken out are gone for every other call:
// copies, inserts, text changes, times, saving as text, clearing. Each call
// runs on a playlist thinned through plDelLine and on one thinned line by
// line at once, and must give the same.
TEST(LineDeletion, everyOtherCallSeesTheLinesGone) {
  const std::string dir = zvtest::freshDir("line_deletion_calls");
  auto thinned = [](bool atOnce) {
    Playlist pl = makeList(60);
    for (int32_t i = 59; i >= 0; i -= 3) atOnce ? deleteAtOnce(pl, i) : plDelLine(pl, i);
    atOnce ? deleteAtOnce(pl, 0) : plDelLine(pl, 0);
    return pl;
  };
  auto texts = [](Playlist pl) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < plGetCount(pl); ++i) out.push_back(lineText(pl, i));
    return out;
  };
  auto intoNew = [&](const std::function<void(Playlist dst, Playlist src)>& copy) {
    return [=](Playlist pl) {
      Playlist c = createPlaylist(-1);
      copy(c, pl);
      auto t = texts(c);
      freePlaylist(c);
      return t;
    };
  };
  int run = 0;
  struct Call {
    const char* what;
    std::function<std::vector<std::string>(Playlist)> result;
  };
  const Call calls[] = {
      {"plCopy", intoNew([](Playlist d, Playlist s) { plCopy(d, s); })},
      {"plAdd", intoNew([](Playlist d, Playlist s) { plAdd(d, s, 1); })},
      {"plAddBranch", intoNew([](Playlist d, Playlist s) { plAddBranch(d, s, 0, 0); })},
      {"plInsLine", [&](Playlist pl) { plInsLine(pl, 5, nullptr, "new", nullptr, nullptr); return texts(pl); }},
      {"plSetName", [&](Playlist pl) { plSetName(pl, 3, "a longer name than the one before"); return texts(pl); }},
      {"plCalcTimes", [&](Playlist pl) { plCalcTimes(pl); return texts(pl); }},
      {"plSave as text", [&](Playlist pl) {
         const std::string file = dir + "\\saved" + std::to_string(run++) + ".m3u";
         plSave(pl, file.c_str(), plSaveNoNotify);
         std::vector<uint8_t> bytes = zvtest::readFile(file);
         return std::vector<std::string>{std::string(bytes.begin(), bytes.end())};
       }},
      {"plClear", [&](Playlist pl) { plClear(pl); return std::vector<std::string>{std::to_string(plGetCount(pl))}; }},
  };
  for (const Call& c : calls) {
    Playlist gathered = thinned(false), atOnce = thinned(true);
    const std::vector<std::string> got = c.result(gathered), want = c.result(atOnce);
    EXPECT_FALSE(want.empty()) << c.what;
    EXPECT_EQ(got, want) << c.what;
    freePlaylist(gathered);
    freePlaylist(atOnce);
  }
}
