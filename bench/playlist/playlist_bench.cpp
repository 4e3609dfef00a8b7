// Per-line cost of building, copying and thinning out playlists at 10 000
// and 100 000 lines. A cost that stays flat between the two sizes is linear.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "benchkit.h"
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

}  // namespace

int main() {
  Texts t = makeTexts(100000);
  run(t, 10000);  // warm-up of the allocator
  run(t, 10000);
  run(t, 100000);

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
