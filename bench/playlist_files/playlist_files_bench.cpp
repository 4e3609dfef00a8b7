// Playlist files at library scale against plain file I/O, measured side by
// side in one run: 100 000 empty files named like a music library in 1 000
// folders, an M3U naming them (loaded with the files present and with their
// folders gone), saving it, sorting it by file name, a binary playlist
// round trip, and listing a tree of 20 000 files in 500 folders against a
// bare FindFirstFile walk.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "benchkit.h"
#include "win32/owners.h"
#include "zv_config.h"
#include "zv_playlist.h"
#include "zv_plugins.h"
#include "zvid3.h"

namespace {

constexpr int kArtists = 100;
constexpr int kAlbumsPerArtist = 10;
constexpr int kTracksPerAlbum = 100;
constexpr int kLibraryFiles = kArtists * kAlbumsPerArtist * kTracksPerAlbum;
constexpr int kTreeFolders = 500;
constexpr int kTreeFilesPerFolder = 40;

std::string readAll(const std::string& path) {
  zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return {};
  std::string out(GetFileSize(f.get(), nullptr), '\0');
  DWORD got = 0;
  ReadFile(f.get(), out.data(), DWORD(out.size()), &got, nullptr);
  out.resize(got);
  return out;
}

void writeAll(const std::string& path, const std::string& bytes) {
  zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD put = 0;
  WriteFile(f.get(), bytes.data(), DWORD(bytes.size()), &put, nullptr);
  FlushFileBuffers(f.get());
}

void touch(const std::string& path) {
  zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

// Best of up to three runs; a run longer than a few seconds is not repeated.
double timed(const std::function<void()>& body) {
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    double t0 = zvbench::now();
    body();
    double t = zvbench::now() - t0;
    best = std::min(best, t);
    if (t > 3) break;
  }
  return best;
}

// The library's folder and file names, relative to its root: mixed case,
// blanks, dashes and parentheses as tagging tools write them.
std::string artistFolder(int a) { return "Artist Name " + std::to_string(100 + a); }
std::string albumFolder(int a, int b) {
  return "Album Title " + std::to_string(b) + " (" + std::to_string(1970 + (a + b) % 50) + ")";
}
std::string trackFile(int a, int b, int t) {
  return (t < 9 ? "0" : "") + std::to_string(t + 1) + " - Song Title " + std::to_string(a * 31 + b * 7 + t) +
         ".mp3";
}

// Every library file relative to the root, folder by folder.
std::vector<std::string> libraryNames() {
  std::vector<std::string> names;
  names.reserve(kLibraryFiles);
  for (int a = 0; a < kArtists; ++a)
    for (int b = 0; b < kAlbumsPerArtist; ++b)
      for (int t = 0; t < kTracksPerAlbum; ++t)
        names.push_back(artistFolder(a) + "\\" + albumFolder(a, b) + "\\" + trackFile(a, b, t));
  return names;
}

// Made once per build folder; the marker is written last.
void makeLibrary(const std::string& root) {
  std::string marker = root + "\\complete";
  if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  CreateDirectoryA(root.c_str(), nullptr);
  for (int a = 0; a < kArtists; ++a) {
    std::string artist = root + "\\" + artistFolder(a);
    CreateDirectoryA(artist.c_str(), nullptr);
    for (int b = 0; b < kAlbumsPerArtist; ++b) {
      std::string album = artist + "\\" + albumFolder(a, b);
      CreateDirectoryA(album.c_str(), nullptr);
      for (int t = 0; t < kTracksPerAlbum; ++t) touch(album + "\\" + trackFile(a, b, t));
    }
  }
  writeAll(marker, "x");
}

// An M3U beside the library naming every file under `rootName`.
std::string m3uText(const std::vector<std::string>& names, const std::string& rootName) {
  std::string text;
  for (const std::string& n : names) text += rootName + "\\" + n + "\r\n";
  return text;
}

// What any loader must do: read the file, split its lines and list each
// distinct folder once.
int64_t baselineLoad(const std::string& m3u) {
  std::string bytes = readAll(m3u);
  std::string base = m3u.substr(0, m3u.rfind('\\') + 1);
  std::unordered_set<std::string_view> folders;
  int64_t seen = 0;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    std::string_view line(bytes.data() + start, end - start);
    start = end + 1;
    size_t sep = line.rfind('\\');
    if (line.empty() || sep == std::string_view::npos || !folders.insert(line.substr(0, sep)).second) continue;
    WIN32_FIND_DATAA found;
    std::string pattern = base + std::string(line.substr(0, sep)) + "\\*";
    zv::UniqueFind find(
        FindFirstFileExA(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!find) continue;
    do ++seen;
    while (FindNextFileA(find.get(), &found));
  }
  return seen;
}

int missingLines(Playlist pl) {
  int missing = 0;
  for (int i = 0; i < plGetCount(pl); ++i) missing += (plGetRec(pl, i)->flags & lfMissing) ? 1 : 0;
  return missing;
}

// Loads `m3u` through the engine and the baseline; prints both and the ratio.
void loadFigures(const std::string& m3u, const std::string& label, int expectMissing) {
  Playlist pl = createPlaylist(-1);
  double load = timed([&] { plLoad(pl, m3u.c_str(), 0); });
  int64_t listed = 0;
  double base = timed([&] { listed = baselineLoad(m3u); });
  if (plGetCount(pl) != kLibraryFiles || missingLines(pl) != expectMissing)
    zvbench::report(label + " LINES OR FLAGS WRONG", missingLines(pl), "missing");
  zvbench::report(label + " plLoad", load * 1000, "ms");
  zvbench::report(label + " baseline (read, split, list folders)", base * 1000, "ms");
  zvbench::report(label + " plLoad / baseline", load / base, "x");
  freePlaylist(pl);
}

void saveFigures(Playlist pl, const std::string& path) {
  double save = timed([&] { plSave(pl, path.c_str(), plSaveNoNotify); });
  std::string bytes = readAll(path);
  double plain = timed([&] { writeAll(path + ".plain", bytes); });
  zvbench::report("M3U 100000 lines plSave", save * 1000, "ms");
  zvbench::report("M3U 100000 lines WriteFile of the same bytes", plain * 1000, "ms");
  zvbench::report("M3U 100000 lines plSave / WriteFile", save / plain, "x");
}

void sortFigures(Playlist pl) {
  int n = plGetCount(pl);
  std::vector<int32_t> index(static_cast<size_t>(n), 0);
  double sort = timed([&] {
    std::iota(index.begin(), index.end(), 0);
    plSortIndex(pl, plSortFileName, index.data(), -1);
  });
  // The least any sort by these texts must do: a key made once per line by
  // the locale, then plain byte comparisons.
  std::vector<std::string> keys(static_cast<size_t>(n));
  std::vector<int32_t> plainIndex(static_cast<size_t>(n), 0);
  double plain = timed([&] {
    for (int i = 0; i < n; ++i) {
      std::string_view name = plGetName(pl, i);
      std::string text = std::string(name.substr(name.rfind('\\') + 1)) + " " + plGetDesc(pl, i);
      int size = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.data(), int(text.size()), nullptr, 0);
      keys[size_t(i)].resize(size_t(size));
      LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.data(), int(text.size()), keys[size_t(i)].data(), size);
    }
    std::iota(plainIndex.begin(), plainIndex.end(), 0);
    std::sort(plainIndex.begin(), plainIndex.end(), [&](int32_t a, int32_t b) {
      const std::string& ka = keys[size_t(a)];
      const std::string& kb = keys[size_t(b)];
      int c = std::memcmp(ka.data(), kb.data(), std::min(ka.size(), kb.size()));
      return c < 0 || (c == 0 && ka.size() < kb.size());
    });
  });
  zvbench::report("plSortIndex by file name, 100000 lines", sort * 1000, "ms");
  zvbench::report("std::sort, memcmp over LCMAP_SORTKEY keys", plain * 1000, "ms");
  zvbench::report("plSortIndex / std::sort on sort keys", sort / plain, "x");
}

