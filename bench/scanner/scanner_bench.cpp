// The file scanner's throughput on 2 000 tagged files in 40 folders, cold
// (tags read, cache records written) and warm (cache records valid), beside
// a loop that only reads the same tags through zvid3 in this process; the
// cost of one warm desc call; and the scale figure: 20 000 files in 1 000
// folders cold and warm against 2 000 in 100, per file (smaller stand-in
// audio there, to spare the disk).
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "benchkit.h"
#include "zv_desc.h"
#include "zv_memory.h"
#include "zv_plugins.h"
#include "zvid3.h"

namespace {

constexpr int kFolders = 40;
constexpr int kFilesPerFolder = 50;

using zvbench::removeTree;

// One tagged template (ID3v2 and ID3v1, 64 KiB of stand-in audio), copied
// under every name.
std::vector<std::string> makeFiles(const std::string& root, int folders = kFolders,
                                   int filesPerFolder = kFilesPerFolder, size_t audioBytes = 65536) {
  removeTree(root);
  CreateDirectoryA(root.c_str(), nullptr);
  std::string templ = root + "\\template.mp3";
  std::string audio(audioBytes, '\x55');
  zvbench::writeFile(templ, audio.data(), audio.size());
  ZvId3v2Tag tag = id3v2Create();
  const char* frames[][2] = {{"tit2", "A Title"}, {"tpe1", "An Artist"}, {"talb", "An Album"},
                             {"tyer", "2001"},    {"trck", "7"}};
  for (auto& fr : frames) id3v2SetStringField(id3v2AddFrame(tag, fr[0]), "content", fr[1]);
  id3v2Save(tag, templ.c_str(), 0, nullptr);
  id3v2Free(tag);
  ZvId3v1Tag v1;
  encodeTag(&v1, "A Title", "An Artist", "An Album", "2001", "", 7, ZV_ID3_GENRE_NONE);
  writeTag(templ.c_str(), &v1);

  std::vector<std::string> files;
  for (int d = 0; d < folders; ++d) {
    std::string dir = root + "\\folder" + std::to_string(d);
    CreateDirectoryA(dir.c_str(), nullptr);
    for (int i = 0; i < filesPerFolder; ++i) {
      files.push_back(dir + "\\track" + std::to_string(i) + ".mp3");
      CopyFileA(templ.c_str(), files.back().c_str(), FALSE);
    }
  }
  return files;
}

// Queues the files and an end marker to this thread, a thousand at a time
// (the answers wait in this thread's message queue, which holds 10 000);
// seconds until the last marker arrived. `described` counts answers whose
// description came from the tags.
double scanAll(const std::vector<std::string>& files, int* described) {
  constexpr size_t kBatch = 1000;
  ZvTarget me = GetCurrentThreadId();
  *described = 0;
  std::vector<uint8_t> block(8192);
  double t0 = zvbench::now();
  for (size_t first = 0; first < files.size(); first += kBatch) {
    for (size_t i = first; i < files.size() && i < first + kBatch; ++i) queryInfo(files[i].c_str(), me, 1, 0);
    finishQueryInfo(me, 2);
    for (;;) {
      MSG msg;
      if (GetMessageA(&msg, nullptr, 0, 0) <= 0) return zvbench::now() - t0;
      if (msg.message != msgInfoReady) {
        finishMsg(&msg);
        continue;
      }
      getMsgPrm(&msg, block.data());
      finishMsg(&msg);
      ZvQueryResult r;
      std::memcpy(&r, block.data(), sizeof(r));
      if (r.path[0] == 0) break;
      if (std::strcmp(r.description, "7. An Artist \"A Title\"") == 0) ++*described;
    }
  }
  return zvbench::now() - t0;
}

// What the scanner does for tags, done directly through zvid3.
int readTagsOnly(const std::vector<std::string>& files) {
  int ok = 0;
  for (const auto& f : files) {
    char title[256] = "", artist[256] = "", album[256] = "", year[256] = "", track[256] = "";
    ZvId3v2Tag tag = id3v2Create();
    if (id3v2Load(tag, f.c_str()) == ZV_ID3_OK) {
      for (int32_t i = 0, n = id3v2FrameCount(tag); i < n; ++i) {
        ZvId3v2Frame fr = id3v2GetFrame(tag, i);
        char id[8] = "";
        id3v2FrameType(fr, id, nullptr, nullptr);
        char* into = !std::strcmp(id, "tit2")   ? title
                     : !std::strcmp(id, "tpe1") ? artist
                     : !std::strcmp(id, "talb") ? album
                     : !std::strcmp(id, "tyer") ? year
                     : !std::strcmp(id, "trck") ? track
                                                : nullptr;
        if (into) id3v2GetStringField(fr, "content", into, 256);
      }
    }
    id3v2Free(tag);
    char out[ZV_DESC_SIZE];
    formatDesc("@[%a%t][@[%n][%n. ]%a \"%t\"]", f.c_str(), title, artist, album, year, atoi(track), out);
    if (out[0]) ++ok;
  }
  return ok;
}

// Seconds per file of a cold and a warm scan of `folders` x 20 files.
std::pair<double, double> scanPerFile(const std::string& root, int folders) {
  std::vector<std::string> files = makeFiles(root, folders, 20, 4096);
  int described = 0;
  double cold = scanAll(files, &described) / double(files.size());
  if (described != int(files.size())) zvbench::report("  MISSING DESCRIPTIONS (scale, cold)", described, "files");
  double warm = scanAll(files, &described) / double(files.size());
  if (described != int(files.size())) zvbench::report("  MISSING DESCRIPTIONS (scale, warm)", described, "files");
  removeTree(root);
  return {cold, warm};
}

void scaleFigures(const std::string& root) {
  auto [smallCold, smallWarm] = scanPerFile(root, 100);
  auto [bigCold, bigWarm] = scanPerFile(root, 1000);
  zvbench::report("scanner cold, 20000 files in 1000 folders", 1 / bigCold, "files/s");
  zvbench::report("scanner warm, 20000 files in 1000 folders", 1 / bigWarm, "files/s");
  zvbench::report("scanner cold, per file 20000 / 2000 files", bigCold / smallCold, "x");
  zvbench::report("scanner warm, per file 20000 / 2000 files", bigWarm / smallWarm, "x");
}

}  // namespace

