// Per-line cost of building, copying and thinning out playlists at 10 000
// and 100 000 lines. A cost that stays flat between the two sizes is linear.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "benchkit.h"
#include "playlist/playlist_model.h"
#include "zv_containers.h"
#include "zv_playlist.h"

namespace {

struct Texts {
  std::vector<std::string> name, desc, info;
};

// Realistic lengths: a path of ~60 bytes, a title of ~40, a tag text of ~150.
Texts makeTexts(int n) {
  Texts t;
  for (int i = 0; i < n; ++i) {
    t.name.push_back("D:\\Music\\Some Artist\\Some Album (1999)\\" + std::to_string(i % 20) + " - Track " +
                     std::to_string(i) + ".mp3");
    t.desc.push_back("Some Artist - Track number " + std::to_string(i) + " (live)");
    t.info.push_back("format=MPEG 1 Layer 3\nbitrate=192 kbit/s\nfrequency=44100 Hz\nchannels=joint stereo\n"
                     "artist=Some Artist\nalbum=Some Album\nyear=1999\ntrack=" +
                     std::to_string(i % 20));
  }
  return t;
}

Playlist build(const Texts& t, int n) {
  Playlist pl = createPlaylist(-1);
  PlaylistLine r = {};
  for (int i = 0; i < n; ++i) {
    r.time = i;
    plAddLine(pl, &r, t.name[i].c_str(), t.desc[i].c_str(), t.info[i].c_str());
  }
  return pl;
}

void run(const Texts& t, int n) {
  std::string size = std::to_string(n);
  double t0 = zvbench::now();
  Playlist pl = build(t, n);
  double t1 = zvbench::now();
  Playlist copy = createPlaylist(-1);
  plCopy(copy, pl);
  double t2 = zvbench::now();
  for (int i = plGetCount(copy) - 1; i >= 0; i -= 2) plDelLine(copy, i);
  double t3 = zvbench::now();
  // The same thinning as one pass that keeps every other line.
  Playlist kept = createPlaylist(-1);
  for (int i = 0; i < n; i += 2) plAddFrom(kept, pl, i);
  double t4 = zvbench::now();
  zvbench::report("plAddLine, " + size + " lines", (t1 - t0) / n * 1e6, "us/line");
  zvbench::report("plCopy, " + size + " lines", (t2 - t1) / n * 1e6, "us/line");
  zvbench::report("plDelLine of every other line, " + size + " lines", (t3 - t2) / (n / 2) * 1e6, "us/line");
  zvbench::report("plAddFrom of every other line, " + size + " lines", (t4 - t3) / (n / 2) * 1e6, "us/line");
  if (plGetCount(copy) != n / 2 || plGetCount(kept) != n / 2) std::printf("line counts wrong\n");
  freePlaylist(pl);
  freePlaylist(copy);
  freePlaylist(kept);
}

// A grouped playlist: every eleventh line a group at level 0, the ten
// after it its files at level 1.
Playlist buildGrouped(const Texts& t, int n) {
  Playlist pl = createPlaylist(-1);
  for (int i = 0; i < n; ++i) {
    PlaylistLine r = {};
    bool group = i % 11 == 0;
    r.flags = group ? lfGroup | lfDirectory : 0;
    r.level = group ? 0 : 1;
    r.time = group ? 0 : 1000 + i % 300000;
    r.size = group ? 0 : 4000000;
    size_t k = size_t(i) % t.name.size();
    plAddLine(pl, &r, t.name[k].c_str(), t.desc[k].c_str(), t.info[k].c_str());
  }
  return pl;
}

using PlaylistWork = std::function<void(Playlist)>;

// Seconds of `body` on a playlist of n lines (after `prepare`, untimed),
// best of two.
double secondsAt(const Texts& t, int n, const PlaylistWork& prepare, const PlaylistWork& body) {
  Playlist pl = buildGrouped(t, n);
  if (prepare) prepare(pl);
  double best = 1e9;
  for (int round = 0; round < 2; ++round) {
    double t0 = zvbench::now();
    body(pl);
    best = std::min(best, zvbench::now() - t0);
  }
  freePlaylist(pl);
  return best;
}

// A figure at `large` lines with the ratio of its cost per line to the
// same work at a tenth of the size: 1.0 is linear growth.
void scaleFigure(const Texts& t, const std::string& what, int large, const PlaylistWork& prepare,
                 const PlaylistWork& body) {
  double small = secondsAt(t, large / 10, prepare, body), big = secondsAt(t, large, prepare, body);
  zvbench::report(what + ", " + std::to_string(large) + " lines", big * 1000, "ms");
  zvbench::report(what + ", per line / per line at 1/10", (big / large) / (small / (large / 10)), "x");
}

// Deletions as they were before: every deletion taken out of the four lists
// at once, so each one moved the whole tail. A line through the containers'
// own single deletions; a branch in one range deletion, which is what
// plDelBranch now does when a call that changes a text comes right after it.
void deleteLineAtOnce(Playlist pl, int32_t i) {
  aDelete(pl->lines, i);
  slDelete(pl->names, i);
  slDelete(pl->descs, i);
  slDelete(pl->infos, i);
}

void deleteBranchAtOnce(Playlist pl, int32_t i) {
  plDelBranch(pl, i);
  if (plGetCount(pl) > 0) plSetName(pl, 0, std::string(plGetName(pl, 0)).c_str());
}

bool sameLines(Playlist a, Playlist b) {
  if (plGetCount(a) != plGetCount(b)) return false;
  for (int32_t i = 0; i < plGetCount(a); ++i) {
    PlaylistLine *ra = nullptr, *rb = nullptr;
    const char *na, *nb, *da, *db, *ia, *ib;
    plGetLine(a, i, &ra, &na, &da, &ia);
    plGetLine(b, i, &rb, &nb, &db, &ib);
    if (std::memcmp(ra, rb, sizeof(PlaylistLine)) || std::strcmp(na, nb) || std::strcmp(da, db) ||
        std::strcmp(ia, ib))
      return false;
  }
  return true;
}

// One way of deleting many lines, before (each deletion out at once) and
// now (plDelLine, plDelBranch), on copies of the same grouped playlist; the
// clock stops after a call that needs the lines really gone (plFindMark).
struct DeleteCase {
  std::string what;
  PlaylistWork prepare;
  std::function<void(Playlist, bool before)> body;
};

void deletionFigures(const Texts& t, int n, const DeleteCase& c) {
  Playlist source = buildGrouped(t, n);
  if (c.prepare) c.prepare(source);
  double seconds[2] = {0, 0};
  Playlist result[2] = {createPlaylist(-1), createPlaylist(-1)};
  for (int before = 1; before >= 0; --before) {
    plCopy(result[before], source);
    double t0 = zvbench::now();
    c.body(result[before], before != 0);
    plFindMark(result[before], -7);
    seconds[before] = zvbench::now() - t0;
  }
  const std::string at = c.what + ", " + std::to_string(n) + " lines";
  zvbench::report(at + ", before", seconds[1] * 1000, "ms");
  zvbench::report(at + ", now", seconds[0] * 1000, "ms");
  if (!sameLines(result[0], result[1])) std::printf("%s: the two ways leave different lines\n", at.c_str());
  for (Playlist p : {source, result[0], result[1]}) freePlaylist(p);
}

void deletions(const Texts& t) {
  const DeleteCase cases[] = {
      {"plDelLine of every other line from the end", nullptr,
       [](Playlist pl, bool before) {
         for (int32_t i = plGetCount(pl) - 1; i >= 0; i -= 2) before ? deleteLineAtOnce(pl, i) : plDelLine(pl, i);
       }},
      {"plDelLine of every other line from the top", nullptr,
       [](Playlist pl, bool before) {
         for (int32_t i = 0; i < plGetCount(pl); ++i) before ? deleteLineAtOnce(pl, i) : plDelLine(pl, i);
       }},
      {"plDelBranch of every other group from the end", nullptr,
       [](Playlist pl, bool before) {
         std::vector<int32_t> heads;
         for (int32_t i = 0; i < plGetCount(pl); i += plGetBranch(pl, i)) heads.push_back(i);
         for (size_t k = heads.size(); k-- > 0;)
           if (k % 2 == 0) before ? deleteBranchAtOnce(pl, heads[k]) : plDelBranch(pl, heads[k]);
       }},
      {"plDelBranch of one branch of half the lines",
       [](Playlist pl) {
         // The group head at a quarter takes in the half of the list behind it.
         const int32_t head = plGetCount(pl) / 4 / 11 * 11;
         for (int32_t i = head + 1; i < head + 1 + plGetCount(pl) / 2; ++i) plGetRec(pl, i)->level = 1;
       },
       [](Playlist pl, bool before) {
         const int32_t head = plGetCount(pl) / 4 / 11 * 11;
         before ? deleteBranchAtOnce(pl, head) : plDelBranch(pl, head);
       }},
  };
  for (const DeleteCase& c : cases) {
    deletionFigures(t, 10000, c);
    deletionFigures(t, 100000, c);
  }
}

}  // namespace

int main() {
  Texts t = makeTexts(100000);
  run(t, 10000);  // warm-up of the allocator
  run(t, 10000);
  run(t, 100000);
  deletions(t);

  std::string binary = zvbench::workDir() + "\\scale.zpl";
  auto save = [&](Playlist pl) { plSave(pl, binary.c_str(), plSaveBinary); };
  scaleFigure(t, "binary plSave", 1000000, nullptr, save);
  scaleFigure(t, "binary plLoad", 1000000, save, [&](Playlist) {
    Playlist back = createPlaylist(-1);
    plLoad(back, binary.c_str(), plLoadBinary);
    freePlaylist(back);
  });
  scaleFigure(t, "plCalcTimes", 100000, nullptr, [](Playlist pl) { plCalcTimes(pl); });
  return 0;
}