void binaryFigures(Playlist pl, const std::string& path) {
  double save = timed([&] { plSave(pl, path.c_str(), plSaveBinary); });
  std::string bytes = readAll(path);
  double plainWrite = timed([&] { writeAll(path + ".plain", bytes); });
  Playlist back = createPlaylist(-1);
  double load = timed([&] { plLoad(back, path.c_str(), plLoadBinary); });
  double plainRead = timed([&] { readAll(path); });
  if (plGetCount(back) != plGetCount(pl)) zvbench::report("binary LINE COUNT MISMATCH", plGetCount(back), "lines");
  freePlaylist(back);
  zvbench::report("binary 100000 lines plSave / WriteFile", save / plainWrite, "x");
  zvbench::report("binary 100000 lines plLoad / ReadFile", load / plainRead, "x");
}

void makeTree(const std::string& root) {
  std::string marker = root + "\\complete";
  if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  CreateDirectoryA(root.c_str(), nullptr);
  for (int d = 0; d < kTreeFolders; ++d) {
    std::string folder = root + "\\album" + std::to_string(d);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int f = 0; f < kTreeFilesPerFolder; ++f)
      touch(folder + "\\" + std::to_string(f) + (f % 4 == 3 ? " cover.jpg" : " track.mp3"));
  }
  writeAll(marker, "x");
}

int64_t bareWalk(const std::string& dir) {
  int64_t files = 0;
  WIN32_FIND_DATAA fd;
  zv::UniqueFind h(FindFirstFileA((dir + "\\*.*").c_str(), &fd));
  if (!h) return 0;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      files += bareWalk(dir + "\\" + name);
    else
      ++files;
  } while (FindNextFileA(h.get(), &fd));
  return files;
}