int main() {
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  std::string root = zvbench::workDir() + "\\scanner";
  std::vector<std::string> files = makeFiles(root);
  double n = double(files.size());

  int described = 0;
  double cold = scanAll(files, &described);
  zvbench::report("scanner cold (tags read, records written)", n / cold, "files/s");
  if (described != int(files.size())) zvbench::report("  MISSING DESCRIPTIONS (cold)", n - described, "files");
  double warm = scanAll(files, &described);
  zvbench::report("scanner warm (cache records valid)", n / warm, "files/s");
  if (described != int(files.size())) zvbench::report("  MISSING DESCRIPTIONS (warm)", n - described, "files");

  double tagsOnly = 1e9;
  for (int round = 0; round < 2; ++round) {
    double t0 = zvbench::now();
    readTagsOnly(files);
    tagsOnly = std::min(tagsOnly, zvbench::now() - t0);
  }
  zvbench::report("zvid3 tag reading alone, same files", n / tagsOnly, "files/s");
  zvbench::report("scanner cold / tag reading alone", tagsOnly / cold, "x");
  zvbench::report("scanner warm / tag reading alone", tagsOnly / warm, "x");

  const std::string& one = files[3];
  char out[ZV_DESC_SIZE];
  desc(one.c_str(), out);
  double perDesc = zvbench::secondsPerItem([&](int64_t k) {
    for (int64_t i = 0; i < k; ++i) desc(one.c_str(), out);
  });
  zvbench::report("warm desc call", perDesc * 1e6, "us");
  double perCached = zvbench::secondsPerItem([&](int64_t k) {
    for (int64_t i = 0; i < k; ++i) cachedDesc(one.c_str(), out);
  });
  zvbench::report("cachedDesc call", perCached * 1e6, "us");
  removeTree(root);
  scaleFigures(root + "-scale");
  return 0;
}
