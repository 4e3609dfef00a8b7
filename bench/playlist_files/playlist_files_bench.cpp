// Playlist files against plain file I/O, measured side by side in one run:
// loading and saving 100 000 lines as a binary playlist and as M3U, listing
// a tree of 20 000 files in 500 folders against a bare FindFirstFile walk,
// and sorting 100 000 lines by name.
#include <windows.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "benchkit.h"
#include "zv_config.h"
#include "zv_playlist.h"
#include "zv_plugins.h"

namespace {

constexpr int kLines = 100000;
constexpr int kFolders = 500;
constexpr int kFilesPerFolder = 40;

std::string readAll(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  std::string out(GetFileSize(f, nullptr), '\0');
  DWORD got = 0;
  ReadFile(f, out.data(), DWORD(out.size()), &got, nullptr);
  CloseHandle(f);
  return out;
}

void writeAll(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  WriteFile(f, bytes.data(), DWORD(bytes.size()), &put, nullptr);
  FlushFileBuffers(f);
  CloseHandle(f);
}

double timed(const std::function<void()>& body) {
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    double t0 = zvbench::now();
    body();
    best = std::min(best, zvbench::now() - t0);
  }
  return best;
}

void fileRoundTrip(Playlist pl, const std::string& path, uint32_t saveFlags, uint32_t loadFlags,
                   const std::string& label) {
  double save = timed([&] { plSave(pl, path.c_str(), saveFlags); });
  std::string bytes = readAll(path);
  double plainWrite = timed([&] { writeAll(path + ".plain", bytes); });
  Playlist back = createPlaylist(-1);
  double load = timed([&] { plLoad(back, path.c_str(), loadFlags); });
  double plainRead = timed([&] { readAll(path); });
  if (plGetCount(back) != plGetCount(pl)) zvbench::report(label + " LINE COUNT MISMATCH", plGetCount(back), "lines");
  freePlaylist(back);
  zvbench::report(label + " plSave", save * 1000, "ms");
  zvbench::report(label + " plSave / WriteFile of the same bytes", save / plainWrite, "x");
  zvbench::report(label + " plLoad", load * 1000, "ms");
  zvbench::report(label + " plLoad / ReadFile of the same bytes", load / plainRead, "x");
  zvbench::report(label + " file size", double(bytes.size()) / 1024, "KB");
}

void makeTree(const std::string& root) {
  std::string marker = root + "\\complete";
  if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  CreateDirectoryA(root.c_str(), nullptr);
  for (int d = 0; d < kFolders; ++d) {
    std::string folder = root + "\\album" + std::to_string(d);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::string name = folder + "\\" + std::to_string(f) + (f % 4 == 3 ? " cover.jpg" : " track.mp3");
      HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      CloseHandle(h);
    }
  }
  writeAll(marker, "x");
}

int64_t bareWalk(const std::string& dir) {
  int64_t files = 0;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((dir + "\\*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      files += bareWalk(dir + "\\" + name);
    else
      ++files;
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return files;
}

}  // namespace

int main() {
  setConfigMode("zvbench_playlist_files", 0);
  setConfigString("userExt", ".mp3");
  initPlugins();
  std::string dir = zvbench::workDir() + "\\playlist_files";
  CreateDirectoryA(dir.c_str(), nullptr);

  Playlist pl = createPlaylist(-1);
  for (int i = 0; i < kLines; ++i) {
    std::string name = dir + "\\music\\artist " + std::to_string(i % 300) + "\\" + std::to_string(i) + " title.mp3";
    PlaylistLine r = {};
    r.time = i;
    plAddLine(pl, &r, name.c_str(), ("Artist - Title " + std::to_string(i * 7919 % kLines)).c_str(), nullptr);
  }
  fileRoundTrip(pl, dir + "\\big.zpl", plSaveBinary, plLoadBinary, "binary 100000 lines");
  fileRoundTrip(pl, dir + "\\big.m3u", plSaveNoNotify, 0, "M3U 100000 lines");

  std::vector<int32_t> index(kLines);
  double sort = timed([&] {
    std::iota(index.begin(), index.end(), 0);
    plSortIndex(pl, plSortFileName, index.data(), -1);
  });
  // The same comparisons on prepared keys: the cost of the keys and the
  // engine's sort around them.
  std::vector<std::wstring> keys;
  for (int i = 0; i < kLines; ++i) {
    std::string k = std::string(plGetName(pl, i));
    k = k.substr(k.rfind('\\') + 1) + " " + plGetDesc(pl, i);
    CharLowerBuffA(k.data(), DWORD(k.size()));
    keys.emplace_back(k.begin(), k.end());
  }
  double plain = timed([&] {
    std::iota(index.begin(), index.end(), 0);
    std::sort(index.begin(), index.end(), [&](int32_t a, int32_t b) {
      return CompareStringW(LOCALE_USER_DEFAULT, 0, keys[a].data(), int(keys[a].size()), keys[b].data(),
                            int(keys[b].size())) == CSTR_LESS_THAN;
    });
  });
  zvbench::report("plSortIndex by file name, 100000 lines", sort * 1000, "ms");
  zvbench::report("plSortIndex / std::sort on prepared keys", sort / plain, "x");
  freePlaylist(pl);

  std::string tree = dir + "\\tree";
  makeTree(tree);
  int64_t walked = 0;
  double walk = timed([&] { walked = bareWalk(tree); });
  Playlist added = createPlaylist(-1);
  double add = timed([&] {
    plClear(added);
    plAddFile(added, tree.c_str(), 0);
  });
  int64_t admitted = plGetCount(added) - 1 - kFolders;
  zvbench::report("plAddFile of 500 folders, files admitted", double(admitted), "files");
  zvbench::report("plAddFile files per second (all 20000 looked at)", 20000 / add, "files/s");
  zvbench::report("plAddFile / bare FindFirstFile walk", add / walk, "x");
  zvbench::report("bare walk files seen", double(walked), "files");
  freePlaylist(added);
  return 0;
}