void addFileFigures(const std::string& tree) {
  makeTree(tree);
  int64_t walked = 0;
  double walk = timed([&] { walked = bareWalk(tree); });
  Playlist added = createPlaylist(-1);
  double add = timed([&] {
    plClear(added);
    plAddFile(added, tree.c_str(), 0);
  });
  int64_t admitted = plGetCount(added) - 1 - kTreeFolders;
  zvbench::report("plAddFile of 500 folders, files admitted", double(admitted), "files");
  zvbench::report("plAddFile, 500 folders / 20000 files", add * 1000, "ms");
  zvbench::report("bare FindFirstFile walk", walk * 1000, "ms");
  zvbench::report("plAddFile / bare FindFirstFile walk", add / walk, "x");
  if (walked != kTreeFolders * kTreeFilesPerFolder + 1) zvbench::report("bare walk files seen", double(walked), "files");
  freePlaylist(added);
}

// 1 000 copies of one tagged file (ID3v2 and ID3v1), made once.
std::vector<std::string> taggedFiles(const std::string& root) {
  std::vector<std::string> files;
  for (int i = 0; i < 1000; ++i) files.push_back(root + "\\" + std::to_string(i) + " tagged.mp3");
  std::string marker = root + "\\complete";
  if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return files;
  CreateDirectoryA(root.c_str(), nullptr);
  std::string templ = root + "\\template.mp3";
  writeAll(templ, std::string(65536, '\x55'));
  ZvId3v2Tag tag = id3v2Create();
  const char* frames[][2] = {{"tit2", "A Title"}, {"tpe1", "An Artist"}, {"talb", "An Album"}, {"trck", "7"}};
  for (auto& fr : frames) id3v2SetStringField(id3v2AddFrame(tag, fr[0]), "content", fr[1]);
  id3v2Save(tag, templ.c_str(), 0, nullptr);
  id3v2Free(tag);
  ZvId3v1Tag v1;
  encodeTag(&v1, "A Title", "An Artist", "An Album", "2001", "", 7, ZV_ID3_GENRE_NONE);
  writeTag(templ.c_str(), &v1);
  for (const std::string& f : files) CopyFileA(templ.c_str(), f.c_str(), FALSE);
  writeAll(marker, "x");
  return files;
}

// Sorting 1 000 tagged files by artist, once through an index naming each
// line once and once through one naming each line twice: the same cost
// means no tag is read twice. Beside them, reading every tag once through
// zvid3.
void tagSortFigures(const std::string& root) {
  std::vector<std::string> files = taggedFiles(root);
  Playlist pl = createPlaylist(-1);
  for (const std::string& f : files) {
    PlaylistLine r = {};
    plAddLine(pl, &r, f.c_str(), "", nullptr);
  }
  size_t n = static_cast<size_t>(plGetCount(pl));
  auto sortBy = [&](size_t times) {
    std::vector<int32_t> index(n * times, 0);
    return timed([&] {
      for (size_t k = 0; k < index.size(); ++k) index[k] = int32_t(k % n);
      plSortIndex(pl, plSortArtist, index.data(), int32_t(index.size()));
    });
  };
  double once = sortBy(1), twice = sortBy(2);
  double reads = timed([&] {
    for (const std::string& f : files) {
      ZvId3v2Tag tag = id3v2Create();
      id3v2Load(tag, f.c_str());
      id3v2Free(tag);
    }
  });
  zvbench::report("plSortIndex by artist, 1000 tagged files", once * 1000, "ms");
  zvbench::report("the same, every line twice in the index", twice * 1000, "ms");
  zvbench::report("every line twice / once", twice / once, "x");
  zvbench::report("reading each tag once through zvid3", reads * 1000, "ms");
  freePlaylist(pl);
}

}  // namespace

int main() {
  setConfigMode("zvbench_playlist_files", 0);
  setConfigString("userExt", ".mp3");
  initPlugins();
  std::string dir = zvbench::workDir() + "\\playlist_files";
  CreateDirectoryA(dir.c_str(), nullptr);

  std::vector<std::string> names = libraryNames();
  makeLibrary(dir + "\\library");
  // The missing case: the same names under a root that is not there, as a
  // playlist from another machine or an unplugged drive gives them.
  std::string present = dir + "\\library.m3u", absent = dir + "\\offline.m3u";
  writeAll(present, m3uText(names, "library"));
  writeAll(absent, m3uText(names, "library-offline"));
  loadFigures(present, "M3U load, files present,", 0);
  loadFigures(absent, "M3U load, folders missing,", kLibraryFiles);

  Playlist pl = createPlaylist(-1);
  plLoad(pl, present.c_str(), 0);
  saveFigures(pl, dir + "\\saved.m3u");
  for (int i = 0; i < plGetCount(pl); ++i)
    plSetDesc(pl, i, ("Artist Name " + std::to_string(i * 7919 % kArtists) + " - Song " + std::to_string(i)).c_str());
  sortFigures(pl);
  binaryFigures(pl, dir + "\\big.zpl");
  freePlaylist(pl);

  addFileFigures(dir + "\\tree");
  tagSortFigures(dir + "\\tagged");
  return 0;
}
