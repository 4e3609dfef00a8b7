// The time of one add of playlists that list the next twice, d deep (2^d
// visits if followed in full), and of a real nested collection (three levels
// of playlists, 2 000 files). Each depth prints as soon as it ends, so a
// build without the bound on one add still gives its small depths.
#include <windows.h>

#include <cstdio>
#include <string>

#include "benchkit.h"
#include "win32/owners.h"
#include "zv_playlist.h"

namespace {

void writeText(const std::string& path, const std::string& text) {
  zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (f) WriteFile(f.get(), text.data(), DWORD(text.size()), &written, nullptr);
}

std::string folder(const std::string& name) {
  const std::string dir = zvbench::workDir() + "\\" + name;
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

// chain0.m3u .. chain<depth>.m3u; the last lists a.mp3.
std::string writeChain(int depth) {
  const std::string dir = folder("chain" + std::to_string(depth));
  for (int level = 0; level < depth; ++level) {
    const std::string next = "chain" + std::to_string(level + 1) + ".m3u\r\n";
    writeText(dir + "\\chain" + std::to_string(level) + ".m3u", next + next);
  }
  writeText(dir + "\\chain" + std::to_string(depth) + ".m3u", "a.mp3\r\n");
  return dir + "\\chain0.m3u";
}

// top.m3u lists 10 playlists, each 10 more, each of those 20 files.
std::string writeCollection() {
  const std::string dir = folder("collection");
  std::string top;
  for (int i = 0; i < 10; ++i) {
    std::string mid;
    for (int j = 0; j < 10; ++j) {
      std::string low;
      for (int k = 0; k < 20; ++k) low += "f" + std::to_string(i * 200 + j * 20 + k) + ".mp3\r\n";
      const std::string lowName = "low" + std::to_string(i * 10 + j) + ".m3u";
      writeText(dir + "\\" + lowName, low);
      mid += lowName + "\r\n";
    }
    const std::string midName = "mid" + std::to_string(i) + ".m3u";
    writeText(dir + "\\" + midName, mid);
    top += midName + "\r\n";
  }
  writeText(dir + "\\top.m3u", top);
  return dir + "\\top.m3u";
}

void timeAdd(const std::string& what, const std::string& path) {
  Playlist pl = createPlaylist(-1);
  const double t0 = zvbench::now();
  plAddFile(pl, path.c_str(), 0);
  const double seconds = zvbench::now() - t0;
  zvbench::report(what + " (" + std::to_string(plGetCount(pl)) + " lines)", seconds * 1000, "ms");
  std::fflush(stdout);
  freePlaylist(pl);
}

}  // namespace

int main() {
  timeAdd("plAddFile of 3 levels of playlists, 2000 files", writeCollection());
  for (int depth : {10, 12, 14, 16, 30})
    timeAdd("plAddFile of playlists listing the next twice, " + std::to_string(depth) + " deep", writeChain(depth));
  return 0;
}
